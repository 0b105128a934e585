#include "platform/ContinuousTimer.h"

#include "model/PlatformError.h"

#include <QTimer>

#include <cerrno>
#include <system_error>

#ifdef __linux__
#include <QSocketNotifier>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>
#else
#include <QElapsedTimer>
#endif

namespace quorva {

using std::chrono::nanoseconds;

#ifdef __linux__

namespace {
timespec toTimespec(nanoseconds value)
{
    const auto ns = value.count();
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}
} // namespace

struct ContinuousTimer::Backend {
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
};

ContinuousTimer::ContinuousTimer(QObject* parent) : QObject(parent), m_backend(std::make_unique<Backend>())
{
    m_backend->fd = timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_backend->fd < 0)
        throw PlatformError("The scan timer could not be created: " +
                            std::error_code(errno, std::generic_category()).message() + ".");
    m_backend->notifier = std::make_unique<QSocketNotifier>(m_backend->fd, QSocketNotifier::Read);
    connect(m_backend->notifier.get(), &QSocketNotifier::activated, this, [this] {
        uint64_t expirations = 0;
        // Reading clears the readable state; a spurious wake-up reads nothing and is ignored.
        if (::read(m_backend->fd, &expirations, sizeof expirations) == sizeof expirations && expirations > 0)
            fire();
    });
}

ContinuousTimer::~ContinuousTimer()
{
    m_backend->notifier.reset();
    ::close(m_backend->fd);
}

nanoseconds ContinuousTimer::now()
{
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return std::chrono::seconds(ts.tv_sec) + nanoseconds(ts.tv_nsec);
}

void ContinuousTimer::startUntil(nanoseconds deadline)
{
    // A zero it_value disarms a timerfd, so the earliest deadline is one nanosecond after boot.
    itimerspec plan{};
    plan.it_value = toTimespec(std::max(deadline, nanoseconds(1)));
    if (timerfd_settime(m_backend->fd, TFD_TIMER_ABSTIME, &plan, nullptr) != 0)
        throw PlatformError("The scan timer could not be set: " +
                            std::error_code(errno, std::generic_category()).message() + ".");
    m_active = true;
}

void ContinuousTimer::stop()
{
    itimerspec disarm{};
    timerfd_settime(m_backend->fd, TFD_TIMER_ABSTIME, &disarm, nullptr);
    uint64_t pending = 0;
    // Drains an expiry that came before the disarm; nothing to do when there was none.
    if (::read(m_backend->fd, &pending, sizeof pending) < 0)
        pending = 0;
    m_active = false;
}

#else

struct ContinuousTimer::Backend {
    QTimer timer;
};

namespace {
const QElapsedTimer& processClock()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock;
}
} // namespace

ContinuousTimer::ContinuousTimer(QObject* parent) : QObject(parent), m_backend(std::make_unique<Backend>())
{
    m_backend->timer.setSingleShot(true);
    m_backend->timer.setTimerType(Qt::PreciseTimer);
    connect(&m_backend->timer, &QTimer::timeout, this, [this] { fire(); });
}

ContinuousTimer::~ContinuousTimer() = default;

nanoseconds ContinuousTimer::now()
{
    return nanoseconds(processClock().nsecsElapsed());
}

void ContinuousTimer::startUntil(nanoseconds deadline)
{
    const auto remaining = std::max(deadline - now(), nanoseconds(0));
    m_backend->timer.start(std::chrono::ceil<std::chrono::milliseconds>(remaining));
    m_active = true;
}

void ContinuousTimer::stop()
{
    m_backend->timer.stop();
    m_active = false;
}

#endif

void ContinuousTimer::start(nanoseconds interval)
{
    startUntil(now() + std::max(interval, nanoseconds(0)));
}

void ContinuousTimer::fire()
{
    if (!m_active)
        return;
    m_active = false;
    emit timeout();
}

} // namespace quorva
