#pragma once

#include "api/ServiceDate.h"
#include "api/WireRecords.h"
#include "model/BridgeChild.h"

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace quorva {

// Strict readers of the service's answers. A record decodes only from a JSON object whose
// required members are present, not null and of their JSON type; optional members that are
// missing or null are absent; other members are ignored. Failures throw WireDecodingError.

// The error body a failure status may carry.
struct ServerError {
    std::optional<std::string> error;
    std::optional<std::string> message;
    std::optional<std::string> code;

    friend bool operator==(const ServerError&, const ServerError&) = default;
};

[[nodiscard]] BridgeChild decodeBridgeChild(const nlohmann::json& value);

// Decodes one response record from a whole body.
template <typename R> [[nodiscard]] R decodeResponse(std::string_view body);

template <> [[nodiscard]] BridgeRedeemResponse decodeResponse<BridgeRedeemResponse>(std::string_view body);
template <>
[[nodiscard]] BridgeChildrenResponse decodeResponse<BridgeChildrenResponse>(std::string_view body);
template <> [[nodiscard]] BridgeDeviceResponse decodeResponse<BridgeDeviceResponse>(std::string_view body);
template <>
[[nodiscard]] BridgeMutationResponse decodeResponse<BridgeMutationResponse>(std::string_view body);
template <> [[nodiscard]] BridgeIngestResponse decodeResponse<BridgeIngestResponse>(std::string_view body);

// Nothing when the body is not a JSON object or error/message/code is neither a string nor null.
[[nodiscard]] std::optional<ServerError> decodeServerError(std::string_view body);

} // namespace quorva
