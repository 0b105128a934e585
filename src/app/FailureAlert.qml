import QtQuick
import Quorva.Bridge
import QtQuick.Controls

// Presented exactly while the phase is failed, with the failure's own text. Dismissing it
// (OK or Escape) reloads the children when paired, which derives the phase anew.
Dialog {
    id: alert

    required property BridgeAppState appState
    readonly property bool failed: appState.phase === BridgeAppState.Failed
    // Set while the phase itself withdraws the alert, so that is not taken for a dismissal.
    property bool withdrawing: false

    objectName: "failureAlert"
    title: "Quorva Bridge needs attention"
    modal: true
    standardButtons: Dialog.Ok
    anchors.centerIn: Overlay.overlay
    width: Math.min(420, (parent ? parent.width : 420) - 60)
    padding: 20
    topPadding: 8

    background: Rectangle {
        radius: 14
        color: "white"
        border.color: Qt.rgba(0, 0, 0, 0.12)
    }

    header: Text {
        objectName: "failureAlertTitle"
        text: alert.title
        textFormat: Text.PlainText
        font: Theme.font(Theme.headline)
        color: Theme.primary
        padding: 20
        bottomPadding: 0
        wrapMode: Text.Wrap
    }

    onFailedChanged: follow()
    Component.onCompleted: follow()

    function follow() {
        if (failed) {
            open()
        } else if (visible) {
            withdrawing = true
            close()
            withdrawing = false
        }
    }

    onClosed: {
        if (!withdrawing && appState.hasToken)
            appState.requestLoadChildren()
    }

    footer: DialogButtonBox {
        objectName: "failureAlertButtons"
        padding: 16
        background: Item {}
        delegate: BridgeButton {
            prominent: true
        }
    }

    Label {
        objectName: "failureAlertText"
        width: alert.availableWidth
        text: alert.appState.failureText
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        font: Theme.font(Theme.body)
        color: Theme.primary
    }
}
