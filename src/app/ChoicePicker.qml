import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quorva.Bridge

// A drop-down of {id, name} choices whose selection screen readers hear by name.
ComboBox {
    id: picker

    textRole: "name"
    valueRole: "id"
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
        required property var modelData
        required property int index
        width: picker.width
        text: modelData.name
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
