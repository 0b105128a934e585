#pragma once

#include "CliArguments.h"

#include <iosfwd>
#include <string>

namespace quorva::cli {

// The workflow commands: they build the same collaborators as the application and drive the
// same state object. Each needs a QCoreApplication.
int runStateCommand(const std::string& name, const CliArguments& args, std::ostream& out, std::ostream& err);

} // namespace quorva::cli
