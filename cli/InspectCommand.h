#pragma once

#include "CommandLine.h"

#include <iosfwd>

namespace quorva::cli {

// `inspect FOLDER [--at INSTANT] [--json]`: what a scan of the newest backup would send,
// read locally; nothing is sent or stored.
int runInspect(const Invocation& invocation, std::ostream& out);

// `classify TEXT`: the reasons, one a line, or that no rule matched.
int runClassify(const Invocation& invocation, std::ostream& out);

} // namespace quorva::cli
