import QtQuick
import QtQuick.Controls

// The window's own dialogs: a title, a message and a row of buttons, one of which takes the
// keyboard focus when the dialog opens, so Return and Space answer it at once. Only
// `accepted` and `rejected` (Escape) are the person's answer; close() is not.
Dialog {
    id: dialog

    property string message
    // The standard button that takes the focus on opening.
    property int defaultButton: Dialog.Ok

    parent: Overlay.overlay
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    anchors.centerIn: Overlay.overlay
    width: Math.min(420, Overlay.overlay.width - 60)
    padding: 20
    topPadding: 8

    background: Rectangle {
        radius: 14
        color: Theme.alertFill
        border.color: Theme.alertBorder
    }

    header: Label {
        objectName: dialog.objectName + "Title"
        text: dialog.title
        textFormat: Text.PlainText
        font: Theme.font(Theme.headline)
        color: Theme.primary
        padding: 20
        bottomPadding: 0
        // Titles are short; one that wraps or elides loops through the dialog's implicit height.
    }

    footer: DialogButtonBox {
        padding: 16
        // Qt offers the row as a page tab list, so screen readers would call its buttons tabs;
        // without the row, they are the dialog's own buttons. Qt 6.4 overrides a role set here.
        Accessible.ignored: true
        background: Item {}
        delegate: BridgeButton {
            prominent: true
        }
    }

    // As soon as the dialog is on screen, and again once open, when the popup has taken the
    // focus itself (for no reason a ring would show).
    function focusDefaultButton() {
        const button = standardButton(defaultButton)
        if (!button || button.visualFocus)
            return
        button.focus = false // so the focus changes and takes the reason that shows the ring
        button.forceActiveFocus(Qt.TabFocusReason)
    }
    onAboutToShow: Qt.callLater(focusDefaultButton) // qmllint disable
    onOpened: Qt.callLater(focusDefaultButton) // qmllint disable

    Label {
        objectName: dialog.objectName + "Text"
        width: dialog.availableWidth
        text: dialog.message
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        font: Theme.font(Theme.body)
        color: Theme.primary
    }
}
