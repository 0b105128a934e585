pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quorva.Bridge

// Whose iPhone each backup in the folder is: a picker per child. Only an assigned iPhone is
// read, and only under its child.
ColumnLayout {
    id: assignments

    required property BridgeAppState appState
    // "Not on this computer" stands for no iPhone, so its id is empty.
    readonly property var deviceChoices: [{ id: "", name: qsTr("Not on this computer") }].concat(
        appState.devices.map(device => ({ id: device.id, name: describe(device) }))) // qmllint disable
    readonly property var unassigned: appState.devices.filter(device => device.childId === "") // qmllint disable

    function describe(device) {
        const parts = [device.name]
        if (device.productType)
            parts.push(device.productType)
        if (device.state === "being written")
            parts.push(qsTr("backup being written"))
        else if (device.state === "encrypted")
            parts.push(qsTr("encrypted"))
        else if (Formats.abbreviatedDateTime(device.lastBackupAt) !== "")
            parts.push(qsTr("backed up %1").arg(Formats.abbreviatedDateTime(device.lastBackupAt)))
        return parts.join(" · ")
    }

    objectName: "deviceAssignments"
    spacing: 8

    Label {
        text: qsTr("Whose iPhone is each backup?")
        font: Theme.font(Theme.headline)
        color: Theme.primary
        Layout.fillWidth: true
    }

    Repeater {
        model: assignments.appState.children

        RowLayout {
            id: row
            required property string childId
            required property string name
            required property string deviceId // empty when no iPhone is the child's
            spacing: 12
            Layout.fillWidth: true

            Label {
                text: row.name
                textFormat: Text.PlainText
                font: Theme.font(Theme.body)
                color: Theme.primary
                elide: Text.ElideRight
                Layout.preferredWidth: 120
            }
            ChoicePicker {
                objectName: "devicePicker-" + row.childId
                model: assignments.deviceChoices
                currentIndex: Math.max(0, assignments.deviceChoices.findIndex(choice => choice.id === row.deviceId))
                Accessible.name: qsTr("iPhone of %1").arg(row.name)
                onActivated: assignments.appState.requestAssignChildDevice(row.childId, currentValue)
                Layout.fillWidth: true
            }
        }
    }

    Label {
        objectName: "unassignedText"
        visible: assignments.unassigned.length > 0
        Accessible.ignored: !visible
        text: qsTr("Not assigned, never read: %1").arg(assignments.unassigned.map(device => device.name).join(", "))
        textFormat: Text.PlainText
        font: Theme.font(Theme.caption)
        color: Theme.secondary
        wrapMode: Text.Wrap
        Layout.fillWidth: true
    }
}
