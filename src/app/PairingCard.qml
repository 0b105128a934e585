import QtQuick
import Quorva.Bridge
import QtQuick.Controls
import QtQuick.Layouts

// Shown until this computer is paired: the pairing code field and its button.
BridgeCard {
    id: card

    required property BridgeAppState appState

    objectName: "pairingCard"
    // The code is the first thing to type, on first start and after disconnecting.
    Component.onCompleted: codeField.forceActiveFocus()

    Label {
        objectName: "pairingTitle"
        text: DesktopWords.pairHeading
        font: Theme.font(Theme.title2, Font.Black)
        color: Theme.primary
    }

    Label {
        text: qsTr("In Quorva Family, open Family and choose Set up iPhone Bridge. Enter the code here. The code expires after 15 minutes.")
        font: Theme.font(Theme.body)
        color: Theme.secondary
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }

    RowLayout {
        Layout.fillWidth: true

        TextField {
            id: codeField
            objectName: "pairingCodeField"
            placeholderText: qsTr("PAIRING CODE")
            Accessible.name: qsTr("Pairing code")
            placeholderTextColor: Theme.secondary
            text: card.appState.pairingCode
            font: Theme.monospaceFont(Theme.title2, Font.Bold)
            inputMethodHints: Qt.ImhNoPredictiveText | Qt.ImhPreferUppercase
            leftPadding: 12
            topPadding: 8
            bottomPadding: 8
            background: Rectangle {
                radius: 8
                color: Theme.fieldFill
                border.width: codeField.activeFocus ? 2 : 1
                border.color: codeField.activeFocus ? Theme.focusRing : Theme.fieldBorder
            }
            Layout.fillWidth: true
            onTextEdited: card.appState.pairingCode = text
            onAccepted: card.appState.requestPair()
        }

        BridgeButton {
            objectName: "pairButton"
            text: DesktopWords.pairButton
            prominent: true
            large: true
            Layout.fillHeight: true
            onClicked: card.appState.requestPair()
        }
    }
}
