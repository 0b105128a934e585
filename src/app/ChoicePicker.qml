pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quorva.Bridge

// A drop-down of choices with a name and an id, whose selection screen readers hear by name.
ComboBox {
    id: picker

    // Shown while nothing is chosen.
    property string placeholder

    textRole: "name"
    valueRole: "id"
    displayText: currentIndex < 0 ? placeholder : currentText
    font: Theme.font(Theme.body)
    Layout.maximumWidth: 320
    Layout.preferredWidth: 320

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

    delegate: ItemDelegate {
        id: choice
        required property int index
        width: picker.width
        // An array's entries and a model's rows alike.
        text: picker.textAt(index)
        highlighted: picker.highlightedIndex === index
        contentItem: Text {
            text: choice.text
            textFormat: Text.PlainText
            font: picker.font
            color: Theme.primary
            elide: Text.ElideRight
            verticalAlignment: Text.AlignVCenter
        }
    }
}
