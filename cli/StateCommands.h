#pragma once

#include "CommandLine.h"

#include <iosfwd>

namespace quorva::cli {

// The workflow commands: they build the same collaborators as the application and drive the
// same state object. Each needs a QCoreApplication. `terminal` says whether standard error is
// one, where the upload's progress may be shown.
int runStateCommand(const Invocation& invocation, bool terminal, std::ostream& out, std::ostream& err);

} // namespace quorva::cli
