#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

// The request objects of the bridge endpoints, as the service accepts them.
namespace quorva::devservice {

struct RedeemRequest {
    std::string code;
    std::string bridgeName;
    std::string platform;
    std::string appVersion;
};

struct DeviceRegistration {
    std::string childId;
    std::string externalDeviceId;
    std::string deviceName;
    std::string sourceType;
    std::string lastScanAt;
};

struct HeartbeatReport {
    std::string status;
    std::string appVersion;
    std::optional<std::string> setupIssue;
    std::optional<std::string> lastScanAt;
    std::optional<std::string> lastIngestAt;
    std::optional<std::string> lastProcessedItemHash;
};

struct IngestItem {
    std::string clientItemId;
    std::string childId;
    std::string source;
    std::string sourceApp;
    std::string contentType;
    std::string contentText;
    std::optional<std::string> senderName;
    std::string capturedAt;
};

// The batch's own members are checked as a whole; its items one by one, so that one bad item
// fails alone instead of the whole batch.
struct IngestBatch {
    std::string childId;
    std::string externalDeviceId;
    std::optional<std::string> deviceName;
    std::string sourceType;
    std::string lastScanAt;
    std::optional<std::string> lastProcessedItemHash;
    std::vector<nlohmann::json> items;
};

// The outcome of checking one item: the id to echo back, and the item when it is acceptable.
struct ItemCheck {
    std::string clientItemId;
    std::optional<IngestItem> item;
    std::string problem;
};

} // namespace quorva::devservice
