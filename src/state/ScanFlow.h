#pragma once

#include <QCoroTask>
#include <QObject>

#include <chrono>
#include <memory>

namespace quorva {

class AutomaticScanLoop;
class BridgeSession;
class FlowHost;

// The scan cycles of one pairing: one at a time, those asked for while one runs joined into the
// one that follows, and the schedule that asks every interval. Owned by the pairing's session;
// when it goes, nothing of it resumes.
class ScanFlow : public QObject {
    Q_OBJECT

public:
    ScanFlow(BridgeSession& session, FlowHost& host, std::chrono::milliseconds interval);
    ~ScanFlow() override;

    // One cycle. Asked for while one runs, it joins the one cycle that follows the running one,
    // however many ask: it returns when that one has ended.
    [[nodiscard]] QCoro::Task<> scanNow();
    // After a backup made here: the folder looked at again, then a cycle if one may run.
    [[nodiscard]] QCoro::Task<> scanNewBackup();
    // Scans every interval from now on, while a cycle may run.
    void startAutomatic();
    [[nodiscard]] bool isAutomatic() const { return m_loop != nullptr; }

signals:
    // A cycle of scanNow() ended; delivered from the event loop, never inside the cycle.
    void roundFinished();

private:
    [[nodiscard]] QCoro::Task<> runCycle();

    BridgeSession& m_session;
    FlowHost& m_host;
    std::chrono::milliseconds m_interval;
    bool m_cycleRunning = false;
    bool m_followUpAsked = false;
    quint64 m_roundsStarted = 0;
    quint64 m_roundsFinished = 0;
    std::unique_ptr<AutomaticScanLoop> m_loop;
};

} // namespace quorva
