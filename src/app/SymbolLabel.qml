import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// A symbol followed by a text, both in the same style, as a label with an icon shows them.
RowLayout {
    property alias symbol: icon.symbol
    property alias text: label.text
    property alias font: label.font
    property color color: Theme.primary

    spacing: 8

    SymbolIcon {
        id: icon
        size: label.font.pixelSize + 2
        color: parent.color
        Layout.alignment: Qt.AlignVCenter
    }
    Label {
        id: label
        color: parent.color
        textFormat: Text.PlainText
        Layout.fillWidth: true
        elide: Text.ElideRight
    }
}
