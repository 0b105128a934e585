pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quorva.Bridge

// The iPhones in the folder that nobody is assigned: what each is and when it was last backed
// up. They are never read; one that is no child's (a parent's own) can be set aside for good.
ColumnLayout {
    id: list

    required property BridgeAppState appState

    objectName: "unassignedIPhones"
    visible: appState.unassignedDevices.count > 0
    spacing: 4

    Label {
        text: qsTr("In the folder, assigned to no one and never read:")
        textFormat: Text.PlainText
        font: Theme.font(Theme.body, Font.DemiBold)
        color: Theme.primary
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }
    Repeater {
        model: list.appState.unassignedDevices

        RowLayout {
            id: entry
            required property string deviceId
            required property string name
            required property string productType
            required property var lastBackupAt
            required property bool assignedToNoOne
            spacing: 12
            Layout.fillWidth: true

            Label {
                objectName: "unassigned-" + entry.deviceId
                text: {
                    const parts = [entry.name]
                    if (entry.productType)
                        parts.push(entry.productType)
                    const age = Formats.backupAge(entry.lastBackupAt)
                    parts.push(age === "" ? qsTr("backup date unknown") : qsTr("last backup %1").arg(age))
                    return parts.join(" · ")
                }
                textFormat: Text.PlainText
                font: Theme.font(Theme.caption)
                color: Theme.secondary
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
            BridgeButton {
                objectName: "noOnesButton-" + entry.deviceId
                visible: !entry.assignedToNoOne
                Accessible.ignored: !visible
                text: qsTr("Not a child's iPhone")
                Accessible.description: qsTr("%1 stays unread, and Bridge stops mentioning it.").arg(entry.name)
                onClicked: list.appState.requestAssignToNoOne(entry.deviceId)
            }
        }
    }
}
