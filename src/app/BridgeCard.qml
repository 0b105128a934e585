pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts

// The one card container: content stacked leading-aligned on a translucent rounded panel (white,
// or dark in a dark palette) with a hairline stroke and a soft shadow.
Item {
    id: card

    default property alias content: column.data
    readonly property int padding: 22
    readonly property int cornerRadius: 24
    // For a card that takes the keyboard focus itself.
    property bool focusMarkShown: false

    Layout.fillWidth: true
    implicitWidth: column.implicitWidth + 2 * padding
    implicitHeight: column.implicitHeight + 2 * padding

    // Qt 6.4 has no blur effect without Qt5Compat, so the shadow (radius 18, 8 down) is faked
    // with rounded layers that grow and fade outwards.
    Repeater {
        model: 6
        Rectangle {
            required property int index
            readonly property real spread: (index + 1) * 3
            x: -spread / 2
            y: 8 - spread / 2
            width: card.width + spread
            height: card.height + spread
            radius: card.cornerRadius + spread / 2
            color: Qt.rgba(Theme.cardShadow.r, Theme.cardShadow.g, Theme.cardShadow.b, Theme.cardShadow.a / 6)
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: card.cornerRadius
        color: Theme.cardFill
        border.color: Theme.cardStroke
        border.width: 1
    }

    FocusRing {
        shown: card.focusMarkShown
        controlRadius: card.cornerRadius
    }

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: card.padding
        spacing: 14
    }
}
