import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// What leaves the Mac and what does not.
BridgeCard {
    objectName: "privacyCard"

    SymbolLabel {
        symbol: "hand.raised.fill"
        text: "Private by design"
        font: Theme.font(Theme.title3, Font.Bold)
        color: Theme.brandGreen
        Layout.fillWidth: true
    }

    Label {
        text: "The backup stays on this Mac. Bridge checks incoming text locally and sends only messages that match focused safety patterns for Quorva review. Parents receive safety moments and Talk Pathway guidance, never a browsable message archive."
        font: Theme.font(Theme.body)
        color: Theme.secondary
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }

    Label {
        text: "The first release supports standard unencrypted Finder backups. Backup passwords are never requested or uploaded."
        font: Theme.font(Theme.callout, Font.DemiBold)
        color: Theme.primary
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }
}
