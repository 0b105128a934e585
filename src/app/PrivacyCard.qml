import QtQuick
import Quorva.Bridge
import QtQuick.Controls
import QtQuick.Layouts

// What leaves this computer and what does not.
BridgeCard {
    objectName: "privacyCard"

    SymbolLabel {
        symbol: "hand.raised.fill"
        text: qsTr("Private by design")
        font: Theme.font(Theme.title3, Font.Bold)
        color: Theme.brandGreen
        Layout.fillWidth: true
    }

    Label {
        text: DesktopWords.privacyNote
        font: Theme.font(Theme.body)
        color: Theme.secondary
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }

    Label {
        text: DesktopWords.firstReleaseNote
        font: Theme.font(Theme.callout, Font.DemiBold)
        color: Theme.primary
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }
}
