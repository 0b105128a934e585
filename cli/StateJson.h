#pragma once

#include "model/BridgeChild.h"

#include <nlohmann/json.hpp>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorva {
class BridgeAppState;
}

namespace quorva::cli {

// The state object as the CLI prints it with --json; never holds the token.
[[nodiscard]] nlohmann::json stateJson(const BridgeAppState& state);

// The family's children, each with `selected`.
// The iPhones of the chosen folder: [{id, name, productType, lastBackupAt, state, childId,
// childName, connection, activity ({stage, …} or null)}].
[[nodiscard]] nlohmann::json devicesJson(const BridgeAppState& state);

// The family's children, each with the iPhone assigned to it: [{id, name, deviceId}].
[[nodiscard]] nlohmann::json childrenJson(const std::vector<BridgeChild>& children,
                                          const std::map<std::string, std::string>& bindings);

} // namespace quorva::cli
