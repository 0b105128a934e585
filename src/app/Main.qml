import QtQuick
import Quorva.Bridge
import QtQuick.Controls
import QtQuick.Dialogs

// The main window: the menu with "Scan now", the content, the failure alert and the folder
// dialog the state object asks for through the folder chooser.
ApplicationWindow {
    id: window

    required property BridgeAppState appState
    required property var folderChooser

    title: "Quorva Bridge"
    // Never larger than the screen, also at a large scale: the minimum gives way where it must.
    readonly property size screenRoom: Qt.size(Math.min(Screen.desktopAvailableWidth, Screen.width),
                                               Math.min(Screen.desktopAvailableHeight, Screen.height))
    minimumWidth: Math.min(760, screenRoom.width)
    minimumHeight: Math.min(620, screenRoom.height)
    // Set once, not bound: a window the user resized keeps its size.
    Component.onCompleted: {
        width = Math.min(860, screenRoom.width)
        height = Math.min(700, screenRoom.height)
    }
    color: Theme.backgroundTop
    font: Theme.font(Theme.body)

    Action {
        id: scanNowAction
        objectName: "scanNowAction"
        text: qsTr("Scan now")
        enabled: window.appState.canScan
        onTriggered: window.appState.requestScanNow()
    }

    Action {
        id: quitAction
        objectName: "quitAction"
        text: qsTr("Quit")
        onTriggered: Qt.quit()
    }

    // Application-wide, so the commands also work while the failure alert (a modal popup,
    // which blocks window shortcuts) is up, as menu commands do beside a window's alert.
    Shortcut {
        objectName: "scanNowShortcut"
        sequence: "Ctrl+R"
        context: Qt.ApplicationShortcut
        enabled: scanNowAction.enabled
        onActivated: scanNowAction.trigger()
    }
    Action {
        id: helpAction
        objectName: "helpAction"
        text: qsTr("Help")
        onTriggered: AppInfo.openHelpPage()
    }
    Shortcut {
        sequences: [StandardKey.HelpContents] // qmllint disable unqualified
        context: Qt.ApplicationShortcut
        onActivated: helpAction.trigger()
    }

    // The desktop's key for the window's menu; application-wide, as the commands in it are.
    Shortcut {
        sequence: "F10"
        context: Qt.ApplicationShortcut
        onActivated: applicationMenu.popup(window.menuBar, 0, window.menuBar.height)
    }
    Shortcut {
        sequences: [StandardKey.Quit] // qmllint disable unqualified
        context: Qt.ApplicationShortcut
        onActivated: quitAction.trigger()
    }

    menuBar: MenuBar {
        objectName: "menuBar"
        Menu {
            id: applicationMenu
            title: "Quorva Bridge"
            CommandMenuItem {
                objectName: "scanNowMenuItem"
                action: scanNowAction
                shortcutText: qsTr("Ctrl+R")
            }
            MenuSeparator {}
            CommandMenuItem {
                action: quitAction
                shortcutText: qsTr("Ctrl+Q")
            }
        }
        Menu {
            objectName: "helpMenu"
            title: qsTr("Help")
            CommandMenuItem {
                objectName: "helpMenuItem"
                action: helpAction
                shortcutText: qsTr("F1")
            }
            MenuItem {
                objectName: "aboutMenuItem"
                text: qsTr("About Quorva Bridge")
                onTriggered: aboutDialog.open()
            }
        }
    }

    AboutDialog {
        id: aboutDialog
        onPrivacyNoteRequested: content.showPrivacyNote()
    }

    ContentView {
        id: content
        objectName: "contentView"
        anchors.fill: parent
        appState: window.appState
        chooserMessage: window.folderChooser.message
    }

    FailureAlert {
        appState: window.appState
    }

    // Made on first use: the dialog and its module cost start-up time most runs never need.
    Loader {
        id: folderDialogLoader
        active: false
        sourceComponent: FolderDialog {
            objectName: "backupFolderDialog"
            // The folder on screen is the answer until the parent picks one inside it: Qt's own
            // dialog would otherwise offer the first folder within, and confirming would store it.
            onCurrentFolderChanged: selectedFolder = currentFolder
            onAccepted: window.folderChooser.complete(selectedFolder) // qmllint disable unqualified
            onRejected: window.folderChooser.cancel() // qmllint disable unqualified
        }
    }

    Connections {
        target: window.folderChooser
        function onRequested(title, message, confirmLabel, startingFolder, chosenFolder) {
            // A fresh dialog each time: once shown, Qt's own dialog keeps its last folder and
            // ignores a new starting one.
            folderDialogLoader.active = false
            folderDialogLoader.active = true
            const dialog = folderDialogLoader.item
            dialog.title = title
            dialog.acceptLabel = confirmLabel
            if (chosenFolder.toString() !== "") {
                // Beside the family's folder, with it selected: inside it, Qt's own dialog would
                // select the first folder within, and confirming at once would store that one.
                const path = chosenFolder.toString().replace(/\/+$/, "")
                dialog.currentFolder = path.substring(0, path.lastIndexOf("/") + 1)
                dialog.selectedFolder = chosenFolder
            } else {
                dialog.currentFolder = startingFolder
            }
            window.show()
            window.raise()
            window.requestActivate()
            dialog.open()
        }
    }
}
