import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// A menu item with its keyboard shortcut shown at the trailing edge.
MenuItem {
    id: item

    property string shortcutText

    contentItem: RowLayout {
        spacing: 24

        Text {
            text: item.text
            font: item.font
            color: item.enabled ? Theme.primary : Theme.secondary
            Layout.fillWidth: true
        }
        Text {
            text: item.shortcutText
            font: item.font
            color: Theme.secondary
        }
    }
}
