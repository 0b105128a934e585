import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// Shown until the Mac is paired: the pairing code field and its button.
BridgeCard {
    id: card

    required property var appState

    objectName: "pairingCard"

    Text {
        objectName: "pairingTitle"
        text: "1. Pair this Mac"
        font: Theme.font(Theme.title2, Font.Black)
        color: Theme.primary
    }

    Text {
        text: "In Quorva Family, open Family and choose Set up iPhone Bridge. Enter the code here. The code expires after 15 minutes."
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
            placeholderText: "PAIRING CODE"
            text: card.appState.pairingCode
            font: Theme.monospaceFont(Theme.title2, Font.Bold)
            inputMethodHints: Qt.ImhNoPredictiveText | Qt.ImhPreferUppercase
            Layout.fillWidth: true
            onTextEdited: card.appState.pairingCode = text
            onAccepted: card.appState.requestPair()
        }

        Button {
            objectName: "pairButton"
            text: "Pair Mac"
            highlighted: true
            font: Theme.font(Theme.headline)
            implicitHeight: Math.max(implicitContentHeight + topPadding + bottomPadding, codeField.implicitHeight)
            onClicked: card.appState.requestPair()
        }
    }
}
