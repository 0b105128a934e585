import QtQuick
import Quorva.Bridge
import QtQuick.Controls
import QtQuick.Layouts

// The window's content: header and cards in one scrolling column over the soft gradient.
Item {
    id: view

    required property BridgeAppState appState
    property string chooserMessage

    function showPrivacyNote() {
        scroller.reveal(privacyCard)
    }

    // The page keys scroll the column, as in any document, unless the focused control uses them.
    Keys.onPressed: event => {
        const bottom = Math.max(0, scroller.contentHeight - scroller.height)
        const page = scroller.height * 0.9
        switch (event.key) {
        case Qt.Key_PageDown: scroller.contentY = Math.min(bottom, scroller.contentY + page); break
        case Qt.Key_PageUp: scroller.contentY = Math.max(0, scroller.contentY - page); break
        case Qt.Key_End: scroller.contentY = bottom; break
        case Qt.Key_Home: scroller.contentY = 0; break
        default: return
        }
        event.accepted = true
    }

    // A diagonal gradient from the top-leading to the bottom-trailing corner is the mean of a
    // horizontal and a vertical one, which plain rectangles can draw.
    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop { position: 0; color: Theme.backgroundTop }
            GradientStop { position: 1; color: Theme.backgroundBottom }
        }
    }
    Rectangle {
        anchors.fill: parent
        opacity: 0.5
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.backgroundTop }
            GradientStop { position: 1; color: Theme.backgroundBottom }
        }
    }

    Flickable {
        id: scroller
        objectName: "contentScroller"
        anchors.fill: parent
        contentWidth: width
        contentHeight: column.implicitHeight + 2 * column.margin
        boundsBehavior: Flickable.StopAtBounds
        clip: true
        ScrollBar.vertical: ScrollBar {
            objectName: "contentScrollBar"
            Accessible.name: qsTr("Scroll")
            policy: scroller.contentHeight > scroller.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
        }

        // Keeps the item with the keyboard focus on screen, as a person tabs through the cards.
        function reveal(item) {
            let inside = item
            while (inside && inside !== column)
                inside = inside.parent
            if (!inside)
                return
            const area = item.mapToItem(scroller.contentItem, 0, 0, item.width, item.height)
            const space = 16
            if (area.y - space < contentY)
                contentY = Math.max(0, area.y - space)
            else if (area.y + area.height + space > contentY + height)
                contentY = Math.min(contentHeight - height, area.y + area.height + space - height)
        }

        Connections {
            target: view.Window.window
            function onActiveFocusItemChanged() { scroller.reveal(view.Window.activeFocusItem) }
        }

        ColumnLayout {
            id: column
            readonly property int margin: 30
            // Lines stay readable in a maximised window: the column stops growing, centred.
            readonly property int maximumWidth: 800
            x: Math.max(margin, (scroller.width - maximumWidth) / 2)
            y: margin
            width: Math.min(scroller.width - 2 * margin, maximumWidth)
            spacing: 22

            HeaderBar {
                appState: view.appState
                Layout.fillWidth: true
            }
            StatusCard {
                appState: view.appState
            }
            // Made and destroyed rather than hidden: a hidden card's controls would stay in
            // the accessibility tree and in reach of the keyboard.
            Loader {
                active: !view.appState.hasToken
                visible: active
                Layout.fillWidth: true
                sourceComponent: PairingCard {
                    appState: view.appState // qmllint disable unqualified
                }
            }
            Loader {
                active: !view.appState.hasToken
                visible: active
                Layout.fillWidth: true
                sourceComponent: BridgeCard {
                    LaunchAtLogin {
                        appState: view.appState // qmllint disable unqualified
                    }
                }
            }
            Loader {
                active: view.appState.hasToken
                visible: active
                Layout.fillWidth: true
                sourceComponent: SetupCard {
                    appState: view.appState // qmllint disable unqualified
                    chooserMessage: view.chooserMessage // qmllint disable unqualified
                }
            }
            PrivacyCard {
                id: privacyCard
            }
        }
    }
}
