// One scan and upload cycle: read the newest backup, upload what is new, report it.
#include "state/BridgeAppState.h"

#include "model/BridgeClientError.h"
#include "model/Iso8601.h"
#include "state/FolderAccess.h"
#include "state/StateTexts.h"

#include <QPointer>

#include <algorithm>
#include <limits>

namespace quorva {

namespace {

constexpr std::size_t kBatchSize = 100;

// What the service holds after a batch: the items of that batch it processed or already had.
// Any other answer, or a result for an item we did not send, leaves the item to be sent again.
void collectAccepted(const BridgeIngestRequest& batch, const BridgeIngestResponse& response,
                     std::vector<std::string>& accepted)
{
    for (const BridgeIngestResult& result : response.results) {
        const bool taken = result.processStatus == "processed" || result.processStatus == "duplicate";
        const bool ours = std::ranges::any_of(
            batch.items, [&](const BridgeIngestItem& item) { return item.clientItemId == result.clientItemId; });
        if (taken && ours && std::ranges::find(accepted, result.clientItemId) == accepted.end())
            accepted.push_back(result.clientItemId);
    }
}

// A service that reports absurd counts must not wrap the running total around.
int64_t addAlerts(int64_t total, int64_t more)
{
    more = std::max<int64_t>(more, 0);
    return total > std::numeric_limits<int64_t>::max() - more ? std::numeric_limits<int64_t>::max() : total + more;
}

BridgeIngestRequest ingestBatch(const std::vector<ScannedMessage>& messages, std::size_t first,
                                const std::string& childId, const BackupDescriptor& backup,
                                const std::string& scanStamp)
{
    BridgeIngestRequest request;
    request.childId = childId;
    request.externalDeviceId = backup.id;
    request.deviceName = backup.deviceName;
    request.lastScanAt = scanStamp;
    const std::size_t end = std::min(first + kBatchSize, messages.size());
    for (std::size_t i = first; i < end; ++i) {
        const ScannedMessage& message = messages[i];
        // The classifier's reasons stay on this computer.
        BridgeIngestItem item;
        item.clientItemId = message.id;
        item.childId = childId;
        item.contentText = message.text;
        item.senderName = message.senderName;
        item.capturedAt = formatInternetDateTime(message.capturedAt);
        request.items.push_back(std::move(item));
    }
    request.lastProcessedItemHash = request.items.back().clientItemId;
    return request;
}

} // namespace

QCoro::Task<> BridgeAppState::scanNow()
{
    QPointer<BridgeAppState> self(this);
    if (!m_token) {
        setPhase(Phase::needsPairing());
        co_return;
    }
    if (!m_selectedChildID) {
        setPhase(Phase::failed(QString::fromStdString(BridgeClientError::noChildSelected().description())));
        co_return;
    }
    std::filesystem::path folder;
    try {
        folder = m_bookmarkStore.resolve();
    } catch (...) {
        setSelectedBackup(std::nullopt);
        setPhase(Phase::failed(QString::fromStdString(BridgeClientError::backupAccessLost().description())));
        co_return;
    }

    // The cycle works on these copies throughout, whatever changes while it waits.
    const std::string token = *m_token;
    const std::string childId = *m_selectedChildID;
    const std::shared_ptr<BridgeAPI> api = m_api;

    setPhase(Phase::scanning());
    setStatusMessage(texts::scanning);
    const Instant startedAt = Instant::now();
    const std::string scanStamp = formatInternetDateTime(startedAt);
    const ScopedFolderAccess access(folder);

    BackupScanResult result;
    std::vector<ScannedMessage> newCandidates;
    int64_t alertsThisScan = 0;
    std::vector<std::string> acceptedIds;
    std::optional<QString> failure;
    try {
        if (!access.started() && !isReadableFolder(folder))
            throw BridgeClientError::backupAccessLost();
        const std::vector<BackupDescriptor> backups = m_scanner.backups(folder);
        if (backups.empty())
            throw BridgeClientError::noBackupFound();
        const BackupDescriptor backup = backups.front();
        // Shown at once, so an encrypted or unreadable newest backup is visible although the cycle fails.
        setSelectedBackup(backup);
        result = m_scanner.scan(backup, startedAt);
        newCandidates = m_checkpointStore.notYetRecorded(result.candidates);

        // Arguments of awaited calls are named locals: g++ 12 destroys a temporary argument of a
        // coroutine call inside co_await twice.
        DeviceRegistration registration{childId, backup.id, backup.deviceName, scanStamp};
        co_await api->registerDevice(std::move(registration), token);
        if (!self)
            co_return;
        for (std::size_t first = 0; first < newCandidates.size(); first += kBatchSize) {
            BridgeIngestRequest batch = ingestBatch(newCandidates, first, childId, backup, scanStamp);
            const BridgeIngestResponse response = co_await api->ingest(batch, token);
            if (!self)
                co_return;
            alertsThisScan = addAlerts(alertsThisScan, response.alertsCreated);
            collectAccepted(batch, response, acceptedIds);
        }
        // Only after the last batch: a failed batch records nothing and the next cycle resends all.
        m_checkpointStore.record(acceptedIds);

        HeartbeatReport report;
        report.status = "active";
        report.lastScanAt = scanStamp;
        if (!newCandidates.empty())
            report.lastIngestAt = scanStamp;
        if (!acceptedIds.empty())
            report.lastProcessedItemHash = acceptedIds.back();
        co_await api->sendHeartbeat(std::move(report), token);
        if (!self)
            co_return;
    } catch (...) {
        failure = texts::failureText(std::current_exception());
    }

    if (failure) {
        HeartbeatReport report;
        report.status = "error";
        report.setupIssue = failure->toStdString();
        report.lastScanAt = scanStamp;
        try {
            co_await api->sendHeartbeat(std::move(report), token);
        } catch (...) {
            // The failure is shown below whether or not the service heard of it.
        }
        if (!self)
            co_return;
        setPhase(Phase::failed(*failure));
        setStatusMessage(texts::scanFailed);
        co_return;
    }

    const auto sent = static_cast<qint64>(newCandidates.size());
    setLastScanAt(startedAt);
    setLastInspectedCount(result.inspectedCount);
    setLastCandidateCount(sent);
    setTotalAlertsCreated(addAlerts(m_totalAlertsCreated, alertsThisScan));
    setPhase(Phase::ready());
    setStatusMessage(texts::scanComplete(sent, static_cast<qint64>(acceptedIds.size())));
}

} // namespace quorva
