import QtQuick
import Quorva.Bridge
import QtQuick.Controls
import QtQuick.Layouts

// Which Bridge this is, under which licence, and the way to the privacy note in the window.
Dialog {
    id: about

    signal privacyNoteRequested()

    objectName: "aboutDialog"
    title: qsTr("About Quorva Bridge")
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
        text: about.title
        textFormat: Text.PlainText
        font: Theme.font(Theme.headline)
        color: Theme.primary
        padding: 20
        bottomPadding: 0
        Accessible.role: Accessible.Heading
    }

    ColumnLayout {
        width: about.availableWidth
        spacing: 10

        Label {
            objectName: "aboutVersionText"
            text: qsTr("Version %1").arg(AppInfo.version)
            textFormat: Text.PlainText
            font: Theme.font(Theme.body)
            color: Theme.primary
            Layout.fillWidth: true
        }
        Label {
            objectName: "aboutLicenceText"
            text: AppInfo.licence
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font: Theme.font(Theme.callout)
            color: Theme.secondary
            Layout.fillWidth: true
        }
    }

    footer: DialogButtonBox {
        padding: 16
        // As in BridgeDialog: without the row, its buttons are announced as the dialog's buttons.
        Accessible.ignored: true
        background: Item {}
        BridgeButton {
            objectName: "aboutPrivacyButton"
            text: qsTr("Privacy note")
            Accessible.description: qsTr("Shows what stays on this computer and what Quorva receives.")
            DialogButtonBox.buttonRole: DialogButtonBox.ActionRole // qmllint disable
            onClicked: {
                about.close()
                about.privacyNoteRequested()
            }
        }
        BridgeButton {
            objectName: "aboutCloseButton"
            text: qsTr("Close")
            prominent: true
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole // qmllint disable
        }
    }
}
