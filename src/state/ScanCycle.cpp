// One scan and upload cycle, as the window, the menu, start-up and the loop start it: the work
// is the session's; this shows it.
#include "state/BridgeAppState.h"

#include "model/BridgeClientError.h"
#include "platform/WhileAlive.h"
#include "state/StateTexts.h"

#include <QCoroSignal>

#include <algorithm>

namespace quorva {

namespace {

// Never resumes once the state is gone; nothing awaits it then.
QCoro::Task<> nextRoundEnd(BridgeAppState* state)
{
    co_await qCoro(state, &BridgeAppState::scanRoundFinished);
}

} // namespace

QCoro::Task<> BridgeAppState::scanNow()
{
    // One cycle at a time. Scans asked for while one runs (the CLI through the running
    // application, the schedule, a script) share one follow-up cycle, which looks again for
    // what came since; only the one that started the cycles runs them, the others wait.
    if (m_cycleRunning) {
        m_followUpAsked = true;
        const quint64 awaited = m_roundsStarted + 1;
        while (m_roundsFinished < awaited && m_cycleRunning) {
            QCoro::Task<> ended = nextRoundEnd(this);
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
        QMetaObject::invokeMethod(this, &BridgeAppState::scanRoundFinished, Qt::QueuedConnection);
    } while (m_followUpAsked);
    m_cycleRunning = false;
}

QCoro::Task<> BridgeAppState::runCycle()
{
    BridgeSession* session = m_session.get();
    if (!session) {
        setPhase(quorva::Phase::needsPairing());
        co_return;
    }
    if (!m_services.bookmarks.isStored()) {
        setPhase(quorva::Phase::needsSetup());
        setStatusMessage(texts::chooseBackupFolder());
        co_return;
    }

    // What the cycle finds as it goes arrives through the session's signals.
    CycleRequest request{m_children, m_childrenLoaded};
    QCoro::Task<CycleOutcome> cycle = session->runCycle(std::move(request));
    const std::optional<CycleOutcome> ended = co_await whileAlive(session, std::move(cycle));
    if (!ended || ended->end == SessionEnd::cancelled)
        co_return; // a new pairing, a disconnect, or this object is gone
    const CycleOutcome& outcome = *ended;
    setUploadProgress(0, 0);
    if (outcome.end != SessionEnd::done && outcome.end != SessionEnd::failed) {
        if (m_phase.kind() == quorva::Phase::Kind::scanning)
            updateReadiness();
        handleSessionEnd(outcome.end);
        co_return;
    }
    m_folderAbsent = outcome.folderAbsent;
    if (outcome.folderLost) {
        setBackupFolder(std::nullopt);
        raiseFailure(outcome.failure);
        co_return;
    }
    if (outcome.end == SessionEnd::failed) {
        raiseFailure(outcome.failure);
        setStatusMessage(texts::scanFailed());
        co_return;
    }
    m_lastScans = outcome.scans;
    m_lastScanUnchanged = !outcome.scans.empty() && std::ranges::all_of(outcome.scans, [](const auto& scan) {
        return scan.second.unchanged;
    });
    refreshFamily();
    setLastScanAt(outcome.startedAt);
    setLastInspectedCount(outcome.inspected);
    setLastCandidateCount(outcome.sent);
    setTotalAlertsCreated(saturatingAlertSum(m_totalAlertsCreated, outcome.alerts));
    setPhase(quorva::Phase::ready());
    // An old or half-written backup is said with the result: "Scan complete" alone would claim
    // more than was checked.
    const QString complete = texts::scanComplete(outcome.sent, outcome.accepted);
    setStatusMessage(outcome.notes.empty() ? complete
                                           : complete + QLatin1Char('\n') + texts::noticeText(outcome.notes));
}

} // namespace quorva
