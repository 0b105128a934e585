#pragma once

#include <QCoroTask>

#include <iosfwd>

namespace quorva {
class BridgeAppState;
}

namespace quorva::cli {

// `status [--json]`: what the state's stores hold on this computer, read without asking the
// service. Needs an event loop (the secret store answers on it).
[[nodiscard]] QCoro::Task<int> runStatus(BridgeAppState& state, bool json, std::ostream& out);

} // namespace quorva::cli
