pragma Singleton
import QtQuick

// System symbol names mapped to freedesktop theme icons of the same meaning. A symbol whose
// theme icon is missing falls back to our own SVG, named after the symbol.
QtObject {
    readonly property var themeNames: ({
        // The desktop's shields carry no check mark: ours, always.
        "checkmark.shield.fill": "",
        "ellipsis.circle": "view-more-symbolic",
        "arrow.triangle.2.circlepath.circle.fill": "emblem-synchronizing-symbolic",
        "circle.dotted": "",
        "checkmark.circle.fill": "emblem-ok-symbolic",
        "exclamationmark.triangle.fill": "dialog-warning-symbolic",
        "person.crop.circle": "avatar-default-symbolic",
        "externaldrive.fill": "drive-harddisk-symbolic",
        "lock.trianglebadge.exclamationmark": "",
        "magnifyingglass": "system-search-symbolic",
        "hand.raised.fill": ""
    })

    function themeName(symbol) {
        return themeNames[symbol] || ""
    }

    function bundledSource(symbol) {
        return symbol === "" ? "" : Qt.resolvedUrl("icons/" + symbol + ".svg")
    }
}
