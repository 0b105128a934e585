// What the flows of the current pairing report, turned into published properties.
#include "state/BridgeAppState.h"

#include "platform/WhileAlive.h"
#include "state/ScanFlow.h"
#include "state/SetupFlow.h"
#include "state/StateTexts.h"

#include <algorithm>

namespace quorva {

QCoro::Task<> BridgeAppState::scanNow()
{
    if (!m_session) {
        setPhase(quorva::Phase::needsPairing());
        co_return;
    }
    QCoro::Task<> scan = m_session->scans()->scanNow();
    co_await whileAlive(this, std::move(scan));
}

QCoro::Task<> BridgeAppState::loadChildren()
{
    if (!m_session)
        co_return;
    QCoro::Task<bool> children = m_session->setup()->loadChildren();
    co_await whileAlive(this, std::move(children));
}

QCoro::Task<> BridgeAppState::completeSetup()
{
    if (!m_session)
        co_return;
    QCoro::Task<> setup = m_session->setup()->run();
    co_await whileAlive(this, std::move(setup));
}

void BridgeAppState::startAutomaticScanning()
{
    if (m_session)
        m_session->scans()->startAutomatic();
}

bool BridgeAppState::hasAutomaticScanning() const
{
    return m_session && m_session->scans()->isAutomatic();
}

bool BridgeAppState::childrenAnswered(const ChildrenOutcome& outcome)
{
    if (outcome.end == SessionEnd::failed) {
        raiseFailure(outcome.failure);
        setStatusMessage(texts::childrenFailed());
        return false;
    }
    if (outcome.end != SessionEnd::done) {
        handleSessionEnd(outcome.end);
        return false;
    }
    m_childrenLoaded = true;
    setChildren(outcome.children);
    refreshFamily(); // also when the list is as it was: the family is known now
    updateReadiness();
    return true;
}

QCoro::Task<> BridgeAppState::lookAtFolder()
{
    return restoreBackupSelection();
}

void BridgeAppState::showReadiness()
{
    updateReadiness();
}

std::optional<CycleRequest> BridgeAppState::cycleRequest()
{
    if (!m_services.bookmarks.isStored()) {
        setPhase(quorva::Phase::needsSetup());
        setStatusMessage(texts::chooseBackupFolder());
        return std::nullopt;
    }
    return CycleRequest{m_children, m_childrenLoaded};
}

void BridgeAppState::cycleEnded(const CycleOutcome& outcome)
{
    setUploadProgress(0, 0);
    if (outcome.end != SessionEnd::done && outcome.end != SessionEnd::failed) {
        if (m_phase.kind() == quorva::Phase::Kind::scanning)
            updateReadiness();
        handleSessionEnd(outcome.end);
        return;
    }
    m_folderAbsent = outcome.folderAbsent;
    if (outcome.folderLost) {
        setBackupFolder(std::nullopt);
        raiseFailure(outcome.failure);
        return;
    }
    if (outcome.end == SessionEnd::failed) {
        raiseFailure(outcome.failure);
        setStatusMessage(texts::scanFailed());
        return;
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

HeartbeatReport BridgeAppState::setupReport() const
{
    // What set-up still lacks, then what the family's iPhones need.
    QStringList issues{texts::setupIssue()};
    if (!m_overview.notices.empty())
        issues.append(texts::reportText(m_overview.notices));
    HeartbeatReport report;
    report.status = "error";
    report.setupIssue = issues.join(QLatin1Char(' ')).toStdString();
    return report;
}

} // namespace quorva
