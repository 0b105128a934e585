#include "api/WireEncoding.h"

#include "model/PlatformError.h"

#include <nlohmann/json.hpp>

namespace quorva {
namespace {

// Members go out in the order they are listed, which keeps bodies easy to read in logs.
using json = nlohmann::ordered_json;

void putIfPresent(json& object, const char* key, const std::optional<std::string>& value)
{
    if (value)
        object[key] = *value;
}

std::string serialise(const json& body)
{
    try {
        return body.dump();
    } catch (const json::exception&) {
        // Only malformed UTF-8 makes dump() fail; repairing it would alter a child's message.
        throw PlatformError(QUORVA_TEXT(
            "quorva::PlatformError", "The request could not be written as JSON because it contains text that "
                                     "is not valid UTF-8."));
    }
}

json itemJson(const BridgeIngestItem& item)
{
    json o = json::object();
    o["clientItemId"] = item.clientItemId;
    o["childId"] = item.childId;
    o["source"] = item.source;
    o["sourceApp"] = item.sourceApp;
    o["contentType"] = item.contentType;
    o["contentText"] = item.contentText;
    putIfPresent(o, "senderName", item.senderName);
    o["capturedAt"] = item.capturedAt;
    return o;
}

} // namespace

std::string encodeRedeem(const std::string& code, const std::string& bridgeName,
                         const std::string& appVersion)
{
    json o = json::object();
    o["code"] = code;
    o["bridgeName"] = bridgeName;
    o["platform"] = "macos";
    o["appVersion"] = appVersion;
    return serialise(o);
}

std::string encodeDeviceRegistration(const DeviceRegistration& registration)
{
    json o = json::object();
    o["childId"] = registration.childId;
    o["externalDeviceId"] = registration.externalDeviceId;
    o["deviceName"] = registration.deviceName;
    o["sourceType"] = "ios_backup";
    o["lastScanAt"] = registration.lastScanAt;
    return serialise(o);
}

std::string encodeHeartbeat(const HeartbeatReport& report, const std::string& appVersion)
{
    json o = json::object();
    o["status"] = report.status;
    o["appVersion"] = appVersion;
    o["setupIssue"] = report.setupIssue ? json(*report.setupIssue) : json(nullptr);
    putIfPresent(o, "lastScanAt", report.lastScanAt);
    putIfPresent(o, "lastIngestAt", report.lastIngestAt);
    putIfPresent(o, "lastProcessedItemHash", report.lastProcessedItemHash);
    return serialise(o);
}

std::string encodeIngest(const BridgeIngestRequest& request)
{
    json items = json::array();
    for (const BridgeIngestItem& item : request.items)
        items.push_back(itemJson(item));

    json o = json::object();
    o["childId"] = request.childId;
    o["externalDeviceId"] = request.externalDeviceId;
    putIfPresent(o, "deviceName", request.deviceName);
    o["sourceType"] = request.sourceType;
    o["lastScanAt"] = request.lastScanAt;
    putIfPresent(o, "lastProcessedItemHash", request.lastProcessedItemHash);
    o["items"] = std::move(items);
    return serialise(o);
}

nlohmann::json toJson(const BridgeChild& child)
{
    return nlohmann::json{{"id", child.id}, {"name", child.name}};
}

} // namespace quorva
