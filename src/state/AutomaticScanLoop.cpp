#include "state/AutomaticScanLoop.h"

#include "platform/ContinuousTimer.h"

#include <QCoreApplication>
#include <QTimer>

#include <coroutine>

namespace quorva {

// Shared by the handle and the running loop body, so the body can finish after the handle
// is gone (a cancelled loop still has to wake up and return).
struct AutomaticScanLoop::Control {
    AutomaticScanLoop::CanScan canScan;
    AutomaticScanLoop::Scan scan;
    std::chrono::milliseconds interval;
    ContinuousTimer timer;
    std::coroutine_handle<> sleeper;
    bool cancelled = false;
    bool ended = false;

    void wake()
    {
        if (auto handle = std::exchange(sleeper, {}))
            handle.resume();
    }
};

namespace {

// Suspends the loop until the timer fires or the loop is cancelled.
struct Sleep {
    AutomaticScanLoop::Control& control;

    [[nodiscard]] bool await_ready() const noexcept { return control.cancelled; }
    void await_suspend(std::coroutine_handle<> handle)
    {
        control.sleeper = handle;
        control.timer.start(control.interval);
    }
    void await_resume() const noexcept {}
};

QCoro::Task<> runLoop(std::shared_ptr<AutomaticScanLoop::Control> control)
{
    while (!control->cancelled) {
        co_await Sleep{*control};
        if (control->cancelled)
            break;
        if (control->canScan())
            co_await control->scan();
    }
    control->ended = true;
}

} // namespace

AutomaticScanLoop::AutomaticScanLoop(CanScan canScan, Scan scan, std::chrono::milliseconds interval)
    : m_control(std::make_shared<Control>())
{
    m_control->canScan = std::move(canScan);
    m_control->scan = std::move(scan);
    m_control->interval = interval;
    QObject::connect(&m_control->timer, &ContinuousTimer::timeout, &m_control->timer,
                     [control = m_control.get()] { control->wake(); });
    // The body's frame keeps the control alive; dropping the task does not stop it.
    (void)runLoop(m_control);
}

AutomaticScanLoop::~AutomaticScanLoop()
{
    cancel();
}

void AutomaticScanLoop::cancel()
{
    if (m_control->cancelled)
        return;
    m_control->cancelled = true;
    m_control->timer.stop();
    if (!m_control->sleeper)
        return;
    // Resumed from the event loop, not from inside the caller (often a destructor).
    QTimer::singleShot(0, QCoreApplication::instance(), [control = m_control] { control->wake(); });
}

bool AutomaticScanLoop::isCancelled() const
{
    return m_control->cancelled;
}

bool AutomaticScanLoop::hasEnded() const
{
    return m_control->ended;
}

} // namespace quorva
