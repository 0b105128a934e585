import QtQuick
import Quorva.Bridge
import QtQuick.Controls
import QtQuick.Layouts

// What leaves this computer and what does not.
BridgeCard {
    id: card

    readonly property string heading: qsTr("Private by design")

    objectName: "privacyCard"
    // A stop for the keyboard: tabbing from the last control brings the note on screen, and a
    // screen reader reads it there.
    activeFocusOnTab: true
    Accessible.role: Accessible.Grouping
    Accessible.name: heading
    Accessible.description: DesktopWords.privacyNote
    Accessible.focusable: true
    focusMarkShown: activeFocus

    SymbolLabel {
        symbol: "hand.raised.fill"
        text: card.heading
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
