// Pairing with a code from the family app, and choosing the backup folder.
#include "state/BridgeAppState.h"

#include "model/BridgeClientError.h"
#include "state/FolderAccess.h"
#include "state/PairingCode.h"
#include "state/StateTexts.h"

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
    QPointer<BridgeAppState> self(this);
    const QString code = normalizedPairingCode(m_pairingCode);
    if (pairingCodeLength(code) < 6) {
        setPhase(Phase::failed(texts::enterPairingCode));
        co_return;
    }
    setPhase(Phase::starting());
    setStatusMessage(texts::pairing);

    // Copies: the requests must not reach into this object if it goes away meanwhile.
    const std::shared_ptr<BridgeAPI> api = m_api;
    const BridgeTokenStore tokenStore = m_tokenStore;
    std::string bridgeToken;
    std::optional<QString> failure;
    try {
        // Named arguments: g++ 12 destroys temporaries passed to an awaited coroutine twice.
        std::string normalized = code.toStdString();
        std::string name = bridgeName();
        const BridgeRedeemResponse response = co_await api->redeem(std::move(normalized), std::move(name));
        bridgeToken = response.bridgeToken;
        // Stored before it is kept in memory: a token only in memory would be lost at the next launch.
        co_await tokenStore.save(bridgeToken);
    } catch (...) {
        failure = texts::failureText(std::current_exception());
    }
    if (!self)
        co_return;
    if (failure) {
        setPhase(Phase::failed(*failure));
        setStatusMessage(texts::pairingFailed);
        co_return;
    }
    setToken(bridgeToken);
    setPairingCode(QString());
    co_await completeSetup();
}

QCoro::Task<> BridgeAppState::chooseBackupFolder()
{
    QPointer<BridgeAppState> self(this);
    const auto chooseFolder = m_platform.chooseFolder;
    if (!chooseFolder)
        co_return;
    const FolderChooserRequest request{texts::chooserTitle, texts::chooserMessage, texts::chooserConfirm,
                                       defaultBackupFolder()};
    std::optional<std::filesystem::path> chosen;
    std::optional<QString> failure;
    try {
        chosen = co_await chooseFolder(request);
    } catch (...) {
        failure = texts::failureText(std::current_exception());
    }
    if (!self || (!chosen && !failure))
        co_return;

    std::optional<BackupDescriptor> backup;
    if (!failure) {
        const ScopedFolderAccess access(*chosen);
        try {
            const std::vector<BackupDescriptor> backups = m_scanner.backups(*chosen);
            if (backups.empty())
                throw BridgeClientError::noBackupFound();
            // The folder itself is remembered, not the backup in it: the next scan takes the newest again.
            m_bookmarkStore.save(*chosen);
            backup = backups.front();
        } catch (...) {
            failure = texts::failureText(std::current_exception());
        }
    }
    if (failure) {
        setPhase(Phase::failed(*failure));
        setStatusMessage(texts::backupSetupFailed);
        co_return;
    }
    setSelectedBackup(backup);
    setPhase(m_selectedChildID ? Phase::ready() : Phase::needsSetup());
    setStatusMessage(backup->isEncrypted
                         ? texts::encryptedBackupChosen
                         : texts::readyToScanPrefix + QString::fromStdString(backup->deviceName));
}

} // namespace quorva
