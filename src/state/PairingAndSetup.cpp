// Pairing with a code from the family app, and choosing the backup folder.
#include "state/BridgeAppState.h"

#include "model/BridgeClientError.h"
#include "platform/FolderAccess.h"
#include "platform/WhileAlive.h"
#include "platform/WorkerThread.h"
#include "state/AutomaticScanLoop.h"
#include "state/PairingAttempt.h"
#include "state/PairingCode.h"
#include "state/StateTexts.h"

#include <QDir>

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
        raiseFailure({FailureCase::pairingCodeMissing, {}, {}});
        co_return;
    }
    // One pairing at a time: a newer one or a disconnect cancels this one.
    if (m_pairing)
        m_pairing->cancel();
    m_pairing = std::make_unique<PairingAttempt>(m_services.api, m_tokenStore, m_services.checkpoint);
    PairingAttempt* attempt = m_pairing.get();
    // What the current pairing has in flight ends now; should this pairing fail, that one goes on
    // with fresh work.
    interruptSession();
    setPhase(quorva::Phase::starting());
    setStatusMessage(texts::pairing());

    // Named arguments: g++ 12 destroys temporaries passed to an awaited coroutine twice.
    std::string normalized = code.toStdString();
    std::string name = bridgeName();
    QCoro::Task<PairingOutcome> redeem = attempt->run(std::move(normalized), std::move(name));
    const std::optional<PairingOutcome> outcome = co_await whileAlive(attempt, std::move(redeem));
    if (!outcome || outcome->cancelled)
        co_return; // a newer pairing, a disconnect, or this object is gone
    m_pairing.reset();
    if (outcome->failure) {
        raiseFailure(*outcome->failure);
        setStatusMessage(texts::pairingFailed());
        co_return;
    }
    m_secretStoreRetry.reset();
    beginSession(outcome->token);
    setPairingCode(QString());
    co_await completeSetup();
}

QCoro::Task<> BridgeAppState::chooseBackupFolder()
{
    const auto chooseFolder = m_platform.chooseFolder;
    if (!chooseFolder)
        co_return;
    FolderChooserRequest request{texts::chooserTitle(), texts::chooserMessage(), texts::chooserConfirm(),
                                 defaultBackupFolder(), std::nullopt};
    try {
        request.lastChosenFolder = m_services.bookmarks.resolve();
    } catch (...) {
        // None chosen yet, or gone: the chooser's other places will do.
    }
    std::optional<std::optional<std::filesystem::path>> chosen;
    std::optional<Failure> failure;
    try {
        QCoro::Task<std::optional<std::filesystem::path>> asked = chooseFolder(request);
        chosen = co_await whileAlive(this, std::move(asked));
        if (!chosen)
            co_return; // this object went while the chooser was open
    } catch (...) {
        failure = failureOf(std::current_exception());
    }
    if (!failure && !*chosen)
        co_return;
    if (failure) {
        raiseFailure(*failure);
        setStatusMessage(texts::backupSetupFailed());
        co_return;
    }
    co_await useBackupFolder(**chosen);
}

QCoro::Task<> BridgeAppState::useBackupFolder(std::filesystem::path folder)
{
    std::vector<BackupDescriptor> devices;
    std::optional<Failure> failure;
    const ScopedFolderAccess access(folder);
    try {
        const std::shared_ptr<const IPhoneBackupScanner> scanner = m_services.scanner;
        auto discover = [scanner, folder] { return scanner->backups(folder); };
        QCoro::Task<std::vector<BackupDescriptor>> read = onWorkerThread(std::move(discover));
        const std::optional<std::vector<BackupDescriptor>> backups =
            co_await whileAlive(this, std::move(read));
        if (!backups)
            co_return;
        if (backups->empty())
            throw BridgeClientError::noBackupFound();
        // The folder itself is remembered, not the backup in it: the next scan takes the newest again.
        m_services.bookmarks.save(folder);
        devices = newestPerDevice(*backups);
    } catch (...) {
        failure = failureOf(std::current_exception());
    }
    if (failure) {
        raiseFailure(*failure);
        setStatusMessage(texts::backupSetupFailed());
        co_return;
    }
    m_folderAbsent = false;
    setBackupFolder(folder);
    setDevices(std::move(devices), m_services.bindings.bindings());
    // Nothing is read until the parent says whose iPhone each backup is.
    updateReadiness();
}

} // namespace quorva
