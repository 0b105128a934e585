#pragma once

#include <QObject>

#include <chrono>
#include <memory>

namespace quorva {

// A single-shot timer on a clock that keeps counting while the computer sleeps, so a deadline
// that passed during a suspend fires as soon as the computer wakes. Linux: a timerfd on
// CLOCK_BOOTTIME watched by the event loop (no wake-ups while waiting); elsewhere a Qt timer.
class ContinuousTimer : public QObject {
    Q_OBJECT

public:
    explicit ContinuousTimer(QObject* parent = nullptr);
    ~ContinuousTimer() override;

    // The continuous clock's reading: time since boot, suspend included.
    [[nodiscard]] static std::chrono::nanoseconds now();

    // Fires timeout() once, `interval` from now; replaces any earlier deadline.
    void start(std::chrono::nanoseconds interval);
    // Fires timeout() once the continuous clock reaches `deadline`; at once when it has passed.
    void startUntil(std::chrono::nanoseconds deadline);
    void stop();
    [[nodiscard]] bool isActive() const { return m_active; }

signals:
    void timeout();

private:
    void fire();

    struct Backend;
    std::unique_ptr<Backend> m_backend;
    bool m_active = false;
};

} // namespace quorva
