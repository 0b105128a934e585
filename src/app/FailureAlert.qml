import QtQuick
import Quorva.Bridge
import QtQuick.Controls

// Presented for every failure, also one that repeats the last, with the failure's own text,
// and withdrawn when the phase moves on. The parent's answer (OK or Escape) reloads the
// children when paired, which derives the phase anew; a withdrawal is no answer.
BridgeDialog {
    id: alert

    required property BridgeAppState appState

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
        function onFailureRaised() { alert.present() }
        function onPhaseChanged() {
            if (alert.appState.phase !== BridgeAppState.Failed)
                alert.close()
        }
    }

    onAccepted: answered()
    onRejected: answered()

    function answered() {
        if (appState.hasToken)
            appState.requestLoadChildren()
    }
}
