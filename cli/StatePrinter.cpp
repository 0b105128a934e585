#include "StatePrinter.h"

#include "HumanText.h"
#include "StateJson.h"
#include "TerminalText.h"
#include "model/Instant.h"
#include "state/BridgeAppState.h"

#include <QCoreApplication>

#include <ostream>

namespace quorva::cli {
namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(StatePrinter)
};

QString safe(const QString& text)
{
    return QString::fromStdString(printable(text.toStdString()));
}

void reportFailure(const BridgeAppState& state, std::ostream& err)
{
    if (state.phase().kind() == Phase::Kind::failed)
        err << safe(state.phase().failureText()).toStdString() << std::endl;
}

} // namespace

void printState(const BridgeAppState& state, bool json, std::ostream& out, std::ostream& err)
{
    reportFailure(state, err);
    if (json) {
        out << stateJson(state).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << std::endl;
        return;
    }
    out << Text::tr("Phase:  %1").arg(phaseWords(state.phase().kind())).toStdString() << "\n"
        << Text::tr("Status: %1").arg(safe(state.statusMessage())).toStdString() << "\n";
    if (const auto& folder = state.backupFolder())
        out << Text::tr("Backup folder: %1")
                   .arg(QString::fromStdString(printable(folder->string())))
                   .toStdString()
            << "\n";
    for (const QString& line : state.attention())
        out << Text::tr("Needs attention: %1").arg(safe(line)).toStdString() << "\n";
    if (const auto at = state.lastScanAt())
        out << Text::tr(
                   "Last scan: %1; messages inspected: %L2, new candidates sent: %L3, alerts created: %L4")
                   .arg(readableDateTime(*at))
                   .arg(state.lastInspectedCount())
                   .arg(state.lastCandidateCount())
                   .arg(state.totalAlertsCreated())
                   .toStdString()
            << "\n";
    out << std::flush;
}

StateFollower::StateFollower(const BridgeAppState& state, bool json, std::ostream& out, std::ostream& err)
    : m_state(state), m_json(json), m_out(out), m_err(err)
{
    // The steps of an operation set their properties one after another without returning to the
    // event loop; a zero timer fires once they all are set.
    m_settled.setSingleShot(true);
    m_settled.setInterval(0);
    connect(&m_settled, &QTimer::timeout, this, &StateFollower::printIfChanged);
    const auto settle = [this] { m_settled.start(); };
    for (const auto signal :
         {&BridgeAppState::phaseChanged, &BridgeAppState::statusMessageChanged,
          &BridgeAppState::childrenChanged, &BridgeAppState::backupFolderChanged,
          &BridgeAppState::attentionChanged, &BridgeAppState::lastScanAtChanged,
          &BridgeAppState::lastInspectedCountChanged, &BridgeAppState::lastCandidateCountChanged,
          &BridgeAppState::totalAlertsCreatedChanged})
        connect(&state, signal, this, settle);
    // A failure that repeats the last one is news all the same.
    connect(&state, &BridgeAppState::failureRaised, this, [this] {
        m_failureRaised = true;
        m_settled.start();
    });
}

void StateFollower::printIfChanged()
{
    const QString line =
        m_json ? QString::fromStdString(
                     stateJson(m_state).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace))
               : Text::tr("%1: %2").arg(phaseWords(m_state.phase().kind()), safe(m_state.statusMessage()));
    if (line == m_last && !m_failureRaised)
        return;
    m_last = line;
    m_failureRaised = false;
    if (m_json)
        m_out << line.toStdString() << std::endl;
    else
        m_out << readableDateTime(Instant::now()).toStdString() << "  " << line.toStdString() << std::endl;
    reportFailure(m_state, m_err);
}

UploadProgressLine::UploadProgressLine(const BridgeAppState& state, std::ostream& err) : m_err(err)
{
    connect(&state, &BridgeAppState::uploadProgressChanged, this, [this, &state] {
        if (state.totalBatches() == 0)
            return;
        m_err << "\r"
              << Text::tr("Sent %L1 of %L2 batches to Quorva")
                     .arg(state.uploadedBatches())
                     .arg(state.totalBatches())
                     .toStdString()
              << std::flush;
        m_shown = true;
    });
}

UploadProgressLine::~UploadProgressLine()
{
    if (m_shown)
        m_err << std::endl;
}

} // namespace quorva::cli
