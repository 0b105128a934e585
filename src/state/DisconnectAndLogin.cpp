// Forgetting the pairing, launch at login and the automatic loop's lifetime.
#include "state/BridgeAppState.h"

#include "state/AutomaticScanLoop.h"
#include "state/LoginItem.h"
#include "state/StateTexts.h"
#include "stores/Preferences.h"

#include <QPointer>

namespace quorva {

namespace {

// Holds the state weakly: a loop must not keep a destroyed state's scan going.
QCoro::Task<> scanIfAlive(QPointer<BridgeAppState> state)
{
    if (state)
        co_await state->scanNow();
}

} // namespace

QCoro::Task<bool> BridgeAppState::becomeTheWriter(std::chrono::milliseconds patience)
{
    QPointer<BridgeAppState> self(this);
    const std::shared_ptr<UserLock> lock = m_services.lock;
    UserLock::Hold hold = co_await lock->acquire(patience);
    if (!self)
        co_return false;
    if (!hold) {
        raiseFailure(texts::busyElsewhere());
        co_return false;
    }
    m_writer = std::move(hold);
    co_return true;
}

QCoro::Task<> BridgeAppState::disconnect()
{
    // This process's own work ends at once: its results are of a pairing that is being forgotten.
    if (m_pairingAttempt)
        *m_pairingAttempt = true;
    m_pairingAttempt.reset();
    endSession();
    // The deletion is sent first and awaited last, so everything else happens without a pause
    // and a pairing that follows writes its token after this deletion.
    const BridgeTokenStore tokenStore = m_tokenStore;
    QCoro::Task<> removal = tokenStore.remove();
    m_services.bookmarks.clear();
    m_services.checkpoint.clear();
    m_services.bindings.clear();
    setChildren({});
    setSelectedChildID(std::nullopt);
    setDevices({}, {});
    setPhase(quorva::Phase::needsPairing());
    setStatusMessage(texts::pairFromFamilyApp());
    try {
        co_await removal;
    } catch (...) {
        // A missing or unreachable item is as good as a deleted one here.
    }
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
        raiseFailure(texts::launchAtLoginFailed());
}

void BridgeAppState::startAutomaticScanning()
{
    m_automaticScanTask.reset();
    QPointer<BridgeAppState> self(this);
    try {
        m_automaticScanTask = std::make_unique<AutomaticScanLoop>([self] { return self && self->canScan(); },
                                                                  [self] { return scanIfAlive(self); },
                                                                  m_platform.automaticScanInterval);
    } catch (const std::exception&) {
        // No timer to be had (descriptors exhausted): scans still run from the window and start-up.
    }
}

} // namespace quorva
