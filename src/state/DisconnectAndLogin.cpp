// Forgetting the pairing, and launch at login.
#include "state/BridgeAppState.h"

#include "platform/LoginItem.h"
#include "platform/WhileAlive.h"
#include "state/PairingAttempt.h"
#include "state/StateTexts.h"

namespace quorva {

QCoro::Task<bool> BridgeAppState::becomeTheWriter(std::chrono::milliseconds patience)
{
    const std::shared_ptr<UserLock> lock = m_services.lock;
    QCoro::Task<UserLock::Hold> acquired = lock->acquire(patience);
    const std::optional<UserLock::Hold> held = co_await whileAlive(this, std::move(acquired));
    if (!held)
        co_return false;
    UserLock::Hold hold = *held;
    if (!hold) {
        raiseFailure({FailureCase::busyElsewhere, {}, {}});
        co_return false;
    }
    m_writer = std::move(hold);
    co_return true;
}

QCoro::Task<> BridgeAppState::disconnect()
{
    // This process's own work ends at once: its results are of a pairing that is being forgotten.
    if (m_pairing)
        m_pairing->cancel();
    m_pairing.reset();
    const std::optional<std::string> token = this->token();
    endSession();
    // The token goes first: while the store keeps it (locked, out of reach), the pairing would
    // come back at the next start, so nothing else is forgotten and the parent is told.
    const BridgeTokenStore tokenStore = m_tokenStore;
    QCoro::Task<bool> forgetting = tokenStore.forget();
    const std::optional<bool> forgotten = co_await whileAlive(this, std::move(forgetting));
    if (!forgotten)
        co_return;
    if (!*forgotten) {
        if (token && !m_session) {
            beginSession(*token);
            startAutomaticScanning();
        }
        raiseFailure({FailureCase::tokenNotForgotten, {}, {}});
        setStatusMessage(texts::disconnectFailed());
        co_return;
    }
    m_services.bookmarks.clear();
    m_services.checkpoint.clear();
    m_services.bindings.clear();
    setChildren({});
    try {
        m_preferences.remove(texts::earlierChildKey);
    } catch (const std::exception&) {
        // Only ever a proposal, and the family it named is being left.
    }
    m_earlierChild.reset();
    m_childrenLoaded = false;
    m_lastScans.clear();
    setBackupFolder(std::nullopt);
    setDevices({}, {});
    setPhase(quorva::Phase::needsPairing());
    setStatusMessage(texts::pairFromFamilyApp());
}

void BridgeAppState::setLaunchAtLogin(bool enabled)
{
    const std::shared_ptr<LoginItem> item = m_platform.loginItem;
    bool refused = !item;
    if (item) {
        try {
            if (enabled)
                item->registerItem();
            else
                item->unregisterItem();
        } catch (...) {
            refused = true;
        }
    }
    // Re-read in either case so the switch shows what is really registered.
    setLaunchesAtLogin(item && item->status() == LoginItem::Status::enabled);
    if (refused)
        raiseFailure({FailureCase::launchAtLoginFailed, {}, {}});
}

} // namespace quorva
