// Start-up and the set-up sequence that follows it and every pairing.
#include "state/BridgeAppState.h"

#include "devices/DeviceBackups.h"
#include "model/BridgeClientError.h"
#include "platform/FolderAccess.h"
#include "platform/WhileAlive.h"
#include "platform/WorkerThread.h"
#include "state/AutomaticScanLoop.h"
#include "state/StateTexts.h"
#include "stores/FolderReference.h"

namespace quorva {

QCoro::Task<> BridgeAppState::start()
{
    // Another Bridge process at work (a CLI scan) finishes first: this one says so, then waits.
    // Each wait returns false also when this object went meanwhile. (One co_await a statement:
    // g++ 12 miscompiles two in one condition.)
    bool writer = co_await becomeTheWriter(std::chrono::milliseconds::zero());
    if (!writer)
        writer = co_await becomeTheWriter(std::chrono::hours(24));
    if (!writer)
        co_return;
    // Watched from the first start on; a second start finds the watcher running.
    if (m_deviceBackups)
        m_deviceBackups->start();
    const bool paired = co_await beginStoredSession();
    if (paired)
        co_await completeSetup();
}

QCoro::Task<> BridgeAppState::resumePairing()
{
    const bool paired = co_await beginStoredSession();
    if (paired)
        co_await loadChildren();
}

QCoro::Task<bool> BridgeAppState::beginStoredSession()
{
    const BridgeTokenStore tokenStore = m_tokenStore;
    QCoro::Task<TokenLookup> read = tokenStore.read();
    const std::optional<TokenLookup> found = co_await whileAlive(this, std::move(read));
    if (!found || m_session)
        co_return false; // gone, or paired meanwhile
    const TokenLookup& stored = *found;
    if (stored.storeUnavailable) {
        // At login the keyring may not be open yet: asking to pair now would make a second bridge.
        setPhase(quorva::Phase::starting());
        setStatusMessage(texts::secretStoreNotAvailable());
        waitForSecretStore();
        co_return false;
    }
    m_secretStoreRetry.reset();
    if (!stored.token) {
        setPhase(quorva::Phase::needsPairing());
        setStatusMessage(texts::pairFromFamilyApp());
        co_return false;
    }
    beginSession(*stored.token);
    co_return true;
}

void BridgeAppState::waitForSecretStore()
{
    if (m_secretStoreRetry)
        return;
    try {
        // The loop is this object's: it calls back no one once destroyed.
        m_secretStoreRetry = std::make_unique<AutomaticScanLoop>(
            [this] { return !m_session; }, [this] { return start(); }, m_platform.secretStoreRetryInterval);
    } catch (const std::exception&) {
        // No timer to be had: the next launch asks again.
    }
}

QCoro::Task<> BridgeAppState::completeSetup()
{
    // Each step goes on only while the session it began with lasts, and this object with it.
    BridgeSession* session = m_session.get();
    if (!session)
        co_return;
    QCoro::Task<> children = loadChildren();
    if (!co_await whileAlive(session, std::move(children)))
        co_return;
    QCoro::Task<> backup = restoreBackupSelection();
    if (!co_await whileAlive(session, std::move(backup)))
        co_return;
    // A failed children request stays on screen: readiness would hide a revoked or broken
    // service behind "ready". The next loop tick or the alert's OK tries again.
    const bool childrenFailed = m_phase.kind() == quorva::Phase::Kind::failed;
    if (!childrenFailed)
        updateReadiness();

    if (!childrenFailed && canScan()) {
        QCoro::Task<> scan = scanNow();
        if (!co_await whileAlive(session, std::move(scan)))
            co_return;
    } else if (!childrenFailed) {
        // What set-up still lacks, then what the family's iPhones need.
        QStringList issues{texts::setupIssue()};
        if (!m_overview.notices.empty())
            issues.append(texts::reportText(m_overview.notices));
        HeartbeatReport report;
        report.status = "error";
        report.setupIssue = issues.join(QLatin1Char(' ')).toStdString();
        // The set-up heartbeat is informational; its failure shows nowhere.
        QCoro::Task<bool> heartbeat = session->heartbeat(std::move(report));
        if (!co_await whileAlive(session, std::move(heartbeat)))
            co_return;
    }
    startAutomaticScanning();
}

QCoro::Task<> BridgeAppState::loadChildren()
{
    BridgeSession* session = m_session.get();
    if (!session)
        co_return;
    QCoro::Task<ChildrenOutcome> request = session->loadChildren();
    const std::optional<ChildrenOutcome> answered = co_await whileAlive(session, std::move(request));
    if (!answered || answered->end == SessionEnd::cancelled)
        co_return; // a new pairing, a disconnect, or this object is gone
    const ChildrenOutcome& outcome = *answered;
    if (outcome.end == SessionEnd::failed) {
        raiseFailure(outcome.failure);
        setStatusMessage(texts::childrenFailed());
        co_return;
    }
    if (outcome.end != SessionEnd::done) {
        handleSessionEnd(outcome.end);
        co_return;
    }
    m_childrenLoaded = true;
    setChildren(outcome.children);
    refreshFamily(); // also when the list is as it was: the family is known now
    updateReadiness();
}

QCoro::Task<> BridgeAppState::restoreBackupSelection()
{
    std::filesystem::path folder;
    try {
        folder = m_services.bookmarks.resolve();
    } catch (const FolderAbsent& absent) {
        // An unplugged disk: the folder stays chosen, with the iPhones last seen in it.
        m_folderAbsent = true;
        setBackupFolder(absent.folder());
        setDevices(m_devices, m_services.bindings.bindings());
        co_return;
    } catch (...) {
        co_return; // nothing stored, or the folder cannot be found again: the selection stays
    }
    m_folderAbsent = false;
    const ScopedFolderAccess access(folder);
    const std::shared_ptr<const IPhoneBackupScanner> scanner = m_services.scanner;
    std::optional<std::vector<BackupDescriptor>> devices;
    try {
        auto discover = [scanner, folder] { return newestPerDevice(scanner->backups(folder)); };
        QCoro::Task<std::vector<BackupDescriptor>> read = onWorkerThread(std::move(discover));
        devices = co_await whileAlive(this, std::move(read));
        if (!devices)
            co_return;
    } catch (...) {
        // A folder that no longer holds a backup leaves no iPhone; set-up reports it.
        devices.emplace();
    }
    setBackupFolder(folder);
    setDevices(std::move(*devices), m_services.bindings.bindings());
    // What set-up lacks may have changed with the folder; a failure or a scan keeps its word.
    const auto kind = m_phase.kind();
    if (kind == quorva::Phase::Kind::needsSetup || kind == quorva::Phase::Kind::ready)
        updateReadiness();
}

} // namespace quorva
