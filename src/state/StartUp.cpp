// Start-up and the set-up sequence that follows it and every pairing.
#include "state/BridgeAppState.h"

#include "model/BridgeClientError.h"
#include "state/AutomaticScanLoop.h"
#include "state/DeviceBackups.h"
#include "state/FolderAccess.h"
#include "state/StateTexts.h"
#include "state/WorkerThread.h"
#include "stores/Preferences.h"

#include <QPointer>

namespace quorva {

QCoro::Task<> BridgeAppState::start()
{
    QPointer<BridgeAppState> self(this);
    // Another Bridge process at work (a CLI scan) finishes first: this one says so, then waits.
    if (!co_await becomeTheWriter(std::chrono::milliseconds::zero())) {
        if (!self || !co_await becomeTheWriter(std::chrono::hours(24)) || !self)
            co_return;
    }
    // Watched from the first start on; a second start finds the watcher running.
    if (m_deviceBackups)
        m_deviceBackups->start();
    if (co_await beginStoredSession() && self)
        co_await completeSetup(m_session);
}

QCoro::Task<> BridgeAppState::resumePairing()
{
    QPointer<BridgeAppState> self(this);
    if (co_await beginStoredSession() && self)
        co_await loadChildren();
}

QCoro::Task<bool> BridgeAppState::beginStoredSession()
{
    QPointer<BridgeAppState> self(this);
    const BridgeTokenStore tokenStore = m_tokenStore;
    const TokenLookup stored = co_await tokenStore.read();
    if (!self || m_session)
        co_return false; // gone, or paired meanwhile
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
    QPointer<BridgeAppState> self(this);
    try {
        m_secretStoreRetry = std::make_unique<AutomaticScanLoop>([self] { return self && !self->m_session; },
                                                                 [self]() -> QCoro::Task<> {
                                                                     if (self)
                                                                         co_await self->start();
                                                                 },
                                                                 m_platform.secretStoreRetryInterval);
    } catch (const std::exception&) {
        // No timer to be had: the next launch asks again.
    }
}

QCoro::Task<> BridgeAppState::completeSetup(std::shared_ptr<BridgeSession> session)
{
    co_await loadChildren();
    if (session->isCancelled())
        co_return;
    co_await restoreBackupSelection();
    if (session->isCancelled())
        co_return;
    // A failed children request stays on screen: readiness would hide a revoked or broken
    // service behind "ready". The next loop tick or the alert's OK tries again.
    const bool childrenFailed = m_phase.kind() == quorva::Phase::Kind::failed;
    if (!childrenFailed)
        updateReadiness();

    if (!childrenFailed && canScan()) {
        co_await scanNow();
    } else if (!childrenFailed) {
        const QString issue = m_selectedBackup && m_selectedBackup->isEncrypted
                                  ? QString::fromStdString(BridgeClientError::encryptedBackup().description())
                                  : texts::setupIssue();
        HeartbeatReport report;
        report.status = "error";
        report.setupIssue = issue.toStdString();
        // The set-up heartbeat is informational; its failure shows nowhere.
        (void)co_await session->heartbeat(std::move(report));
    }
    if (!session->isCancelled())
        startAutomaticScanning();
}

QCoro::Task<> BridgeAppState::loadChildren()
{
    const std::shared_ptr<BridgeSession> session = m_session;
    if (!session)
        co_return;
    const ChildrenOutcome outcome = co_await session->loadChildren();
    if (outcome.end == SessionEnd::cancelled)
        co_return; // a new pairing, a disconnect, or this object is gone
    if (outcome.end == SessionEnd::failed) {
        raiseFailure(outcome.failure);
        setStatusMessage(texts::childrenFailed());
        co_return;
    }
    if (outcome.end != SessionEnd::done) {
        handleSessionEnd(session, outcome.end);
        co_return;
    }
    setChildren(outcome.children);
    if (m_selectedChildID && std::none_of(m_children.begin(), m_children.end(),
                                          [&](const BridgeChild& c) { return c.id == *m_selectedChildID; }))
        setSelectedChildID(std::nullopt);
    if (!m_selectedChildID && m_children.size() == 1)
        setSelectedChildID(m_children.front().id);
    updateReadiness();
}

QCoro::Task<> BridgeAppState::restoreBackupSelection()
{
    std::filesystem::path folder;
    try {
        folder = m_services.bookmarks.resolve();
    } catch (...) {
        co_return; // nothing stored, or the folder cannot be found again: the selection stays
    }
    const ScopedFolderAccess access(folder);
    const std::shared_ptr<const IPhoneBackupScanner> scanner = m_services.scanner;
    QPointer<BridgeAppState> self(this);
    std::vector<BackupDescriptor> devices;
    try {
        auto discover = [scanner, folder] { return newestPerDevice(scanner->backups(folder)); };
        devices = co_await onWorkerThread(std::move(discover));
    } catch (...) {
        // A folder that no longer holds a backup leaves no selection; set-up reports it.
    }
    if (self)
        setDevices(std::move(devices), m_services.bindings.bindings());
}

} // namespace quorva
