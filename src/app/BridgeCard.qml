import QtQuick
import QtQuick.Layouts

// The one card container: content stacked leading-aligned on a translucent white rounded
// panel with a hairline stroke and a soft shadow.
Item {
    id: card

    default property alias content: column.data
    readonly property int padding: 22
    readonly property int cornerRadius: 24

    Layout.fillWidth: true
    implicitWidth: column.implicitWidth + 2 * padding
    implicitHeight: column.implicitHeight + 2 * padding

    // Qt 6.4 has no blur effect without Qt5Compat, so the shadow (black 0.05, radius 18,
    // 8 down) is faked with rounded layers that grow and fade outwards.
    Repeater {
        model: 6
        Rectangle {
            readonly property real spread: (index + 1) * 3
            x: -spread / 2
            y: 8 - spread / 2
            width: card.width + spread
            height: card.height + spread
            radius: card.cornerRadius + spread / 2
            color: Qt.rgba(0, 0, 0, 0.05 / 6)
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: card.cornerRadius
        color: Qt.rgba(1, 1, 1, 0.88)
        border.color: Qt.rgba(0, 0, 0, 0.07)
        border.width: 1
    }

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: card.padding
        spacing: 14
    }
}
