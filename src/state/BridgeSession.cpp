#include "state/BridgeSession.h"

#include "model/BridgeClientError.h"
#include "model/Iso8601.h"
#include "platform/FolderAccess.h"
#include "platform/WorkerThread.h"
#include "state/FamilyOverview.h"
#include "state/ScanFlow.h"
#include "state/SetupFlow.h"
#include "state/StateTexts.h"
#include "stores/FolderReference.h"

#include <QDateTime>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <limits>

namespace quorva {

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
        const bool ours = std::ranges::any_of(batch.items, [&](const BridgeIngestItem& item) {
            return item.clientItemId == result.clientItemId;
        });
        if (taken && ours && std::ranges::find(accepted, result.clientItemId) == accepted.end())
            accepted.push_back(result.clientItemId);
    }
}

} // namespace

int64_t saturatingAlertSum(int64_t total, int64_t more)
{
    more = std::max<int64_t>(more, 0);
    return total > std::numeric_limits<int64_t>::max() - more ? std::numeric_limits<int64_t>::max()
                                                              : total + more;
}

struct BridgeSession::Work {
    SessionServices services;
    std::string token;
    std::stop_source stop;

    // The session's end after a wait, when it is not the operation's own to decide. While there
    // is none, the session is still there to signal through.
    [[nodiscard]] std::optional<SessionEnd> interruption() const
    {
        if (stop.stop_requested())
            return SessionEnd::cancelled;
        return std::nullopt;
    }
};

BridgeSession::BridgeSession(SessionServices services, std::string token, QObject* parent)
    : QObject(parent), m_work(std::make_shared<Work>(Work{std::move(services), std::move(token), {}}))
{
}

BridgeSession::~BridgeSession()
{
    m_work->stop.request_stop();
    // Before the session they use: their waits are bound to them, and end here.
    m_setup.reset();
    m_scans.reset();
}

void BridgeSession::startFlows(FlowHost& host, std::chrono::milliseconds scanInterval)
{
    m_scans = std::make_unique<ScanFlow>(*this, host, scanInterval);
    m_setup = std::make_unique<SetupFlow>(*this, *m_scans, host);
}

const std::string& BridgeSession::token() const
{
    return m_work->token;
}

// Every coroutine below holds `work` and reaches `this` only to signal, after a wait has found
// the session not stopped: the session is stopped as it is destroyed.

QCoro::Task<ChildrenOutcome> BridgeSession::loadChildren()
{
    const std::shared_ptr<const Work> work = m_work;
    ChildrenOutcome outcome;
    std::exception_ptr failure;
    try {
        std::string token = work->token;
        outcome.children = (co_await work->services.api->fetchChildren(std::move(token))).children;
    } catch (...) {
        failure = std::current_exception();
    }
    if (const auto end = work->interruption()) {
        outcome.end = *end;
    } else if (failure) {
        outcome.end = isUnauthorized(failure) ? SessionEnd::unauthorized : SessionEnd::failed;
        outcome.failure = failureOf(failure);
    }
    co_return outcome;
}

QCoro::Task<bool> BridgeSession::heartbeat(HeartbeatReport report)
{
    const std::shared_ptr<const Work> work = m_work;
    if (work->interruption())
        co_return false;
    try {
        std::string token = work->token;
        co_await work->services.api->sendHeartbeat(std::move(report), std::move(token));
        co_return true;
    } catch (...) {
        co_return false;
    }
}

struct BridgeSession::DeviceTally {
    Instant startedAt;
    int64_t inspected = 0;
    int64_t sent = 0;
    int64_t accepted = 0;
    int64_t alerts = 0;
    std::optional<std::string> lastAccepted;
    bool ingested = false;
    std::map<std::string, DeviceScan> scans;
};

QCoro::Task<std::optional<SessionEnd>>
BridgeSession::uploadDevice(const std::shared_ptr<const Work>& work, const BackupDescriptor& backup,
                            const std::string& childId, const std::string& scanStamp, DeviceTally& tally)
{
    const std::shared_ptr<BridgeAPI> api = work->services.api;
    const std::shared_ptr<const IPhoneBackupScanner> scanner = work->services.scanner;
    const UploadCheckpointStore checkpoint = work->services.checkpoint.forDevice(backup.id);
    const std::optional<std::string> earlier = checkpoint.completedBackup();

    // Arguments of awaited calls are named locals: g++ 12 destroys a temporary argument of a
    // coroutine call inside co_await twice.
    struct Read {
        std::optional<std::string> fingerprint;
        std::optional<BackupScanResult> result; // nothing when the backup is unchanged
    };
    auto read = [scanner, backup, earlier, startedAt = tally.startedAt, stop = work->stop.get_token()] {
        Read done;
        done.fingerprint = scanner->fingerprint(backup, stop);
        if (!done.fingerprint || done.fingerprint != earlier)
            done.result = scanner->scan(backup, startedAt, stop);
        return done;
    };
    const Read done = co_await onWorkerThread(std::move(read));
    if (const auto end = work->interruption())
        co_return end;
    std::vector<ScannedMessage> fresh;
    DeviceScan& scan = tally.scans[backup.id];
    scan.unchanged = !done.result;
    if (done.result) {
        fresh = checkpoint.notYetRecorded(done.result->candidates);
        scan.inspected = done.result->inspectedCount;
        scan.sent = static_cast<int64_t>(fresh.size());
        tally.inspected += scan.inspected;
        tally.sent += scan.sent;
    }

    DeviceRegistration registration{childId, backup.id, backup.deviceName, scanStamp};
    co_await api->registerDevice(std::move(registration), work->token);
    std::vector<std::string> accepted;
    const int batches = static_cast<int>((fresh.size() + kBatchSize - 1) / kBatchSize);
    for (int index = 0; index < batches; ++index) {
        if (const auto end = work->interruption())
            co_return end;
        emit uploading(index, batches);
        BridgeIngestRequest batch =
            ingestBatch(fresh, static_cast<std::size_t>(index) * kBatchSize, childId, backup, scanStamp);
        const BridgeIngestResponse response = co_await api->ingest(batch, work->token);
        tally.alerts = saturatingAlertSum(tally.alerts, response.alertsCreated);
        collectAccepted(batch, response, accepted);
    }
    if (const auto end = work->interruption())
        co_return end;
    if (batches > 0)
        emit uploading(batches, batches);
    // Only after the last batch: a failed batch records nothing and the next cycle resends all.
    if (done.result)
        checkpoint.record(accepted, done.result->candidates);
    else
        checkpoint.record(accepted);
    tally.accepted += static_cast<int64_t>(accepted.size());
    tally.ingested = tally.ingested || !fresh.empty();
    if (!accepted.empty())
        tally.lastAccepted = accepted.back();
    // Unread next time only when nothing of it waits to be sent again.
    if (done.result && done.fingerprint && accepted.size() == fresh.size())
        checkpoint.recordCompletedBackup(*done.fingerprint);
    co_return std::nullopt;
}

QCoro::Task<CycleOutcome> BridgeSession::runCycle(CycleRequest request)
{
    const std::shared_ptr<const Work> work = m_work;
    const SessionServices& services = work->services;
    const std::shared_ptr<BridgeAPI> api = services.api;
    CycleOutcome outcome;
    const auto ended = [&](SessionEnd end) {
        outcome.end = end;
        return outcome;
    };
    const auto childName = [&](const std::string& id) {
        const auto child = std::ranges::find(request.children, id, &BridgeChild::id);
        return QString::fromStdString(child == request.children.end() ? id : child->name);
    };

    std::filesystem::path folder;
    bool unreadable = false;
    std::exception_ptr absent; // reported like any failure, and the folder stays chosen
    try {
        folder = services.bookmarks.resolve();
    } catch (const FolderUnreadable&) {
        unreadable = true; // still there: a failure to report, not a choice to forget
    } catch (const FolderAbsent&) {
        absent = std::current_exception();
        outcome.folderAbsent = true;
    } catch (...) {
        outcome.folderLost = true;
        outcome.failure = {FailureCase::backupAccessLost, {}, {}};
        co_return ended(SessionEnd::failed);
    }

    emit scanning();
    outcome.startedAt = Instant::now();
    const std::string scanStamp = formatInternetDateTime(outcome.startedAt);
    const ScopedFolderAccess access(folder);
    const std::string token = work->token;

    DeviceTally tally;
    tally.startedAt = outcome.startedAt;
    // Each failure as the service reads it, and as data for whoever shows it.
    QStringList reports;
    std::vector<Failure> failed;
    std::vector<Notice> notes;
    std::exception_ptr failure; // of the whole cycle: nothing of any device could be read or sent
    try {
        if (absent)
            std::rethrow_exception(absent);
        if (unreadable || (!access.started() && !isReadableFolder(folder)))
            throw BridgeClientError::backupAccessLost();
        const std::shared_ptr<const IPhoneBackupScanner> scanner = services.scanner;
        auto discover = [scanner, folder] { return newestPerDevice(scanner->backups(folder)); };
        outcome.devices = co_await onWorkerThread(std::move(discover));
        if (const auto end = work->interruption())
            co_return ended(*end);
        if (outcome.devices.empty())
            throw BridgeClientError::noBackupFound();

        // Only what the parent assigned is read: an iPhone nobody is assigned stays unread,
        // however alone it is in the folder.
        outcome.bindings = services.bindings.bindings();
        emit devicesFound(outcome.devices, outcome.bindings);
        const FamilyOverview family = overviewOf({.children = request.children,
                                                  .childrenKnown = request.childrenKnown,
                                                  .devices = outcome.devices,
                                                  .bindings = outcome.bindings,
                                                  .assignedToNoOne = services.bindings.assignedToNoOne(),
                                                  .earlierChild = std::nullopt,
                                                  .now = outcome.startedAt});
        if (family.toRead.empty()) {
            QStringList unassigned;
            for (const BackupDescriptor& device : family.unassigned)
                unassigned.append(QString::fromStdString(device.deviceName));
            const Notice waiting{NoticeCase::waitingToBeAssigned, unassigned};
            reports.append(texts::reportText(waiting));
            failed.push_back(asFailure(waiting));
        }

        // A backup being written is read once it is finished; the notes say so.
        for (const auto& [backup, childId] : family.toRead) {
            if (backup.isBeingWritten)
                continue;
            const QString name = childName(childId);
            try {
                if (const auto end = co_await uploadDevice(work, backup, childId, scanStamp, tally))
                    co_return ended(*end);
            } catch (...) {
                if (isUnauthorized(std::current_exception()))
                    throw;
                tally.scans[backup.id].failed = true;
                const QString report = texts::reportText(std::current_exception());
                const bool several = family.toRead.size() > 1;
                reports.append(several ? texts::reportForChild(name, report) : report);
                Failure inner = failureOf(std::current_exception());
                failed.push_back(several ? Failure{FailureCase::childFailed, {name}, {std::move(inner)}}
                                         : std::move(inner));
                continue;
            }
        }
        // With nothing assigned, the failure above says all there is to do; a child whose backup
        // could not be read is said once, by its failure.
        if (!family.toRead.empty()) {
            for (const ChildOverview& child : family.children) {
                const bool failed = child.device && tally.scans[child.device->id].failed;
                if (child.attention && !failed)
                    notes.push_back(*child.attention);
            }
            notes.insert(notes.end(), family.familyNotices.begin(), family.familyNotices.end());
        }
        outcome.scans = tally.scans;
        outcome.inspected = tally.inspected;
        outcome.sent = tally.sent;
        outcome.accepted = tally.accepted;
        outcome.alerts = tally.alerts;
        outcome.notes = notes;

        if (reports.empty()) {
            HeartbeatReport report;
            report.status = "active";
            report.lastScanAt = scanStamp;
            if (tally.ingested)
                report.lastIngestAt = scanStamp;
            report.lastProcessedItemHash = tally.lastAccepted;
            if (!notes.empty())
                report.setupIssue = texts::reportText(notes).toStdString();
            co_await api->sendHeartbeat(std::move(report), token);
        }
    } catch (...) {
        failure = std::current_exception();
    }
    if (const auto end = work->interruption())
        co_return ended(*end);
    if (!failure && reports.empty())
        co_return ended(SessionEnd::done);
    if (failure && isUnauthorized(failure))
        co_return ended(SessionEnd::unauthorized); // a heartbeat with the refused token would be refused too

    if (failure) {
        reports = {texts::reportText(failure)};
        failed = {failureOf(failure)};
    }
    if (!notes.empty())
        reports.append(texts::reportText(notes));
    std::ranges::transform(notes, std::back_inserter(failed), asFailure);
    outcome.failure = failed.size() == 1 ? failed.front() : Failure{FailureCase::several, {}, failed};
    HeartbeatReport report;
    report.status = "error";
    report.setupIssue = reports.join(QLatin1Char(' ')).toStdString();
    report.lastScanAt = scanStamp;
    try {
        co_await api->sendHeartbeat(std::move(report), token);
    } catch (...) {
        // The failure is shown whether or not the service heard of it.
    }
    if (const auto end = work->interruption())
        co_return ended(*end);
    co_return ended(SessionEnd::failed);
}

} // namespace quorva
