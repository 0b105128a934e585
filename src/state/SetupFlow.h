#pragma once

#include <QCoroTask>
#include <QObject>

namespace quorva {

class BridgeSession;
class FlowHost;
class ScanFlow;

// What follows start-up and every pairing, for one pairing: the children, the stored backup
// folder, then the first scan, or a heartbeat that says what set-up lacks, then the schedule.
// Owned by the pairing's session; when it goes, nothing of it resumes.
class SetupFlow : public QObject {
    Q_OBJECT

public:
    SetupFlow(BridgeSession& session, ScanFlow& scans, FlowHost& host);

    [[nodiscard]] QCoro::Task<> run();
    // The children alone; false when set-up goes no further (a failure is shown, or the
    // service refused the pairing).
    [[nodiscard]] QCoro::Task<bool> loadChildren();

private:
    BridgeSession& m_session;
    ScanFlow& m_scans;
    FlowHost& m_host;
};

} // namespace quorva
