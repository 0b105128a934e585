#include "state/BridgeSession.h"

#include "model/BridgeClientError.h"
#include "model/Iso8601.h"
#include "state/FolderAccess.h"
#include "state/StateTexts.h"
#include "state/WorkerThread.h"
#include "stores/FolderReference.h"
#include "stores/Preferences.h"

#include <algorithm>
#include <limits>

namespace quorva {

const QString BridgeSession::pairingIdKey = QStringLiteral("bridge.pairing-id");

namespace {

constexpr std::size_t kBatchSize = 100;

bool isUnauthorized(std::exception_ptr failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const BridgeClientError& error) {
        return error.kind() == BridgeClientError::Case::server && error.status() == 401;
    } catch (...) {
        return false;
    }
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

} // namespace

int64_t saturatingAlertSum(int64_t total, int64_t more)
{
    more = std::max<int64_t>(more, 0);
    return total > std::numeric_limits<int64_t>::max() - more ? std::numeric_limits<int64_t>::max() : total + more;
}

BridgeSession::BridgeSession(SessionServices services, std::string token, QString pairingId)
    : m_services(std::move(services)), m_token(std::move(token)), m_pairingId(std::move(pairingId))
{
}

bool BridgeSession::stillStored() const
{
    return Preferences::string(pairingIdKey) == m_pairingId;
}

std::optional<SessionEnd> BridgeSession::interruption()
{
    if (m_cancelled)
        return SessionEnd::cancelled;
    if (!stillStored()) {
        cancel();
        return SessionEnd::pairingChanged;
    }
    return std::nullopt;
}

QCoro::Task<ChildrenOutcome> BridgeSession::loadChildren()
{
    const auto self = shared_from_this(); // the work keeps its session alive until it returns
    const std::shared_ptr<BridgeAPI> api = m_services.api;
    ChildrenOutcome outcome;
    std::exception_ptr failure;
    try {
        std::string token = m_token;
        outcome.children = (co_await api->fetchChildren(std::move(token))).children;
    } catch (...) {
        failure = std::current_exception();
    }
    if (const auto end = interruption()) {
        outcome.end = *end;
    } else if (failure) {
        outcome.end = isUnauthorized(failure) ? SessionEnd::unauthorized : SessionEnd::failed;
        outcome.failure = texts::failureText(failure);
    }
    co_return outcome;
}

QCoro::Task<bool> BridgeSession::heartbeat(HeartbeatReport report)
{
    const auto self = shared_from_this();
    const std::shared_ptr<BridgeAPI> api = m_services.api;
    if (interruption())
        co_return false;
    try {
        std::string token = m_token;
        co_await api->sendHeartbeat(std::move(report), std::move(token));
        co_return true;
    } catch (...) {
        co_return false;
    }
}

QCoro::Task<CycleOutcome> BridgeSession::runCycle(std::string childId, CycleObserver observer)
{
    const auto self = shared_from_this();
    const std::shared_ptr<BridgeAPI> api = m_services.api;
    CycleOutcome outcome;
    const auto ended = [&](SessionEnd end) {
        outcome.end = end;
        return outcome;
    };

    // Held to the end of the cycle, so no other process writes the checkpoint in between.
    const UserLock::Hold hold = co_await m_services.lock->acquire(m_services.lockPatience);
    if (const auto end = interruption())
        co_return ended(*end);
    if (!hold)
        co_return ended(SessionEnd::busy);

    std::filesystem::path folder;
    bool unreadable = false;
    try {
        folder = m_services.bookmarks.resolve();
    } catch (const FolderUnreadable&) {
        unreadable = true; // still there: a failure to report, not a choice to forget
    } catch (...) {
        outcome.folderLost = true;
        outcome.failure = texts::failureText(std::make_exception_ptr(BridgeClientError::backupAccessLost()));
        co_return ended(SessionEnd::failed);
    }

    observer.scanning();
    outcome.startedAt = Instant::now();
    const std::string scanStamp = formatInternetDateTime(outcome.startedAt);
    const ScopedFolderAccess access(folder);
    const std::string token = m_token;

    std::vector<std::string> accepted;
    std::exception_ptr failure;
    try {
        if (unreadable || (!access.started() && !isReadableFolder(folder)))
            throw BridgeClientError::backupAccessLost();
        const std::shared_ptr<const IPhoneBackupScanner> scanner = m_services.scanner;
        // Arguments of awaited calls are named locals: g++ 12 destroys a temporary argument of a
        // coroutine call inside co_await twice.
        auto discover = [scanner, folder] { return scanner->backups(folder); };
        const std::vector<BackupDescriptor> backups = co_await onWorkerThread(std::move(discover));
        if (const auto end = interruption())
            co_return ended(*end);
        if (backups.empty())
            throw BridgeClientError::noBackupFound();
        const BackupDescriptor backup = backups.front();
        // Shown at once, so an encrypted or unreadable newest backup is visible although the cycle fails.
        observer.backupFound(backup);
        auto read = [scanner, backup, startedAt = outcome.startedAt, stop = m_stop.get_token()] {
            return scanner->scan(backup, startedAt, stop);
        };
        const BackupScanResult result = co_await onWorkerThread(std::move(read));
        if (const auto end = interruption())
            co_return ended(*end);
        const std::vector<ScannedMessage> fresh = m_services.checkpoint.notYetRecorded(result.candidates);
        outcome.inspected = result.inspectedCount;
        outcome.sent = static_cast<int64_t>(fresh.size());

        DeviceRegistration registration{childId, backup.id, backup.deviceName, scanStamp};
        co_await api->registerDevice(std::move(registration), token);
        const int batches = static_cast<int>((fresh.size() + kBatchSize - 1) / kBatchSize);
        for (int index = 0; index < batches; ++index) {
            if (const auto end = interruption())
                co_return ended(*end);
            observer.uploading(index, batches);
            BridgeIngestRequest batch =
                ingestBatch(fresh, static_cast<std::size_t>(index) * kBatchSize, childId, backup, scanStamp);
            const BridgeIngestResponse response = co_await api->ingest(batch, token);
            outcome.alerts = saturatingAlertSum(outcome.alerts, response.alertsCreated);
            collectAccepted(batch, response, accepted);
        }
        if (const auto end = interruption())
            co_return ended(*end);
        if (batches > 0)
            observer.uploading(batches, batches);
        // Only after the last batch: a failed batch records nothing and the next cycle resends all.
        m_services.checkpoint.record(accepted);
        outcome.accepted = static_cast<int64_t>(accepted.size());

        HeartbeatReport report;
        report.status = "active";
        report.lastScanAt = scanStamp;
        if (!fresh.empty())
            report.lastIngestAt = scanStamp;
        if (!accepted.empty())
            report.lastProcessedItemHash = accepted.back();
        co_await api->sendHeartbeat(std::move(report), token);
    } catch (...) {
        failure = std::current_exception();
    }
    if (const auto end = interruption())
        co_return ended(*end);
    if (!failure)
        co_return ended(SessionEnd::done);
    if (isUnauthorized(failure))
        co_return ended(SessionEnd::unauthorized); // a heartbeat with the refused token would be refused too

    outcome.failure = texts::failureText(failure);
    HeartbeatReport report;
    report.status = "error";
    report.setupIssue = texts::reportText(failure).toStdString();
    report.lastScanAt = scanStamp;
    try {
        co_await api->sendHeartbeat(std::move(report), token);
    } catch (...) {
        // The failure is shown whether or not the service heard of it.
    }
    if (const auto end = interruption())
        co_return ended(*end);
    co_return ended(SessionEnd::failed);
}

} // namespace quorva
