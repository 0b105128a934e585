import QtQuick
import QtQuick.Controls.impl

// A system symbol drawn as a theme icon (or our bundled SVG), tinted with `color`.
IconImage {
    property string symbol
    property int size: Theme.body

    name: Symbols.themeName(symbol)
    source: Symbols.bundledSource(symbol)
    sourceSize.width: size
    sourceSize.height: size
    width: size
    height: size
    fillMode: Image.PreserveAspectFit
}
