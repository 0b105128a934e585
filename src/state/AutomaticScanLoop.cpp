#include "state/AutomaticScanLoop.h"

#include "platform/ContinuousTimer.h"
#include "platform/WhileAlive.h"

#include <QCoroSignal>

namespace quorva {

namespace {

// The timer lives in this frame, so the sleep always ends: at the deadline, or at once when
// `owner` goes, instead of holding a timer for half an hour after its loop is gone.
QCoro::Task<> sleepWhileAlive(QObject* owner, std::chrono::milliseconds interval)
{
    ContinuousTimer timer;
    QObject::connect(owner, &QObject::destroyed, &timer,
                     [&timer] { timer.startUntil(ContinuousTimer::now()); });
    timer.start(interval);
    co_await qCoro(&timer, &ContinuousTimer::timeout);
}

} // namespace

AutomaticScanLoop::AutomaticScanLoop(CanScan canScan, Scan scan, std::chrono::milliseconds interval,
                                     QObject* parent)
    : QObject(parent), m_canScan(std::move(canScan)), m_scan(std::move(scan)), m_interval(interval)
{
    startOwned(this, run());
}

QCoro::Task<> AutomaticScanLoop::run()
{
    for (;;) {
        try {
            QCoro::Task<> sleep = sleepWhileAlive(this, m_interval);
            if (!co_await whileAlive(this, std::move(sleep)))
                co_return;
        } catch (const std::exception&) {
            co_return; // no timer to be had: scans still run from the window and at start-up
        }
        if (!m_canScan())
            continue;
        QCoro::Task<> scan = m_scan();
        if (!co_await whileAlive(this, std::move(scan)))
            co_return;
    }
}

} // namespace quorva
