// Start-up and the set-up sequence that follows it and every pairing.
#include "state/BridgeAppState.h"

#include "model/BridgeClientError.h"
#include "state/FolderAccess.h"
#include "state/StateTexts.h"

#include <QPointer>

namespace quorva {

QCoro::Task<> BridgeAppState::start()
{
    QPointer<BridgeAppState> self(this);
    const BridgeTokenStore tokenStore = m_tokenStore;
    std::optional<std::string> token;
    try {
        token = co_await tokenStore.read();
    } catch (...) {
        // An unreadable secret store counts as no token: the user is asked to pair.
    }
    if (!self)
        co_return;
    setToken(token);
    if (!m_token) {
        setPhase(Phase::needsPairing());
        setStatusMessage(texts::pairFromFamilyApp);
        co_return;
    }
    co_await completeSetup();
}

QCoro::Task<> BridgeAppState::completeSetup()
{
    QPointer<BridgeAppState> self(this);
    co_await loadChildren();
    if (!self)
        co_return;
    restoreBackupSelection();
    // Replaces whatever loadChildren left, a failure included.
    updateReadiness();

    if (canScan()) {
        co_await scanNow();
        if (!self)
            co_return;
    } else if (m_token) {
        const QString issue = m_selectedBackup && m_selectedBackup->isEncrypted
                                  ? QString::fromStdString(BridgeClientError::encryptedBackup().description())
                                  : texts::setupIssue;
        const std::shared_ptr<BridgeAPI> api = m_api;
        HeartbeatReport report;
        report.status = "error";
        report.setupIssue = issue.toStdString();
        try {
            co_await api->sendHeartbeat(std::move(report), *m_token);
        } catch (...) {
            // The set-up heartbeat is informational; its failure shows nowhere.
        }
        if (!self)
            co_return;
    }
    startAutomaticScanning();
}

QCoro::Task<> BridgeAppState::loadChildren()
{
    QPointer<BridgeAppState> self(this);
    if (!m_token)
        co_return;
    const std::string token = *m_token;
    const std::shared_ptr<BridgeAPI> api = m_api;
    BridgeChildrenResponse response;
    std::optional<QString> failure;
    try {
        response = co_await api->fetchChildren(token);
    } catch (...) {
        failure = texts::failureText(std::current_exception());
    }
    if (!self)
        co_return;
    if (failure) {
        setPhase(Phase::failed(*failure));
        setStatusMessage(texts::childrenFailed);
        co_return;
    }
    // The children of a pairing that was disconnected or replaced meanwhile would select and
    // store a child of a family this computer no longer belongs to.
    if (m_token != token)
        co_return;
    setChildren(std::move(response.children));
    if (m_selectedChildID && std::none_of(m_children.begin(), m_children.end(),
                                          [&](const BridgeChild& c) { return c.id == *m_selectedChildID; }))
        setSelectedChildID(std::nullopt);
    if (!m_selectedChildID && m_children.size() == 1)
        setSelectedChildID(m_children.front().id);
    updateReadiness();
}

void BridgeAppState::restoreBackupSelection()
{
    std::filesystem::path folder;
    try {
        folder = m_bookmarkStore.resolve();
    } catch (...) {
        return; // nothing stored, or the folder cannot be found again: the selection stays
    }
    const ScopedFolderAccess access(folder);
    std::optional<BackupDescriptor> newest;
    try {
        const std::vector<BackupDescriptor> backups = m_scanner.backups(folder);
        if (!backups.empty())
            newest = backups.front();
    } catch (...) {
        // A folder that no longer holds a backup leaves no selection; set-up reports it.
    }
    setSelectedBackup(std::move(newest));
}

} // namespace quorva
