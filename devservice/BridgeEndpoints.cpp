#include "BridgeEndpoints.h"

#include "Identifiers.h"
#include "RequestValidation.h"
#include "ServiceError.h"
#include "model/Iso8601.h"

namespace quorva::devservice {
namespace {

using nlohmann::json;

json optionalJson(const std::optional<std::string>& value)
{
    return value ? json(*value) : json(nullptr);
}

ServiceError unauthorized()
{
    return {401, "unauthorized", "The bridge token is missing, expired or not valid."};
}

} // namespace

BridgeEndpoints::BridgeEndpoints(DevStore& store, std::chrono::seconds tokenLifetime)
    : m_store(store), m_tokenLifetime(tokenLifetime)
{
}

json BridgeEndpoints::redeem(const json& body)
{
    const RedeemRequest request = readRedeemRequest(body);
    const std::string code = normalisePairingCode(request.code);
    const auto row = code.empty() ? std::nullopt : m_store.pairingCode(code);
    const std::string invalidText = "That pairing code is not valid or has expired.";
    if (!row)
        throw ServiceError(404, "pairing_code_invalid", invalidText);
    if (row->redeemedAt)
        throw ServiceError(410, "pairing_code_invalid", invalidText);

    const Instant now = Instant::now();
    const std::string token = randomHex(32);
    const StoredBridge bridge{
        newIdentifier("brg"),
        request.bridgeName,
        request.platform,
        request.appVersion,
        "active",
        formatInternetDateTime(now),
        formatInternetDateTime(now),
        formatInternetDateTime(Instant::fromUnixSeconds(now.unixSeconds + double(m_tokenLifetime.count())))};
    m_store.insertBridge(bridge, sha256Hex(token));
    m_store.markPairingCodeRedeemed(code, bridge.id, bridge.pairedAt);
    return {{"bridge",
             {{"id", bridge.id},
              {"name", bridge.name},
              {"platform", bridge.platform},
              {"status", bridge.status},
              {"lastSeenAt", bridge.lastSeenAt}}},
            {"bridgeToken", token},
            {"tokenExpiresAt", bridge.tokenExpiresAt},
            {"state", "paired"}};
}

StoredBridge BridgeEndpoints::authenticate(const std::optional<std::string>& authorization)
{
    constexpr std::string_view scheme = "bearer ";
    if (!authorization || authorization->size() <= scheme.size())
        throw unauthorized();
    for (size_t i = 0; i < scheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>((*authorization)[i])) != scheme[i])
            throw unauthorized();
    const auto bridge = m_store.bridgeByTokenHash(sha256Hex(authorization->substr(scheme.size())));
    if (!bridge)
        throw unauthorized();
    const Instant now = Instant::now();
    const auto expiresAt = parseInternetDateTime(bridge->tokenExpiresAt, FractionalSeconds::required);
    if (!expiresAt || now >= *expiresAt)
        throw unauthorized();
    m_store.updateBridgeSeen(bridge->id, formatInternetDateTime(now));
    return *bridge;
}

json BridgeEndpoints::children()
{
    json list = json::array();
    for (const auto& child : m_store.children())
        list.push_back({{"id", child.id}, {"name", child.name}});
    return {{"children", std::move(list)}};
}

json BridgeEndpoints::registerDevice(const StoredBridge& bridge, const json& body)
{
    const DeviceRegistration request = readDeviceRegistration(body);
    requireChild(m_store, request.childId);
    const auto existing = m_store.device(bridge.id, request.externalDeviceId);
    const StoredDevice device{existing ? existing->id : newIdentifier("dev"),
                              bridge.id,
                              request.childId,
                              request.externalDeviceId,
                              request.deviceName,
                              request.sourceType,
                              request.lastScanAt,
                              existing ? existing->lastIngestAt : std::nullopt};
    m_store.saveDevice(device);
    return {{"device", deviceJson(device)}};
}

json BridgeEndpoints::heartbeat(const StoredBridge& bridge, const json& body)
{
    const HeartbeatReport report = readHeartbeatReport(body);
    m_store.insertHeartbeat({bridge.id, formatInternetDateTime(Instant::now()), report.status,
                             report.appVersion, report.setupIssue, report.lastScanAt, report.lastIngestAt,
                             report.lastProcessedItemHash});
    m_store.updateBridgeStatus(bridge.id, report.status, report.appVersion);
    return {{"success", true}};
}

json deviceJson(const StoredDevice& device)
{
    return {{"id", device.id},
            {"childId", device.childId},
            {"externalDeviceId", device.externalDeviceId},
            {"deviceName", optionalJson(device.deviceName)},
            {"sourceType", device.sourceType},
            {"lastScanAt", optionalJson(device.lastScanAt)},
            {"lastIngestAt", optionalJson(device.lastIngestAt)}};
}

void requireChild(DevStore& store, const std::string& childId)
{
    if (!store.hasChild(childId))
        throw ServiceError(404, "child_not_found", "That child profile was not found.");
}

} // namespace quorva::devservice
