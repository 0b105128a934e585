import QtQuick
import Quorva.Bridge
import QtQuick.Controls
import QtQuick.Layouts

// The window's content: header and cards in one scrolling column over the soft gradient.
Item {
    id: view

    required property BridgeAppState appState

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
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

        ColumnLayout {
            id: column
            readonly property int margin: 30
            x: margin
            y: margin
            width: scroller.width - 2 * margin
            spacing: 22

            HeaderBar {
                appState: view.appState
                Layout.fillWidth: true
            }
            StatusCard {
                appState: view.appState
            }
            PairingCard {
                appState: view.appState
                visible: !view.appState.hasToken
            }
            SetupCard {
                appState: view.appState
                visible: view.appState.hasToken
            }
            PrivacyCard {}
        }
    }
}
