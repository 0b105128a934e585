#pragma once

#include "model/BackupDescriptor.h"
#include "model/Instant.h"
#include "model/ScannedMessage.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace quorva::cli {

// The JSON forms the CLI prints; instants as UTC with milliseconds and Z, absent as null.
[[nodiscard]] nlohmann::json instantJson(const std::optional<Instant>& instant);
[[nodiscard]] nlohmann::json backupJson(const BackupDescriptor& backup);
[[nodiscard]] nlohmann::json candidateJson(const ScannedMessage& message);

} // namespace quorva::cli
