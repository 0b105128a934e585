#pragma once

#include "model/BridgeChild.h"
#include "model/Instant.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorva {

// ---- Request inputs --------------------------------------------------------------------

struct DeviceRegistration {
    std::string childId;
    std::string externalDeviceId;
    std::string deviceName;
    std::string lastScanAt; // already formatted
};

struct HeartbeatReport {
    std::string status;
    std::optional<std::string> setupIssue; // sent as null when absent
    std::optional<std::string> lastScanAt;
    std::optional<std::string> lastIngestAt;
    std::optional<std::string> lastProcessedItemHash;
};

struct BridgeIngestItem {
    std::string clientItemId;
    std::string childId;
    std::string source = "ios_bridge";
    std::string sourceApp = "Messages";
    std::string contentType = "text";
    std::string contentText;
    std::optional<std::string> senderName;
    std::string capturedAt;
};

struct BridgeIngestRequest {
    std::string childId;
    std::string externalDeviceId;
    std::optional<std::string> deviceName;
    std::string sourceType = "ios_backup";
    std::string lastScanAt;
    std::optional<std::string> lastProcessedItemHash;
    std::vector<BridgeIngestItem> items;
};

// ---- Responses -------------------------------------------------------------------------

struct BridgeIdentity {
    std::string id;
    std::optional<std::string> name;
    std::string platform;
    std::string status;
    std::optional<Instant> lastSeenAt;
};

struct BridgeRedeemResponse {
    BridgeIdentity bridge;
    std::string bridgeToken;
    Instant tokenExpiresAt;
    std::string state;
};

struct BridgeChildrenResponse {
    std::vector<BridgeChild> children;
};

struct BridgeDevice {
    std::string id;
    std::string childId;
    std::string externalDeviceId;
    std::optional<std::string> deviceName;
    std::string sourceType;
    std::optional<Instant> lastScanAt;
    std::optional<Instant> lastIngestAt;
};

struct BridgeDeviceResponse {
    BridgeDevice device;
};

struct BridgeMutationResponse {
    bool success = false;
};

struct BridgeIngestResult {
    std::string clientItemId;
    std::string processStatus; // only "failed" has a meaning here: not accepted
    std::optional<bool> alertCreated;
    std::optional<std::string> alertId;
};

struct BridgeIngestResponse {
    int64_t submitted = 0;
    int64_t queued = 0;
    int64_t processed = 0;
    int64_t skipped = 0;
    int64_t failed = 0;
    int64_t alertsCreated = 0;
    std::vector<BridgeIngestResult> results;
};

} // namespace quorva
