pragma Singleton
import QtQuick

// The window's colours and text styles, in one place so every card agrees.
QtObject {
    readonly property color brandGreen: Qt.rgba(0.12, 0.48, 0.38, 1)
    readonly property color backgroundTop: Qt.rgba(0.97, 0.96, 0.92, 1)
    readonly property color backgroundBottom: Qt.rgba(0.89, 0.96, 0.94, 1)

    readonly property color primary: Qt.rgba(0, 0, 0, 0.85)
    readonly property color secondary: Qt.rgba(0, 0, 0, 0.5)
    readonly property color accent: "#007aff"
    readonly property color blue: "#007aff"
    readonly property color green: "#34c759"
    readonly property color orange: "#ff9500"
    readonly property color destructive: "#ff3b30"
    readonly property color quaternaryFill: Qt.rgba(0, 0, 0, 0.05)
    readonly property color separator: Qt.rgba(0, 0, 0, 0.1)
    // Drawn around the control with the keyboard focus; at least 3:1 against the cards.
    readonly property color focusRing: "#0062cc"

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
