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

    // A Text, not a Label: Qt 6.4's Label overrides the role it is given.
    Text {
        objectName: "setupTitle"
        text: card.appState.setupComplete ? qsTr("Your family's iPhones") : qsTr("Finish setup")
        font: Theme.font(Theme.title2, Font.Black)
        color: Theme.primary
        Accessible.role: Accessible.Heading
        Accessible.name: text
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

        // Rows are made as they come into sight, so a family of thousands stays quick: a short
        // family shows whole, a long one scrolls within the card.
        ListView {
            id: childRows
            objectName: "childRows"
            model: card.appState.children
            spacing: 14
            // Room for the focus marks, which lie outside the controls and the list clips.
            readonly property int markRoom: 6
            topMargin: markRoom
            bottomMargin: markRoom
            leftMargin: markRoom
            rightMargin: markRoom
            implicitHeight: Math.min(contentHeight + 2 * markRoom, 520)
            interactive: contentHeight + 2 * markRoom > height
            boundsBehavior: Flickable.StopAtBounds
            clip: true
            Layout.fillWidth: true
            Layout.leftMargin: -markRoom
            Layout.rightMargin: -markRoom
            ScrollBar.vertical: ScrollBar {
                policy: childRows.interactive ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
                Accessible.ignored: !childRows.interactive
                Accessible.name: qsTr("Scroll the children")
            }
            // A list filled after it was made starts scrolled past its top margin; a family that
            // fits stays put.
            Binding on contentY {
                when: !childRows.interactive
                value: -childRows.topMargin
            }
            delegate: ChildRow {
                id: row
                appState: card.appState
                width: ListView.view.width - 2 * childRows.markRoom - (childRows.interactive ? 16 : 0)
                // A row made as it scrolls into sight would join the tab order at its end, so
                // Shift+Tab would jump out of the list: it takes its place by index instead.
                onParentChanged: {
                    if (parent !== childRows.contentItem)
                        return
                    let next = null
                    const others = parent.children
                    for (let i = 0; i < others.length; ++i) {
                        const other = others[i]
                        if (other !== row && other.index > row.index && (!next || other.index < next.index))
                            next = other
                    }
                    if (next)
                        TabOrder.placeBefore(row, next)
                }
            }

            // A row the keyboard reaches comes into sight within the list first, with the rows
            // before and after it, so that Tab and Shift+Tab find them made; the window then
            // brings the list's part on screen.
            Connections {
                target: card.Window.window
                function onActiveFocusItemChanged() {
                    const focused = card.Window.activeFocusItem
                    for (let above = focused; above; above = above.parent) {
                        if (above === childRows.contentItem) {
                            const at = focused.mapToItem(childRows.contentItem, 0, 0)
                            const index = childRows.indexAt(at.x, at.y)
                            childRows.positionViewAtIndex(Math.min(index + 1, childRows.count - 1), ListView.Contain)
                            childRows.positionViewAtIndex(Math.max(index - 1, 0), ListView.Contain)
                            childRows.positionViewAtIndex(index, ListView.Contain)
                            return
                        }
                    }
                }
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
