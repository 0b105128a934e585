#pragma once

#include "CommandLine.h"

#include <QCoroTask>

#include <iosfwd>

namespace quorva {
class BridgeAppState;
}

namespace quorva::cli {

// The workflow commands: they build the same collaborators as the application and drive the
// same state object. Each needs a QCoreApplication. `terminal` says whether standard error is
// one, where the upload's progress may be shown.
// This process becomes the writer first, or says that another one is and returns 1.
int runStateCommand(const Invocation& invocation, bool terminal, std::ostream& out, std::ostream& err);

// Throws UsageError for an argument that does not fit its command.
void checkWorkflowArguments(const Invocation& invocation);

// One workflow command on a state object of a process that is the writer: this CLI's own, or the
// running application's for a command another CLI forwarded to it.
QCoro::Task<int> runWorkflowCommand(BridgeAppState& state, Invocation invocation, bool terminal,
                                    std::ostream& out, std::ostream& err);

} // namespace quorva::cli
