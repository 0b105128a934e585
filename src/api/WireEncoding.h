#pragma once

#include "api/WireRecords.h"
#include "model/BridgeChild.h"

#include <nlohmann/json_fwd.hpp>

#include <string>

namespace quorva {

// Request bodies, compact JSON, built member by member. Absent optional values are left out;
// the one null ever sent is a heartbeat's setupIssue. Text that is not valid UTF-8 cannot be
// written: the encoders throw PlatformError before anything is sent.

[[nodiscard]] std::string encodeRedeem(const std::string& code, const std::string& bridgeName,
                                       const std::string& appVersion);
[[nodiscard]] std::string encodeDeviceRegistration(const DeviceRegistration& registration);
[[nodiscard]] std::string encodeHeartbeat(const HeartbeatReport& report, const std::string& appVersion);
[[nodiscard]] std::string encodeIngest(const BridgeIngestRequest& request);

[[nodiscard]] nlohmann::json toJson(const BridgeChild& child);

} // namespace quorva
