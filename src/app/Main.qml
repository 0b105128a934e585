import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs

// The main window: the menu with "Scan now", the content, the failure alert and the folder
// dialog the state object asks for through the folder chooser.
ApplicationWindow {
    id: window

    required property var appState
    required property var folderChooser

    title: "Quorva Bridge"
    width: 860
    height: 700
    minimumWidth: 760
    minimumHeight: 620
    color: Theme.backgroundTop
    font: Theme.font(Theme.body)

    Action {
        id: scanNowAction
        objectName: "scanNowAction"
        text: "Scan now"
        shortcut: "Ctrl+R"
        enabled: window.appState.canScan
        onTriggered: window.appState.requestScanNow()
    }

    Action {
        id: quitAction
        objectName: "quitAction"
        text: "Quit"
        shortcut: StandardKey.Quit
        onTriggered: Qt.quit()
    }

    menuBar: MenuBar {
        objectName: "menuBar"
        Menu {
            title: "Quorva Bridge"
            MenuItem { action: scanNowAction }
            MenuSeparator {}
            MenuItem { action: quitAction }
        }
    }

    ContentView {
        objectName: "contentView"
        anchors.fill: parent
        appState: window.appState
    }

    FailureAlert {
        appState: window.appState
    }

    FolderDialog {
        id: folderDialog
        objectName: "backupFolderDialog"
        onAccepted: window.folderChooser.complete(selectedFolder)
        onRejected: window.folderChooser.cancel()
    }

    Connections {
        target: window.folderChooser
        function onRequested(title, message, confirmLabel, startingFolder) {
            folderDialog.title = title
            folderDialog.acceptLabel = confirmLabel
            if (startingFolder.toString() !== "")
                folderDialog.currentFolder = startingFolder
            window.show()
            window.raise()
            window.requestActivate()
            folderDialog.open()
        }
    }
}
