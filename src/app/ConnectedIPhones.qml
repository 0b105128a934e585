pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quorva.Bridge

// The assigned iPhones connected to this computer, or of which a backup made here has news:
// what it is doing, and the parent's two actions, backing it up now and trusting this computer.
ColumnLayout {
    id: connected

    required property BridgeAppState appState
    readonly property var phones: appState.devices.filter( // qmllint disable
        device => device.childId !== "" && (device.connected || device.activity !== ""))

    objectName: "connectedIPhones"
    spacing: 8

    Repeater {
        model: connected.phones

        RowLayout {
            id: row
            required property var modelData
            spacing: 12
            Layout.fillWidth: true

            Label {
                objectName: "deviceActivity-" + row.modelData.id
                text: row.modelData.activity !== "" ? row.modelData.activity
                                                    : qsTr("%1 is connected to this computer.").arg(row.modelData.name)
                textFormat: Text.PlainText
                font: Theme.font(Theme.body)
                color: Theme.primary
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
            BridgeButton {
                objectName: "trustButton-" + row.modelData.id
                visible: row.modelData.untrusted && row.modelData.connected
                Accessible.ignored: !visible
                text: qsTr("Trust this iPhone")
                Accessible.description: qsTr("Asks %1 to trust this computer.").arg(row.modelData.name)
                onClicked: connected.appState.requestTrust(row.modelData.id)
            }
            BridgeButton {
                objectName: "backUpButton-" + row.modelData.id
                visible: row.modelData.connected
                Accessible.ignored: !visible
                enabled: !row.modelData.backingUp
                text: qsTr("Back up now")
                Accessible.description: qsTr("Backs up %1 into the backup folder, then scans it.").arg(row.modelData.name)
                onClicked: connected.appState.requestBackUp(row.modelData.id)
            }
        }
    }
}
