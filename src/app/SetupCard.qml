import QtQuick
import Quorva.Bridge
import QtQuick.Controls
import QtQuick.Layouts

// Shown once paired: the child, the backup folder, the scan button and launch at login.
BridgeCard {
    id: card

    required property BridgeAppState appState
    property string chooserMessage
    readonly property bool hasBackup: appState.selectedBackup.valid

    objectName: "setupCard"
    // Right after pairing, the keyboard starts where setup does: at the child.
    Component.onCompleted: {
        if (appState.selectedChildID === "")
            childPicker.forceActiveFocus()
    }

    Label {
        text: qsTr("Finish setup")
        font: Theme.font(Theme.title2, Font.Black)
        color: Theme.primary
    }

    ColumnLayout {
        spacing: 8
        Layout.fillWidth: true

        SymbolLabel {
            symbol: "person.crop.circle"
            text: qsTr("Choose the child who owns this iPhone")
            font: Theme.font(Theme.headline)
            Layout.fillWidth: true
        }

        ChoicePicker {
            id: childPicker
            objectName: "childPicker"
            model: card.appState.children
            valueRole: "childId"
            placeholder: qsTr("Choose a child")
            // Follows both the family and the selection; -1 (the placeholder) for none or an unknown id.
            currentIndex: card.appState.children.count >= 0
                          ? card.appState.children.indexOf(card.appState.selectedChildID) : -1
            Accessible.name: qsTr("Child")
            onActivated: card.appState.selectedChildID = currentValue
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
        spacing: 8
        Layout.fillWidth: true

        SymbolLabel {
            symbol: "externaldrive.fill"
            text: DesktopWords.chooseBackupHeading
            font: Theme.font(Theme.headline)
            Layout.fillWidth: true
        }

        // Where such a backup comes from, on a desktop without Finder.
        Label {
            objectName: "backupHintText"
            visible: text !== ""
            Accessible.ignored: !visible
            text: DesktopWords.backupHint
            textFormat: Text.PlainText
            font: Theme.font(Theme.caption)
            color: Theme.secondary
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }

        Loader {
            active: card.hasBackup
            visible: active
            Layout.fillWidth: true
            sourceComponent: BackupSummary {
                backup: card.appState.selectedBackup // qmllint disable unqualified
            }
        }

        Loader {
            id: assignments
            // One child with one iPhone needs no choice: that iPhone is the child's.
            active: card.appState.devices.length > 1
                    || (card.appState.devices.length > 0 && card.appState.children.count > 1)
            visible: active
            Layout.fillWidth: true
            sourceComponent: DeviceAssignments {
                appState: card.appState // qmllint disable unqualified
            }
        }

        Loader {
            // Only while there is something to say: nothing hidden in the screen reader's tree.
            active: card.appState.devices.some( // qmllint disable
                device => device.childId !== "" && (device.connected || device.activity !== ""))
            visible: active
            Layout.fillWidth: true
            sourceComponent: ConnectedIPhones {
                appState: card.appState // qmllint disable unqualified
            }
        }

        RowLayout {
            spacing: 12
            Layout.fillWidth: true

            BridgeButton {
                objectName: "chooseBackupButton"
                text: card.hasBackup ? qsTr("Choose a different backup") : qsTr("Choose backup folder")
                Accessible.description: card.chooserMessage
                onClicked: card.appState.requestChooseBackupFolder()
            }
            Label {
                objectName: "chooserMessageText"
                text: card.chooserMessage
                textFormat: Text.PlainText
                font: Theme.font(Theme.caption)
                color: Theme.secondary
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
        }
    }

    BridgeButton {
        objectName: "scanButton"
        text: qsTr("Scan latest backup")
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
