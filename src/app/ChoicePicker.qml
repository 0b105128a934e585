pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quorva.Bridge

// A drop-down of choices with a name, an id and a detail line, whose selection screen readers
// hear by name. A choice is made only by an explicit act in the open list (a click, Enter or
// Space): keys on the closed picker open the list and never change the choice, because a stray
// arrow key would change whose messages are read.
ComboBox {
    id: picker

    // Shown while nothing is chosen.
    property string placeholder
    // Read by screen readers before the choice: "iPhone of Maya".
    property string label
    // The line under a choice's name in the open list, from the choice's roles.
    property var detailOf: choice => ""

    textRole: "name"
    valueRole: "id"
    displayText: currentIndex < 0 ? placeholder : currentText
    font: Theme.font(Theme.body)
    wheelEnabled: false
    Layout.maximumWidth: 360
    Layout.preferredWidth: 360
    Accessible.name: label === "" ? displayText : qsTr("%1: %2").arg(label).arg(displayText)

    // The style's outline is too faint to find the picker by on the card.
    background: Rectangle {
        implicitWidth: 120
        implicitHeight: 28
        radius: 4
        color: picker.down ? Theme.controlPressedFill : Theme.controlFill
        border.color: Theme.controlOutline
    }

    // The style's own mark is a 1 px line inside the picker, too faint to find.
    FocusRing {
        shown: picker.visualFocus
    }

    // Opens the list, as Space does; a choice is still made only in the list.
    Accessible.onPressAction: popup.open()

    Keys.priority: Keys.BeforeItem
    Keys.onPressed: event => {
        if (picker.popup.visible)
            return
        switch (event.key) {
        case Qt.Key_Up:
        case Qt.Key_Down:
        case Qt.Key_PageUp:
        case Qt.Key_PageDown:
        case Qt.Key_Home:
        case Qt.Key_End:
            picker.popup.open()
            event.accepted = true
            return
        default:
            // Typing on a closed picker would pick the first entry with that letter.
            if (event.text !== "" && event.key !== Qt.Key_Space && event.key !== Qt.Key_Return
                    && event.key !== Qt.Key_Enter && event.key !== Qt.Key_Tab && event.key !== Qt.Key_Backtab
                    && event.key !== Qt.Key_Escape)
                event.accepted = true
        }
    }

    // The style shows the choice in a read-only text field, which Qt offers screen readers as an
    // unnamed editable text; a label gives them the choice's name.
    contentItem: Label {
        leftPadding: 4 - picker.padding
        rightPadding: 4 - picker.padding
        text: picker.displayText
        textFormat: Text.PlainText
        font: picker.font
        color: picker.palette.buttonText
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    // Entries are read in full: the detail wraps under the name rather than being cut off.
    popup.width: Math.max(picker.width, 420)
    delegate: ItemDelegate {
        id: choice
        required property int index
        required property var model
        // The owner's function: the 6.4 linter takes a function-valued property for a value.
        readonly property string detail: picker.detailOf(model) // qmllint disable
        width: picker.popup.width - picker.popup.leftPadding - picker.popup.rightPadding
        text: picker.textAt(index)
        highlighted: picker.highlightedIndex === index
        Accessible.name: detail === "" ? text : text + ", " + detail
        contentItem: ColumnLayout {
            spacing: 2
            Text {
                text: choice.text
                textFormat: Text.PlainText
                font: picker.font
                color: Theme.primary
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
            Text {
                text: choice.detail
                visible: text !== ""
                textFormat: Text.PlainText
                font: Theme.font(Theme.caption)
                color: Theme.secondary
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
        }
    }
}
