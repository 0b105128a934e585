import QtQuick
import Quorva.Bridge
import QtQuick.Controls

// Presented for every failure, also one that repeats the last, with the failure's own text,
// and withdrawn when the phase moves on. The parent's answer (OK or Escape) reloads the
// children when paired, which derives the phase anew; a withdrawal is no answer. A failure the
// parent answered is not presented again until something succeeds: offline, the reload fails
// as the failure did, and the status card keeps it with its own "Try again".
BridgeDialog {
    id: alert

    required property BridgeAppState appState

    // The text of the failure the parent answered, while it lasts.
    property string answeredFailure

    objectName: "failureAlert"
    title: qsTr("Quorva Bridge needs attention")
    standardButtons: Dialog.Ok

    function present() {
        // Kept while a withdrawn alert fades out, when the phase no longer carries a text.
        message = appState.failureText
        open()
    }

    Component.onCompleted: {
        standardButton(Dialog.Ok).text = qsTr("OK")
        if (appState.phase === BridgeAppState.Failed)
            present()
    }

    Connections {
        target: alert.appState
        function onFailureRaised() {
            if (alert.appState.failureText !== alert.answeredFailure)
                alert.present()
        }
        function onPhaseChanged() {
            const phase = alert.appState.phase
            if (phase !== BridgeAppState.Failed)
                alert.close()
            // A new attempt is no answer yet; only an outcome other than failure ends it.
            if (phase === BridgeAppState.Ready || phase === BridgeAppState.NeedsSetup
                    || phase === BridgeAppState.NeedsPairing)
                alert.answeredFailure = ""
        }
    }

    onAccepted: answered()
    onRejected: answered()

    function answered() {
        answeredFailure = message
        if (appState.hasToken)
            appState.requestLoadChildren()
    }
}
