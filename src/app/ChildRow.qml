pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quorva.Bridge

// One child of the family: the iPhone assigned to it, its last backup, what it is doing, and
// what the last scan found. Only an assigned iPhone is read, and only under its child.
ColumnLayout {
    id: row

    required property BridgeAppState appState
    required property int index
    required property string childId
    required property string name
    required property string deviceId // empty when no iPhone in the folder is the child's
    required property string deviceName
    required property var lastBackupAt
    required property bool backupIsOld
    required property string deviceState
    required property bool connected
    required property bool backingUp
    required property bool untrusted
    required property string activity
    required property string lastScan
    required property string proposedDeviceId

    readonly property string shownDeviceId: deviceId !== "" ? deviceId : proposedDeviceId
    readonly property bool proposing: deviceId === "" && proposedDeviceId !== ""
    // Looked up again whenever the iPhones change: count announces every change.
    readonly property string proposedName: appState.deviceChoices.count >= 0 ? appState.deviceChoices.nameOf(proposedDeviceId) : ""

    // A choice of the picker: "No iPhone" (an empty id) stands for none.
    function describe(device) {
        if (device.deviceId === "")
            return qsTr("Nothing is read for %1").arg(row.name)
        const parts = []
        if (device.productType)
            parts.push(device.productType)
        if (device.state === "being written")
            parts.push(qsTr("backup being written"))
        else if (device.state === "encrypted")
            parts.push(qsTr("encrypted, cannot be read"))
        if (Formats.backupAge(device.lastBackupAt) !== "")
            parts.push(qsTr("last backup %1").arg(Formats.backupAge(device.lastBackupAt)))
        if (device.childId !== "" && device.childId !== row.childId)
            parts.push(qsTr("now assigned to %1").arg(device.childName !== "" ? device.childName : device.childId))
        return parts.join(" · ")
    }

    objectName: "childRow-" + childId
    spacing: 4

    RowLayout {
        spacing: 12
        Layout.fillWidth: true

        Label {
            objectName: "childName-" + row.childId
            text: row.name
            textFormat: Text.PlainText
            font: Theme.font(Theme.headline)
            color: Theme.primary
            elide: Text.ElideRight
            Layout.preferredWidth: 130
        }
        ChoicePicker {
            objectName: "devicePicker-" + row.childId
            model: row.appState.deviceChoices
            valueRole: "deviceId"
            detailOf: device => row.describe(device)
            label: qsTr("iPhone of %1").arg(row.name)
            currentIndex: row.appState.deviceChoices.count >= 0 ? Math.max(0, row.appState.deviceChoices.indexOf(row.shownDeviceId)) : 0
            onActivated: {
                if (currentValue !== row.deviceId)
                    row.appState.requestAssignChildDevice(row.childId, currentValue)
            }
            Layout.fillWidth: true
        }
        BridgeButton {
            objectName: "confirmProposal-" + row.childId
            visible: row.proposing
            Accessible.ignored: !visible
            text: qsTr("Assign")
            Accessible.description: proposalText.text
            onClicked: row.appState.requestAssignChildDevice(row.childId, row.proposedDeviceId)
        }
    }

    Label {
        id: proposalText
        objectName: "proposalText-" + row.childId
        visible: row.proposing
        Accessible.ignored: !visible
        text: qsTr("Is %1 the iPhone of %2? Nothing is read until you assign it.").arg(row.proposedName).arg(row.name)
        textFormat: Text.PlainText
        font: Theme.font(Theme.caption)
        color: Theme.secondary
        wrapMode: Text.Wrap
        Layout.fillWidth: true
        Layout.leftMargin: 142
    }

    ColumnLayout {
        visible: row.deviceId !== "" || row.deviceState === "missing"
        spacing: 2
        Layout.fillWidth: true
        Layout.leftMargin: 142

        Label {
            objectName: "lastBackupText-" + row.childId
            visible: row.deviceId !== ""
            Accessible.ignored: !visible // hidden items stay in the accessibility tree otherwise
            text: Formats.backupAge(row.lastBackupAt) === "" ? qsTr("Last backup: date unknown")
                                                               : qsTr("Last backup: %1").arg(Formats.backupAge(row.lastBackupAt))
            textFormat: Text.PlainText
            font: Theme.font(Theme.body, row.backupIsOld ? Font.DemiBold : Font.Normal)
            color: row.backupIsOld ? Theme.orange : Theme.primary
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }
        RowLayout {
            spacing: 12
            Layout.fillWidth: true

            Label {
                objectName: "deviceStateText-" + row.childId
                text: {
                    if (row.activity !== "")
                        return row.activity
                    switch (row.deviceState) {
                    case "missing": return qsTr("The assigned iPhone is not in the backup folder.")
                    case "being written": return qsTr("A backup is being written; it is read once finished.")
                    case "encrypted": return qsTr("Encrypted: Bridge cannot read this backup.")
                    }
                    return row.connected ? qsTr("Connected to this computer.") : ""
                }
                visible: text !== ""
                Accessible.ignored: !visible // hidden items stay in the accessibility tree otherwise
                textFormat: Text.PlainText
                font: Theme.font(Theme.caption)
                color: row.deviceState === "finished" ? Theme.secondary : Theme.orange
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
            BridgeButton {
                objectName: "trustButton-" + row.childId
                visible: row.untrusted && row.connected
                Accessible.ignored: !visible
                text: qsTr("Trust this iPhone")
                Accessible.description: qsTr("Asks %1 to trust this computer.").arg(row.deviceName)
                onClicked: row.appState.requestTrust(row.deviceId)
            }
            BridgeButton {
                objectName: "backUpButton-" + row.childId
                visible: row.connected
                Accessible.ignored: !visible
                enabled: !row.backingUp
                text: qsTr("Back up now")
                Accessible.description: qsTr("Backs up %1 into the backup folder, then scans it.").arg(row.deviceName)
                onClicked: row.appState.requestBackUp(row.deviceId)
            }
        }
        Label {
            objectName: "lastScanText-" + row.childId
            visible: text !== ""
            Accessible.ignored: !visible // hidden items stay in the accessibility tree otherwise
            text: row.lastScan
            textFormat: Text.PlainText
            font: Theme.font(Theme.caption)
            color: Theme.secondary
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }
    }
}
