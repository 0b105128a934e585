import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Quorva.Bridge

// Where the workflow stands: the phase icon, the status line, and what the last scan did.
BridgeCard {
    id: card

    required property BridgeAppState appState

    // The icon and colour of each phase.
    readonly property var look: {
        switch (appState.phase) {
        case BridgeAppState.NeedsPairing:
        case BridgeAppState.NeedsSetup:
            return { symbol: "circle.dotted", color: Theme.secondary }
        case BridgeAppState.Ready:
            // Ready, but a child needs the parent: an old backup, one being written, an iPhone
            // moved away, a child without one. "All fine" would claim more than was checked.
            if (appState.attention.length > 0)
                return { symbol: "exclamationmark.triangle.fill", color: Theme.orange }
            return { symbol: "checkmark.circle.fill", color: Theme.green }
        case BridgeAppState.Failed:
            return { symbol: "exclamationmark.triangle.fill", color: Theme.orange }
        default: // starting and scanning
            return { symbol: "arrow.triangle.2.circlepath.circle.fill", color: Theme.blue }
        }
    }
    readonly property string lastScanText: Formats.abbreviatedDateTime(appState.lastScanAt)
    readonly property bool failed: appState.phase === BridgeAppState.Failed
    // "Try again" reloads the family first, then scans where a scan can run.
    property bool scanWhenReloaded: false

    Connections {
        target: card.appState
        function onPhaseChanged() {
            if (!card.scanWhenReloaded || card.appState.phase === BridgeAppState.Starting
                    || card.appState.phase === BridgeAppState.Scanning)
                return
            card.scanWhenReloaded = false
            if (card.appState.phase === BridgeAppState.Ready && card.appState.canScan)
                card.appState.requestScanNow()
        }
    }
    readonly property int attentionShown: 5

    // In the locale of the translation, as the status line above writes its numbers.
    function wholeNumber(value) {
        return Number(value).toLocaleString(Qt.locale(), "f", 0)
    }

    objectName: "statusCard"

    RowLayout {
        spacing: 16
        Layout.fillWidth: true

        Rectangle {
            objectName: "phaseBadge"
            implicitWidth: 46
            implicitHeight: 46
            radius: 23
            color: Qt.rgba(card.look.color.r, card.look.color.g, card.look.color.b, 0.12)
            Layout.alignment: Qt.AlignTop

            SymbolIcon {
                objectName: "phaseIcon"
                anchors.centerIn: parent
                symbol: card.look.symbol
                color: card.look.color
                size: Theme.title2 + 2
            }
        }

        ColumnLayout {
            spacing: 7
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop

            // The window's live region: a status bar whose name is the status, so a screen reader
            // hears every new status without going to it. A Text, not a Label: Qt 6.4's Label
            // overrides the role it is given.
            Text {
                objectName: "statusMessageText"
                Accessible.role: Accessible.StatusBar
                Accessible.name: text
                // While batches go out, how far the upload has got; a screen reader hears each step.
                text: card.appState.phase === BridgeAppState.Scanning && card.appState.totalBatches > 0
                      ? qsTr("Sent %1 of %2 batches to Quorva")
                        .arg(card.wholeNumber(card.appState.uploadedBatches))
                        .arg(card.wholeNumber(card.appState.totalBatches))
                      : card.appState.statusMessage
                textFormat: Text.PlainText
                font: Theme.font(Theme.title3, Font.Bold)
                color: Theme.primary
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
            Label {
                objectName: "statusDetailText"
                text: card.lastScanText === ""
                      ? DesktopWords.explanation
                      : card.appState.lastScanUnchanged
                        ? qsTr("Last checked %1. No new backup since the last check, so nothing new was sent.")
                          .arg(card.lastScanText)
                        : qsTr("Last checked %1. %2 recent incoming messages inspected locally. %3 new candidates sent for safety review.")
                          .arg(card.lastScanText)
                          .arg(card.wholeNumber(card.appState.lastInspectedCount)) // qmllint disable type
                          .arg(card.wholeNumber(card.appState.lastCandidateCount))
                textFormat: Text.PlainText
                font: Theme.font(Theme.callout)
                color: Theme.secondary
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
            // The failure stays here once its alert is answered, as the service or Qt said it.
            Label {
                objectName: "statusFailureText"
                visible: card.failed
                Accessible.ignored: !visible
                text: card.appState.failureText
                textFormat: Text.PlainText
                font: Theme.font(Theme.callout)
                color: Theme.primary
                wrapMode: Text.Wrap
                Layout.fillWidth: true
            }
            BridgeButton {
                objectName: "tryAgainButton"
                visible: card.failed && card.appState.hasToken
                Accessible.ignored: !visible
                text: qsTr("Try again")
                onClicked: {
                    card.scanWhenReloaded = true
                    card.appState.requestLoadChildren()
                }
            }
            // One line for each child or iPhone that needs the parent, the first few of a long
            // family's, then how many more: a line for each of thousands would bury the status.
            Repeater {
                model: card.appState.attention.slice(0, card.attentionShown) // qmllint disable
                RowLayout {
                    id: line
                    required property string modelData
                    required property int index
                    spacing: 8
                    Layout.fillWidth: true
                    SymbolIcon {
                        symbol: "exclamationmark.triangle.fill"
                        color: Theme.orange
                        size: Theme.callout
                        Layout.alignment: Qt.AlignTop
                    }
                    Label {
                        objectName: "attentionLine-" + line.index
                        text: line.modelData
                        textFormat: Text.PlainText
                        font: Theme.font(Theme.callout)
                        color: Theme.primary
                        wrapMode: Text.Wrap
                        Layout.fillWidth: true
                    }
                }
            }
            Label {
                objectName: "attentionMore"
                readonly property int rest: card.appState.attention.length - card.attentionShown
                visible: rest > 0
                Accessible.ignored: !visible
                text: qsTr("… and %n more.", "", rest)
                textFormat: Text.PlainText
                font: Theme.font(Theme.callout)
                color: Theme.primary
                wrapMode: Text.Wrap
                Layout.fillWidth: true
                Layout.leftMargin: Theme.callout + 8
            }
        }

        BusyIndicator {
            objectName: "scanSpinner"
            visible: card.appState.phase === BridgeAppState.Scanning
            Accessible.ignored: !visible // hidden items stay in the accessibility tree otherwise
            running: visible
            implicitWidth: 40
            implicitHeight: 40
            Layout.alignment: Qt.AlignTop
        }
    }
}
