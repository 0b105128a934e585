import QtQuick

// The keyboard focus mark: a 2 px line in the theme's focus colour, 2 px outside the control,
// so it shows against the card whatever the control's own fill and outline.
Rectangle {
    // Whether the control has the focus the keyboard gave it (visualFocus for a control).
    property bool shown
    // The control's own corner radius, which the mark follows.
    property real controlRadius: 4

    objectName: "focusRing"
    visible: shown
    anchors.fill: parent
    anchors.margins: -4
    radius: controlRadius + 4
    color: "transparent"
    border.width: 2
    border.color: Theme.focusRing
}
