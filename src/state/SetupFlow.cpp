#include "state/SetupFlow.h"

#include "platform/WhileAlive.h"
#include "state/BridgeSession.h"
#include "state/FlowHost.h"
#include "state/ScanFlow.h"

namespace quorva {

SetupFlow::SetupFlow(BridgeSession& session, ScanFlow& scans, FlowHost& host)
    : m_session(session), m_scans(scans), m_host(host)
{
}

QCoro::Task<> SetupFlow::run()
{
    QCoro::Task<bool> children = loadChildren();
    const std::optional<bool> answered = co_await whileAlive(this, std::move(children));
    if (!answered)
        co_return;
    QCoro::Task<> folder = m_host.lookAtFolder();
    if (!co_await whileAlive(this, std::move(folder)))
        co_return;
    // A failed children request stays on screen: readiness would hide a revoked or broken
    // service behind "ready". The next tick of the schedule or the alert's OK tries again.
    if (*answered) {
        m_host.showReadiness();
        if (m_host.canScan()) {
            QCoro::Task<> scan = m_scans.scanNow();
            if (!co_await whileAlive(this, std::move(scan)))
                co_return;
        } else {
            // Informational: its failure shows nowhere.
            HeartbeatReport report = m_host.setupReport();
            QCoro::Task<bool> heartbeat = m_session.heartbeat(std::move(report));
            if (!co_await whileAlive(this, std::move(heartbeat)))
                co_return;
        }
    }
    m_scans.startAutomatic();
}

QCoro::Task<bool> SetupFlow::loadChildren()
{
    QCoro::Task<ChildrenOutcome> request = m_session.loadChildren();
    const std::optional<ChildrenOutcome> answered = co_await whileAlive(this, std::move(request));
    if (!answered || answered->end == SessionEnd::cancelled)
        co_return false;                          // a new pairing, a disconnect, or the host is gone
    co_return m_host.childrenAnswered(*answered); // last: a refused token ends this flow's session
}

} // namespace quorva
