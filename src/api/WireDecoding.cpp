#include "api/WireDecoding.h"

#include "api/BearerToken.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <limits>

namespace quorva {
namespace {

using nlohmann::json;

[[noreturn]] void fail(const std::string& what)
{
    throw WireDecodingError(what);
}

const json& requireObject(const json& value, const char* what)
{
    if (!value.is_object())
        fail(std::string(what) + " is not a JSON object");
    return value;
}

json parseObject(std::string_view body)
{
    // The non-throwing parse: a body that is not JSON is an ordinary answer, not a fault.
    json value = json::parse(body.begin(), body.end(), nullptr, false);
    if (value.is_discarded())
        fail("body is not JSON");
    requireObject(value, "body");
    return value;
}

// Missing and null read alike: both mean absent.
const json* member(const json& object, const char* key)
{
    const auto it = object.find(key);
    return it == object.end() || it->is_null() ? nullptr : &*it;
}

const json& required(const json& object, const char* key)
{
    const json* value = member(object, key);
    if (!value)
        fail(std::string("member ") + key + " is missing or null");
    return *value;
}

std::string asString(const json& value, const char* key)
{
    if (!value.is_string())
        fail(std::string("member ") + key + " is not a string");
    return value.get<std::string>();
}

// get<int64_t>() would quietly truncate 5.5 and wrap integers beyond the signed range.
int64_t asInteger(const json& value, const char* key)
{
    if (!value.is_number_integer())
        fail(std::string("member ") + key + " is not an integer");
    if (value.is_number_unsigned() && value.get<uint64_t>() > uint64_t(std::numeric_limits<int64_t>::max()))
        fail(std::string("member ") + key + " is out of range");
    return value.get<int64_t>();
}

bool asBoolean(const json& value, const char* key)
{
    if (!value.is_boolean())
        fail(std::string("member ") + key + " is not a Boolean");
    return value.get<bool>();
}

std::string requiredString(const json& o, const char* key)
{
    return asString(required(o, key), key);
}
int64_t requiredInteger(const json& o, const char* key)
{
    return asInteger(required(o, key), key);
}
bool requiredBoolean(const json& o, const char* key)
{
    return asBoolean(required(o, key), key);
}
Instant requiredInstant(const json& o, const char* key)
{
    return decodeServiceDate(required(o, key));
}

std::optional<std::string> optionalString(const json& o, const char* key)
{
    const json* value = member(o, key);
    return value ? std::optional(asString(*value, key)) : std::nullopt;
}

std::optional<bool> optionalBoolean(const json& o, const char* key)
{
    const json* value = member(o, key);
    return value ? std::optional(asBoolean(*value, key)) : std::nullopt;
}

std::optional<Instant> optionalInstant(const json& o, const char* key)
{
    const json* value = member(o, key);
    return value ? std::optional(decodeServiceDate(*value)) : std::nullopt;
}

template <typename T, typename Decode>
std::vector<T> requiredArray(const json& o, const char* key, Decode decode)
{
    const json& value = required(o, key);
    if (!value.is_array())
        fail(std::string("member ") + key + " is not an array");
    std::vector<T> out;
    out.reserve(value.size());
    for (const json& element : value)
        out.push_back(decode(element));
    return out;
}

BridgeIdentity decodeIdentity(const json& value)
{
    const json& o = requireObject(value, "bridge");
    return BridgeIdentity{
        .id = requiredString(o, "id"),
        .name = optionalString(o, "name"),
        .platform = requiredString(o, "platform"),
        .status = requiredString(o, "status"),
        .lastSeenAt = optionalInstant(o, "lastSeenAt"),
    };
}

BridgeDevice decodeDevice(const json& value)
{
    const json& o = requireObject(value, "device");
    return BridgeDevice{
        .id = requiredString(o, "id"),
        .childId = requiredString(o, "childId"),
        .externalDeviceId = requiredString(o, "externalDeviceId"),
        .deviceName = optionalString(o, "deviceName"),
        .sourceType = requiredString(o, "sourceType"),
        .lastScanAt = optionalInstant(o, "lastScanAt"),
        .lastIngestAt = optionalInstant(o, "lastIngestAt"),
    };
}

BridgeIngestResult decodeIngestResult(const json& value)
{
    const json& o = requireObject(value, "result");
    return BridgeIngestResult{
        .clientItemId = requiredString(o, "clientItemId"),
        .processStatus = requiredString(o, "processStatus"),
        .alertCreated = optionalBoolean(o, "alertCreated"),
        .alertId = optionalString(o, "alertId"),
    };
}

// The token is kept and sent back with every later request: one that could not be sent is as
// unreadable as a missing one, and must never reach the secret store.
std::string requiredToken(const json& o, const char* key)
{
    std::string token = requiredString(o, key);
    if (!isUsableBearerToken(token))
        throw WireDecodingError(std::string("member ") + key + " is not a usable token");
    return token;
}

} // namespace

BridgeChild decodeBridgeChild(const json& value)
{
    const json& o = requireObject(value, "child");
    return BridgeChild{.id = requiredString(o, "id"), .name = requiredString(o, "name")};
}

template <> BridgeRedeemResponse decodeResponse<BridgeRedeemResponse>(std::string_view body)
{
    const json o = parseObject(body);
    return BridgeRedeemResponse{
        .bridge = decodeIdentity(required(o, "bridge")),
        .bridgeToken = requiredToken(o, "bridgeToken"),
        .tokenExpiresAt = requiredInstant(o, "tokenExpiresAt"),
        .state = requiredString(o, "state"),
    };
}

template <> BridgeChildrenResponse decodeResponse<BridgeChildrenResponse>(std::string_view body)
{
    const json o = parseObject(body);
    return BridgeChildrenResponse{.children = requiredArray<BridgeChild>(o, "children", decodeBridgeChild)};
}

template <> BridgeDeviceResponse decodeResponse<BridgeDeviceResponse>(std::string_view body)
{
    const json o = parseObject(body);
    return BridgeDeviceResponse{.device = decodeDevice(required(o, "device"))};
}

template <> BridgeMutationResponse decodeResponse<BridgeMutationResponse>(std::string_view body)
{
    const json o = parseObject(body);
    return BridgeMutationResponse{.success = requiredBoolean(o, "success")};
}

template <> BridgeIngestResponse decodeResponse<BridgeIngestResponse>(std::string_view body)
{
    const json o = parseObject(body);
    return BridgeIngestResponse{
        .submitted = requiredInteger(o, "submitted"),
        .queued = requiredInteger(o, "queued"),
        .processed = requiredInteger(o, "processed"),
        .skipped = requiredInteger(o, "skipped"),
        .failed = requiredInteger(o, "failed"),
        .alertsCreated = requiredInteger(o, "alertsCreated"),
        .results = requiredArray<BridgeIngestResult>(o, "results", decodeIngestResult),
    };
}

std::optional<ServerError> decodeServerError(std::string_view body)
{
    try {
        const json o = parseObject(body);
        return ServerError{
            .error = optionalString(o, "error"),
            .message = optionalString(o, "message"),
            .code = optionalString(o, "code"),
        };
    } catch (const WireDecodingError&) {
        return std::nullopt;
    }
}

} // namespace quorva
