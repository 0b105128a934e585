#pragma once

#include "CliArguments.h"

#include <iosfwd>

namespace quorva::cli {

// `inspect FOLDER [--at INSTANT] [--json]`: what a scan of the newest backup would send,
// read locally; nothing is sent or stored.
int runInspect(const CliArguments& args, std::ostream& out);

// `classify TEXT`: the reasons, one a line.
int runClassify(const CliArguments& args, std::ostream& out);

} // namespace quorva::cli
