// Pairing with a code from the family app, and choosing the backup folder.
#include "state/BridgeAppState.h"

#include "model/BridgeClientError.h"
#include "state/AutomaticScanLoop.h"
#include "state/FolderAccess.h"
#include "state/PairingCode.h"
#include "state/StateTexts.h"
#include "state/WorkerThread.h"
#include "stores/Preferences.h"

#include <QDir>
#include <QPointer>

namespace quorva {

namespace {

std::optional<std::filesystem::path> defaultBackupFolder()
{
    const std::filesystem::path folder = std::filesystem::path(QDir::homePath().toStdString()) /
                                         "Library/Application Support/MobileSync/Backup";
    std::error_code error;
    if (std::filesystem::exists(folder, error))
        return folder;
    return std::nullopt;
}

} // namespace

QCoro::Task<> BridgeAppState::pair()
{
    const QString code = normalizedPairingCode(m_pairingCode);
    if (pairingCodeLength(code) < 6) {
        raiseFailure(texts::enterPairingCode());
        co_return;
    }
    // One pairing at a time: a newer one or a disconnect ends this one. This object going does
    // not: a code the service has redeemed must still be kept, or it was spent for nothing.
    QPointer<BridgeAppState> self(this);
    if (m_pairingAttempt)
        *m_pairingAttempt = true;
    const auto cancelled = std::make_shared<bool>(false);
    m_pairingAttempt = cancelled;
    // What the current pairing has in flight ends now; should this pairing fail, that one goes on
    // with fresh work.
    interruptSession();
    setPhase(quorva::Phase::starting());
    setStatusMessage(texts::pairing());

    // Copies: the requests must not reach into this object, which may go meanwhile.
    const std::shared_ptr<BridgeAPI> api = m_services.api;
    const BridgeTokenStore tokenStore = m_tokenStore;
    const UploadCheckpointStore checkpoint = m_services.checkpoint;

    std::string bridgeToken;
    std::optional<QString> failure;
    try {
        // Named arguments: g++ 12 destroys temporaries passed to an awaited coroutine twice.
        std::string normalized = code.toStdString();
        std::string name = bridgeName();
        const BridgeRedeemResponse response = co_await api->redeem(std::move(normalized), std::move(name));
        bridgeToken = response.bridgeToken;
    } catch (...) {
        failure = texts::failureText(std::current_exception());
    }
    if (*cancelled)
        co_return;
    if (!failure) {
        try {
            // Stored before it is kept in memory: a token only in memory would be lost at the next launch.
            co_await tokenStore.save(bridgeToken);
        } catch (...) {
            failure = texts::secretStoreRefusedPairing();
        }
        if (*cancelled) {
            // Disconnected while the store was writing: what it wrote is of a forgotten pairing.
            co_await tokenStore.remove();
            co_return;
        }
    }
    if (!failure) {
        // What the pairing before was sent, this one's family has not received.
        try {
            checkpoint.clear();
        } catch (const std::exception&) {
            // Left over, it only holds back what the old pairing already has.
        }
    }
    if (!self)
        co_return; // kept for the next launch all the same
    if (failure) {
        raiseFailure(*failure);
        setStatusMessage(texts::pairingFailed());
        co_return;
    }
    m_pairingAttempt.reset();
    m_secretStoreRetry.reset();
    beginSession(bridgeToken);
    setPairingCode(QString());
    co_await completeSetup(m_session);
}

QCoro::Task<> BridgeAppState::chooseBackupFolder()
{
    QPointer<BridgeAppState> self(this);
    const auto chooseFolder = m_platform.chooseFolder;
    if (!chooseFolder)
        co_return;
    const FolderChooserRequest request{texts::chooserTitle(), texts::chooserMessage(),
                                       texts::chooserConfirm(), defaultBackupFolder()};
    std::optional<std::filesystem::path> chosen;
    std::optional<QString> failure;
    try {
        chosen = co_await chooseFolder(request);
    } catch (...) {
        failure = texts::failureText(std::current_exception());
    }
    if (!self || (!chosen && !failure))
        co_return;
    if (failure) {
        raiseFailure(*failure);
        setStatusMessage(texts::backupSetupFailed());
        co_return;
    }
    co_await useBackupFolder(*chosen);
}

QCoro::Task<> BridgeAppState::useBackupFolder(std::filesystem::path folder)
{
    QPointer<BridgeAppState> self(this);
    std::vector<BackupDescriptor> devices;
    std::optional<QString> failure;
    const ScopedFolderAccess access(folder);
    try {
        const std::shared_ptr<const IPhoneBackupScanner> scanner = m_services.scanner;
        auto discover = [scanner, folder] { return scanner->backups(folder); };
        const std::vector<BackupDescriptor> backups = co_await onWorkerThread(std::move(discover));
        if (!self)
            co_return;
        if (backups.empty())
            throw BridgeClientError::noBackupFound();
        // The folder itself is remembered, not the backup in it: the next scan takes the newest again.
        m_services.bookmarks.save(folder);
        devices = newestPerDevice(backups);
    } catch (...) {
        failure = texts::failureText(std::current_exception());
    }
    if (failure) {
        raiseFailure(*failure);
        setStatusMessage(texts::backupSetupFailed());
        co_return;
    }
    setDevices(std::move(devices), m_services.bindings.bindings());
    const std::optional<BackupDescriptor>& backup = m_selectedBackup;
    setPhase(m_selectedChildID || !m_bindings.empty() ? quorva::Phase::ready() : quorva::Phase::needsSetup());
    setStatusMessage(backup->isEncrypted ? texts::encryptedBackupChosen()
                                         : texts::readyToScan(QString::fromStdString(backup->deviceName)));
}

} // namespace quorva
