#include "state/ScanFlow.h"

#include "platform/WhileAlive.h"
#include "state/AutomaticScanLoop.h"
#include "state/BridgeSession.h"
#include "state/FlowHost.h"

namespace quorva {

ScanFlow::ScanFlow(BridgeSession& session, FlowHost& host, std::chrono::milliseconds interval)
    : m_session(session), m_host(host), m_interval(interval)
{
}

ScanFlow::~ScanFlow() = default;

QCoro::Task<> ScanFlow::scanNow()
{
    // Scans asked for while one runs (the CLI through the running application, the schedule, a
    // script) share one follow-up cycle, which looks again for what came since; only the one
    // that started the cycles runs them, the others wait.
    if (m_cycleRunning) {
        m_followUpAsked = true;
        const quint64 awaited = m_roundsStarted + 1;
        while (m_roundsFinished < awaited && m_cycleRunning) {
            QCoro::Task<> ended = nextSignal(this, &ScanFlow::roundFinished);
            if (!co_await whileAlive(this, std::move(ended)))
                co_return;
        }
        co_return;
    }
    m_cycleRunning = true;
    do {
        m_followUpAsked = false;
        ++m_roundsStarted;
        QCoro::Task<> cycle = runCycle();
        if (!co_await whileAlive(this, std::move(cycle)))
            co_return;
        ++m_roundsFinished;
        QMetaObject::invokeMethod(this, &ScanFlow::roundFinished, Qt::QueuedConnection);
    } while (m_followUpAsked);
    m_cycleRunning = false;
}

QCoro::Task<> ScanFlow::runCycle()
{
    std::optional<CycleRequest> request = m_host.cycleRequest();
    if (!request)
        co_return;
    // What the cycle finds as it goes reaches the host through the session's signals.
    QCoro::Task<CycleOutcome> cycle = m_session.runCycle(std::move(*request));
    const std::optional<CycleOutcome> ended = co_await whileAlive(this, std::move(cycle));
    if (!ended || ended->end == SessionEnd::cancelled)
        co_return;             // a new pairing, a disconnect, or the host is gone
    m_host.cycleEnded(*ended); // last: a refused token ends this flow's session
}

QCoro::Task<> ScanFlow::scanNewBackup()
{
    QCoro::Task<> look = m_host.lookAtFolder();
    if (co_await whileAlive(this, std::move(look)) && m_host.canScan())
        co_await scanNow();
}

void ScanFlow::startAutomatic()
{
    m_loop = std::make_unique<AutomaticScanLoop>([this] { return m_host.canScan(); },
                                                 [this] { return scanNow(); }, m_interval);
}

} // namespace quorva
