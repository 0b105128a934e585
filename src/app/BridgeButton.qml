import QtQuick
import QtQuick.Controls
import QtQuick.Controls.impl

// A push button in the two styles the window uses: prominent (filled with the accent colour)
// and bordered (a light rounded surface). With the keyboard focus it shows a ring, and Return
// or Enter press it as Space does.
Button {
    id: button

    property bool prominent: false
    property bool large: false

    font: Theme.font(large ? Theme.headline : Theme.body)
    leftPadding: large ? 20 : 14
    rightPadding: leftPadding
    topPadding: large ? 10 : 6
    bottomPadding: topPadding
    icon.width: font.pixelSize + 2
    icon.height: font.pixelSize + 2
    icon.color: contentColor

    readonly property color contentColor: prominent ? Theme.accentText : Theme.primary

    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

    contentItem: IconLabel {
        spacing: 8
        display: button.display
        icon: button.icon
        text: button.text
        font: button.font
        color: button.contentColor
    }

    background: Rectangle {
        implicitWidth: 80
        implicitHeight: button.large ? 40 : 30
        radius: button.large ? 10 : 7
        opacity: button.enabled ? 1 : 0.45
        color: {
            if (button.prominent)
                return button.down ? Qt.darker(Theme.accent, 1.2) : Theme.accent
            return button.down ? Theme.controlPressedFill : Theme.controlFill
        }
        border.width: button.prominent ? 0 : 1
        border.color: Theme.controlBorder

        FocusRing {
            shown: button.visualFocus
            controlRadius: parent.radius
        }
    }
}
