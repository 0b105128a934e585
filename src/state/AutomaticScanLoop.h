#pragma once

#include <QCoroTask>
#include <QObject>

#include <chrono>
#include <functional>

namespace quorva {

// Scans again every interval for as long as it lives: sleep on the continuous clock, then scan
// if allowed, and repeat. Its owner ends it by destroying it; a sleep then ends at once, a scan
// under way is its owner's to end, and neither callback is called again.
class AutomaticScanLoop : public QObject {
    Q_OBJECT

public:
    using CanScan = std::function<bool()>;
    using Scan = std::function<QCoro::Task<>()>;

    // Starts at once; the first scan comes one interval later, never immediately.
    AutomaticScanLoop(CanScan canScan, Scan scan, std::chrono::milliseconds interval,
                      QObject* parent = nullptr);

private:
    QCoro::Task<> run();

    CanScan m_canScan;
    Scan m_scan;
    std::chrono::milliseconds m_interval;
};

} // namespace quorva
