import QtQuick
import Quorva.Bridge
import QtQuick.Controls
import QtQuick.Layouts

// The launch-at-login switch and what it means; in the setup card when paired, on a card of
// its own when not, so a parent who disconnected can still turn it off.
ColumnLayout {
    id: section

    required property BridgeAppState appState

    spacing: 14
    Layout.fillWidth: true

    Switch {
        id: launchSwitch
        objectName: "launchAtLoginSwitch"
        text: qsTr("Launch Quorva Bridge when I log in")
        checked: section.appState.launchesAtLogin
        font: Theme.font(Theme.body)
        // Through the accessibility bus Qt 6.4 flips `checked` behind the switch's back, which
        // would show a state the platform never took: press it as a click does.
        function flip() {
            toggle()
            toggled()
        }
        Accessible.onPressAction: flip()
        Accessible.onToggleAction: flip()
        // The style's track, when off, is too faint to find on the card.
        indicator: Rectangle {
            implicitWidth: 40
            implicitHeight: 22
            x: launchSwitch.mirrored ? launchSwitch.width - width - launchSwitch.rightPadding : launchSwitch.leftPadding
            y: (launchSwitch.height - height) / 2
            radius: height / 2
            color: launchSwitch.checked ? Theme.accent : Theme.controlFill
            border.width: launchSwitch.checked ? 0 : 1
            border.color: Theme.controlOutline

            Rectangle {
                x: launchSwitch.checked ? parent.width - width - 3 : 3
                y: 3
                width: parent.height - 6
                height: width
                radius: width / 2
                color: launchSwitch.checked ? Theme.accentText : Theme.controlOutline
            }
        }
        FocusRing {
            shown: launchSwitch.visualFocus
        }
        onToggled: {
            section.appState.requestSetLaunchAtLogin(checked)
            // The switch shows what the platform reports, not what was clicked.
            checked = Qt.binding(() => section.appState.launchesAtLogin)
        }
    }

    Label {
        text: DesktopWords.launchAtLoginNote
        font: Theme.font(Theme.caption)
        color: Theme.secondary
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }
}
