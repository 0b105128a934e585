#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Rows of the development service's database, as plain values. Instants are kept as the
// internet date-time text the service answers with.
namespace quorva::devservice {

struct PairingCodeRow {
    std::string code;
    std::optional<std::string> redeemedAt;
    std::optional<std::string> bridgeId;
};

struct StoredBridge {
    std::string id;
    std::string name;
    std::string platform;
    std::string appVersion;
    std::string status;
    std::string pairedAt;
    std::string lastSeenAt;
    std::string tokenExpiresAt;
};

struct StoredDevice {
    std::string id;
    std::string bridgeId;
    std::string childId;
    std::string externalDeviceId;
    std::optional<std::string> deviceName;
    std::string sourceType;
    std::optional<std::string> lastScanAt;
    std::optional<std::string> lastIngestAt;
};

struct StoredHeartbeat {
    std::string bridgeId;
    std::string receivedAt;
    std::string status;
    std::string appVersion;
    std::optional<std::string> setupIssue;
    std::optional<std::string> lastScanAt;
    std::optional<std::string> lastIngestAt;
    std::optional<std::string> lastProcessedItemHash;
};

struct StoredItem {
    std::string bridgeId;
    std::string clientItemId;
    std::string childId;
    std::string externalDeviceId;
    std::string source;
    std::string sourceApp;
    std::string contentType;
    std::string contentText;
    std::optional<std::string> senderName;
    std::string capturedAt;
    std::string receivedAt;
    std::string processStatus;
    std::optional<std::string> alertId;
};

// One request as it arrived, for the received-requests page; the Authorization header is never kept.
struct ReceivedRequest {
    int64_t seq = 0;
    std::string receivedAt;
    std::string method;
    std::string path;
    int status = 0;
    std::string headersJson;
    bool hadAuthorization = false;
    int64_t bodyBytes = 0;
    // Absent when the body was refused for its size.
    std::optional<std::string> body;
};

} // namespace quorva::devservice
