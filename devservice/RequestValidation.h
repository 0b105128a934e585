#pragma once

#include "RequestRecords.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace quorva::devservice {

inline constexpr size_t kMinItemsPerBatch = 1;
inline constexpr size_t kMaxItemsPerBatch = 100;
inline constexpr size_t kMaxContentCharacters = 4000;

// Parses a request body that must be one JSON object; throws ServiceError (400) otherwise.
[[nodiscard]] nlohmann::json parseObjectBody(std::string_view body);

// Each reads its request object strictly (required members present and strings, optional ones
// missing, null or strings, instants as internet date-times) and throws ServiceError (400) on the
// first fault. Instants come back in the service's own form, UTC with milliseconds.
[[nodiscard]] RedeemRequest readRedeemRequest(const nlohmann::json& body);
[[nodiscard]] DeviceRegistration readDeviceRegistration(const nlohmann::json& body);
[[nodiscard]] HeartbeatReport readHeartbeatReport(const nlohmann::json& body);
[[nodiscard]] IngestBatch readIngestBatch(const nlohmann::json& body);

// Checks one ingest item against the rules the service accepts items by; never throws.
[[nodiscard]] ItemCheck checkIngestItem(const nlohmann::json& item, const std::string& batchChildId);

// An internet date-time with or without fractional seconds, rewritten as UTC with milliseconds.
[[nodiscard]] std::optional<std::string> normaliseInstant(std::string_view text);

// The pairing code as the client sends it: upper case, letters and digits only.
[[nodiscard]] std::string normalisePairingCode(std::string_view code);

// Counts user-perceived characters, the unit in which the client cuts message texts.
[[nodiscard]] size_t countCharacters(std::string_view utf8);

} // namespace quorva::devservice
