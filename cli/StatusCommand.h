#pragma once

#include <iosfwd>

namespace quorva::cli {

// `status [--json]`: what is stored on this computer, read from the stores without asking the
// service. Needs a QCoreApplication (the secret store answers on its event loop).
int runStatus(bool json, std::ostream& out);

} // namespace quorva::cli
