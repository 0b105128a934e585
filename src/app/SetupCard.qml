pragma ComponentBehavior: Bound

import QtQuick
import Quorva.Bridge
import QtQuick.Controls
import QtQuick.Layouts

// Shown once paired: the family's backup folder, each child with its iPhone, the iPhones nobody
// is assigned, the scan button and launch at login.
BridgeCard {
    id: card

    required property BridgeAppState appState
    property string chooserMessage
    readonly property bool hasFolder: appState.backupFolder !== ""

    objectName: "setupCard"
    // Right after pairing, the keyboard starts where set-up does: at the folder, then the children.
    // With its ring, as if tabbed to: a parent who paired by keyboard must see where they are.
    Component.onCompleted: {
        if (!appState.setupComplete)
            chooseButton.forceActiveFocus(Qt.TabFocusReason)
    }

    Label {
        objectName: "setupTitle"
        text: card.appState.setupComplete ? qsTr("Your family's iPhones") : qsTr("Finish setup")
        font: Theme.font(Theme.title2, Font.Black)
        color: Theme.primary
        Accessible.role: Accessible.Heading
    }

    ColumnLayout {
        spacing: 8
        Layout.fillWidth: true

        SymbolLabel {
            symbol: "externaldrive.fill"
            text: DesktopWords.backupFolderHeading
            font: Theme.font(Theme.headline)
            Layout.fillWidth: true
        }

        RowLayout {
            spacing: 12
            Layout.fillWidth: true

            Label {
                objectName: "backupFolderText"
                text: card.hasFolder ? card.appState.backupFolder : qsTr("No folder chosen yet")
                textFormat: Text.PlainText
                font: Theme.font(Theme.body)
                color: card.hasFolder ? Theme.primary : Theme.secondary
                elide: Text.ElideMiddle
                Layout.fillWidth: true
            }
            BridgeButton {
                id: chooseButton
                objectName: "chooseBackupButton"
                text: qsTr("Choose folder…")
                Accessible.description: card.chooserMessage
                onClicked: card.appState.requestChooseBackupFolder()
            }
        }

        // Without it, an iPhone plugged in is never backed up: the parent should know why.
        Label {
            objectName: "deviceServiceText"
            visible: text !== ""
            Accessible.ignored: !visible
            text: card.appState.deviceServiceNote
            textFormat: Text.PlainText
            font: Theme.font(Theme.caption)
            color: Theme.secondary
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }

        // Where such a backup comes from, on a desktop without Finder.
        Label {
            objectName: "backupHintText"
            visible: text !== "" && !card.hasFolder
            Accessible.ignored: !visible
            text: DesktopWords.backupHint
            textFormat: Text.PlainText
            font: Theme.font(Theme.caption)
            color: Theme.secondary
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }
        Label {
            objectName: "chooserMessageText"
            visible: !card.hasFolder
            Accessible.ignored: !visible
            text: card.chooserMessage
            textFormat: Text.PlainText
            font: Theme.font(Theme.caption)
            color: Theme.secondary
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }
    }

    Rectangle {
        implicitHeight: 1
        color: Theme.separator
        Layout.fillWidth: true
        Layout.topMargin: 4
        Layout.bottomMargin: 4
    }

    ColumnLayout {
        objectName: "familyRows"
        spacing: 14
        Layout.fillWidth: true

        SymbolLabel {
            symbol: "person.crop.circle"
            text: qsTr("Whose iPhone is each backup?")
            font: Theme.font(Theme.headline)
            Layout.fillWidth: true
        }
        // Profiles are made in the family app only; the parent comes back here once they are.
        RowLayout {
            visible: card.appState.children.count === 0
            spacing: 12
            Layout.fillWidth: true

            Label {
                objectName: "noChildrenText"
                Accessible.ignored: !parent.visible
                text: qsTr("No child profiles yet. In Quorva Family, open Family and add a profile for each child, then choose Look again.")
                textFormat: Text.PlainText
                font: Theme.font(Theme.body)
                color: Theme.secondary
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
            BridgeButton {
                objectName: "reloadChildrenButton"
                Accessible.ignored: !parent.visible
                text: qsTr("Look again")
                onClicked: card.appState.requestLoadChildren()
            }
        }

        Repeater {
            model: card.appState.children
            ChildRow {
                appState: card.appState
                Layout.fillWidth: true
            }
        }

        UnassignedIPhones {
            appState: card.appState
            Layout.fillWidth: true
        }
    }

    BridgeButton {
        objectName: "scanButton"
        text: qsTr("Scan now")
        icon.name: Symbols.themeName("magnifyingglass")
        icon.source: Symbols.bundledSource("magnifyingglass")
        prominent: true
        large: true
        enabled: card.appState.canScan
        Layout.fillWidth: true
        Layout.minimumHeight: 34
        onClicked: card.appState.requestScanNow()
    }

    LaunchAtLogin {
        appState: card.appState
    }
}
