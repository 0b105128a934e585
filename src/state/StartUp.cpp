// Start-up: the lock, the stored pairing, and the stored folder looked at again.
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
    // The loop is this object's: it calls back no one once destroyed.
    m_secretStoreRetry = std::make_unique<AutomaticScanLoop>(
        [this] { return !m_session; }, [this] { return start(); }, m_platform.secretStoreRetryInterval);
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
