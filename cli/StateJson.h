#pragma once

#include <nlohmann/json.hpp>

namespace quorva {
class BridgeAppState;
}

namespace quorva::cli {

// The state object's final state as the CLI prints it with --json; never holds the token.
[[nodiscard]] nlohmann::json stateJson(const BridgeAppState& state);

} // namespace quorva::cli
