pragma Singleton
import QtQuick

// The window's colours and text styles, in one place so every card agrees. The colours follow
// the desktop's palette: a dark desktop gets dark cards, so the controls the style draws in
// the desktop's colours stay readable on them. Every text reaches 4.5:1 and every icon 3:1
// against what it sits on (cards are translucent over the gradient).
QtObject {
    readonly property SystemPalette desktop: SystemPalette { colorGroup: SystemPalette.Active }
    readonly property bool dark: desktop.window.hslLightness < 0.5

    readonly property color brandGreen: dark ? "#4cc9a0" : Qt.rgba(0.12, 0.48, 0.38, 1)
    readonly property color backgroundTop: dark ? Qt.rgba(0.10, 0.11, 0.11, 1) : Qt.rgba(0.97, 0.96, 0.92, 1)
    readonly property color backgroundBottom: dark ? Qt.rgba(0.07, 0.12, 0.11, 1) : Qt.rgba(0.89, 0.96, 0.94, 1)

    readonly property color primary: dark ? Qt.rgba(1, 1, 1, 0.92) : Qt.rgba(0, 0, 0, 0.85)
    readonly property color secondary: dark ? Qt.rgba(1, 1, 1, 0.65) : Qt.rgba(0, 0, 0, 0.6)
    // Filled buttons; dark enough for white text in both palettes.
    readonly property color accent: "#0062cc"
    readonly property color accentText: "white"
    readonly property color blue: dark ? "#409cff" : "#007aff"
    readonly property color green: dark ? "#30d158" : "#248a3d"
    readonly property color orange: dark ? "#ff9f0a" : "#b35900"
    // Around the control with the keyboard focus: 3:1 against the cards.
    readonly property color focusRing: dark ? "#409cff" : "#0062cc"
    readonly property color destructive: dark ? "#ff7b73" : "#d70015"
    readonly property color quaternaryFill: dark ? Qt.rgba(1, 1, 1, 0.06) : Qt.rgba(0, 0, 0, 0.05)
    readonly property color separator: dark ? Qt.rgba(1, 1, 1, 0.12) : Qt.rgba(0, 0, 0, 0.1)

    // Surfaces: cards, the tile behind the shield, bordered buttons, the code field, the alert.
    readonly property color cardFill: dark ? Qt.rgba(0.17, 0.18, 0.18, 0.88) : Qt.rgba(1, 1, 1, 0.88)
    readonly property color cardStroke: dark ? Qt.rgba(1, 1, 1, 0.08) : Qt.rgba(0, 0, 0, 0.07)
    readonly property color cardShadow: dark ? Qt.rgba(0, 0, 0, 0.25) : Qt.rgba(0, 0, 0, 0.05)
    readonly property color tileFill: dark ? Qt.rgba(1, 1, 1, 0.08) : Qt.rgba(1, 1, 1, 0.8)
    readonly property color controlFill: dark ? Qt.rgba(1, 1, 1, 0.1) : Qt.rgba(1, 1, 1, 0.9)
    readonly property color controlPressedFill: dark ? Qt.rgba(1, 1, 1, 0.18) : Qt.rgba(0, 0, 0, 0.08)
    readonly property color controlBorder: dark ? Qt.rgba(1, 1, 1, 0.2) : Qt.rgba(0, 0, 0, 0.15)
    // The outline of a control that has no text of its own to be told by (the pickers, the
    // switch when off): 3:1 against the cards.
    readonly property color controlOutline: dark ? Qt.rgba(1, 1, 1, 0.45) : Qt.rgba(0, 0, 0, 0.5)
    readonly property color fieldFill: dark ? Qt.rgba(0, 0, 0, 0.3) : "white"
    readonly property color fieldBorder: dark ? Qt.rgba(1, 1, 1, 0.25) : Qt.rgba(0, 0, 0, 0.2)
    readonly property color alertFill: dark ? "#2b2d2d" : "white"
    readonly property color alertBorder: dark ? Qt.rgba(1, 1, 1, 0.12) : Qt.rgba(0, 0, 0, 0.12)

    // Sizes of the platform's dynamic text styles, in logical pixels.
    readonly property int title2: 22
    readonly property int title3: 20
    readonly property int headline: 17
    readonly property int callout: 16
    readonly property int body: 14
    readonly property int caption: 12

    readonly property string monospaceFamily: "monospace"

    // A font of one of the sizes above; headline is semibold unless a weight is given.
    function font(size, weight) {
        let w = weight === undefined ? (size === headline ? Font.DemiBold : Font.Normal) : weight
        return Qt.font({ pixelSize: size, weight: w })
    }

    function monospaceFont(size, weight) {
        return Qt.font({ family: monospaceFamily, pixelSize: size, weight: weight === undefined ? Font.Normal : weight })
    }
}
