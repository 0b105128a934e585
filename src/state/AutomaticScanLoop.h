#pragma once

#include <QCoroTask>

#include <chrono>
#include <functional>
#include <memory>

namespace quorva {

// The background loop that scans again every interval while the application runs: sleep on
// the continuous clock, then scan if allowed, and repeat until cancelled. It knows the state
// only through the two callbacks, which it never calls once cancelled or destroyed.
class AutomaticScanLoop {
public:
    using CanScan = std::function<bool()>;
    using Scan = std::function<QCoro::Task<>()>;

    // Starts at once; the first scan comes one interval later, never immediately.
    AutomaticScanLoop(CanScan canScan, Scan scan, std::chrono::milliseconds interval);
    // Cancels the loop.
    ~AutomaticScanLoop();

    AutomaticScanLoop(const AutomaticScanLoop&) = delete;
    AutomaticScanLoop& operator=(const AutomaticScanLoop&) = delete;

    // Wakes a sleeping loop at once so it ends; a running scan is awaited to its end first.
    void cancel();
    [[nodiscard]] bool isCancelled() const;
    // True once the loop body has returned.
    [[nodiscard]] bool hasEnded() const;

    struct Control;

private:
    std::shared_ptr<Control> m_control;
};

} // namespace quorva
