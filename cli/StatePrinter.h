#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <iosfwd>

namespace quorva {
class BridgeAppState;
}

namespace quorva::cli {

// The state at the end of a command: on standard output for people or as one JSON object, and
// the failure, if the phase is failed, on standard error.
void printState(const BridgeAppState& state, bool json, std::ostream& out, std::ostream& err);

// Prints a line each time the state has settled on something new: once the changes of one step
// are all made, so a phase is never printed with the status text of the step before. Each line
// is flushed at once, for a terminal, a pipe or a file alike; a failure goes to standard error.
class StateFollower : public QObject {
    Q_OBJECT
public:
    StateFollower(const BridgeAppState& state, bool json, std::ostream& out, std::ostream& err);

private:
    void printIfChanged();

    const BridgeAppState& m_state;
    bool m_json;
    std::ostream& m_out;
    std::ostream& m_err;
    QTimer m_settled;
    QString m_last;
    bool m_failureRaised = false;
};

// On a terminal, the upload's progress as one line on standard error that rewrites itself.
class UploadProgressLine : public QObject {
    Q_OBJECT
public:
    UploadProgressLine(const BridgeAppState& state, std::ostream& err);
    // Ends the line, if one was shown.
    ~UploadProgressLine() override;

private:
    std::ostream& m_err;
    bool m_shown = false;
};

} // namespace quorva::cli
