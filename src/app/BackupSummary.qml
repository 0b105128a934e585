import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quorva.Bridge

// The selected backup: its device, when it was made, and whether it can be read.
Rectangle {
    id: summary

    required property backupView backup
    readonly property string backedUpText: Formats.abbreviatedDateTime(backup.lastBackupAt)

    objectName: "backupSummary"
    radius: 14
    color: Theme.quaternaryFill
    implicitHeight: row.implicitHeight + 24
    implicitWidth: row.implicitWidth + 24

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.margins: 12

        ColumnLayout {
            spacing: 2
            Layout.fillWidth: true

            Label {
                objectName: "backupDeviceName"
                text: summary.backup.deviceName
                textFormat: Text.PlainText
                font: Theme.font(Theme.headline)
                color: Theme.primary
                elide: Text.ElideRight
                Layout.fillWidth: true
            }
            Label {
                objectName: "backupDateText"
                text: summary.backedUpText === "" ? qsTr("Backup date unavailable") : qsTr("Backed up %1").arg(summary.backedUpText)
                textFormat: Text.PlainText
                font: Theme.font(Theme.caption)
                color: Theme.secondary
            }
        }

        SymbolIcon {
            objectName: "backupStateIcon"
            symbol: summary.backup.isEncrypted ? "lock.trianglebadge.exclamationmark" : "checkmark.circle.fill"
            color: summary.backup.isEncrypted ? Theme.orange : Theme.green
            size: Theme.title3
            Layout.alignment: Qt.AlignVCenter
        }
    }
}
