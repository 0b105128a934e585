import QtQuick
import Quorva.Bridge
import QtQuick.Controls
import QtQuick.Layouts

// The shield, the name and tagline, and — only when paired — the menu to disconnect.
RowLayout {
    id: header

    required property BridgeAppState appState

    spacing: 14

    Rectangle {
        implicitWidth: 58
        implicitHeight: 58
        radius: 18
        color: Theme.tileFill

        SymbolIcon {
            objectName: "headerShield"
            anchors.centerIn: parent
            symbol: "checkmark.shield.fill"
            size: 34
            color: Theme.brandGreen
        }
    }

    ColumnLayout {
        spacing: 3
        Layout.fillWidth: true

        Label {
            objectName: "appTitle"
            text: "Quorva Bridge"
            font.pixelSize: 30
            font.weight: Font.Black
            color: Theme.primary
        }
        Label {
            objectName: "appTagline"
            text: DesktopWords.tagline
            font: Theme.font(Theme.title3, Font.DemiBold)
            color: Theme.secondary
            wrapMode: Text.WordWrap
            Layout.fillWidth: true
        }
    }

    ToolButton {
        id: menuButton
        objectName: "headerMenuButton"
        visible: header.appState.hasToken
        // Qt keeps hidden items in the accessibility tree; a screen reader would offer it.
        Accessible.ignored: !visible
        implicitWidth: 44
        implicitHeight: 44
        flat: true
        display: AbstractButton.IconOnly
        text: qsTr("More options")
        ToolTip.text: text
        ToolTip.visible: hovered || visualFocus
        ToolTip.delay: Qt.styleHints.mousePressAndHoldInterval // qmllint disable
        icon.name: Symbols.themeName("ellipsis.circle")
        icon.source: Symbols.bundledSource("ellipsis.circle")
        icon.width: Theme.title2
        icon.height: Theme.title2
        icon.color: Theme.secondary
        onClicked: headerMenu.open()

        FocusRing {
            shown: menuButton.visualFocus
            controlRadius: 6
        }

        Menu {
            id: headerMenu
            objectName: "headerMenu"
            x: menuButton.width - width
            y: menuButton.height

            MenuItem {
                objectName: "disconnectMenuItem"
                text: DesktopWords.disconnect
                palette.windowText: Theme.destructive
                palette.buttonText: Theme.destructive
                palette.text: Theme.destructive
                onTriggered: confirmation.open()
            }
        }

        DisconnectConfirmation {
            id: confirmation
            appState: header.appState
        }
    }
}
