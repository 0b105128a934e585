import QtQuick
import Quorva.Bridge
import QtQuick.Controls

// Asked before disconnecting, which cannot be undone without a new code. Cancel is the default,
// so a stray Return keeps the pairing.
BridgeDialog {
    id: confirmation

    required property BridgeAppState appState

    objectName: "disconnectConfirmation"
    title: DesktopWords.disconnectQuestion
    message: qsTr("Bridge stops checking backups and forgets this pairing. To use it again, pair with a new code from Quorva Family.")
    standardButtons: Dialog.Cancel | Dialog.Ok
    defaultButton: Dialog.Cancel

    Component.onCompleted: {
        const disconnect = standardButton(Dialog.Ok)
        disconnect.objectName = "disconnectConfirmationButton"
        disconnect.text = qsTr("Disconnect")
        disconnect.prominent = false
        standardButton(Dialog.Cancel).text = qsTr("Cancel")
    }

    onAccepted: appState.requestDisconnect()
}
