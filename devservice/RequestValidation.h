#pragma once

#include "api/WireRecords.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The service reads requests into the client's own wire records, more strictly than the client
// needs: a client that sends what the real service would refuse must fail here too.
namespace quorva::devservice {

inline constexpr std::size_t kMaxItemsPerBatch = 100;
inline constexpr std::size_t kMaxContentCharacters = 4000;

// Reads the members of one request object; the first fault throws ServiceError (400) naming it.
class ObjectReader {
public:
    explicit ObjectReader(const nlohmann::json& object, std::string context = "Member ")
        : m_object(object), m_context(std::move(context))
    {
    }

    // Present, a string and, unless allowed, not empty.
    [[nodiscard]] std::string required(const char* name, bool allowEmpty = false) const;
    // Missing and null both mean absent.
    [[nodiscard]] std::optional<std::string> optional(const char* name) const;
    // Present, but may be null.
    [[nodiscard]] std::optional<std::string> nullable(const char* name) const;
    // Internet date-times, with or without fractional seconds.
    [[nodiscard]] Instant requiredInstant(const char* name) const;
    [[nodiscard]] std::optional<Instant> optionalInstant(const char* name) const;

    [[noreturn]] void fail(const char* name, const char* what) const;

private:
    [[nodiscard]] Instant instant(const char* name, const std::string& text) const;

    const nlohmann::json& m_object;
    std::string m_context;
};

// A body that must be one JSON object; throws ServiceError (400) otherwise.
[[nodiscard]] nlohmann::json parseObjectBody(std::string_view body);

// Instants come back in the service's own form, UTC with milliseconds. The registration has no
// id and no last ingest yet; the heartbeat's appVersion is checked but not kept.
[[nodiscard]] BridgeDevice readDeviceRegistration(const nlohmann::json& body);
[[nodiscard]] HeartbeatReport readHeartbeatReport(const nlohmann::json& body);
// The batch's own members, checked as a whole; its items are left to readIngestItem, one by
// one, so that one bad item fails alone instead of the whole batch.
[[nodiscard]] BridgeIngestRequest readIngestBatch(const nlohmann::json& body);
// Nothing when the item is not acceptable; never throws.
[[nodiscard]] std::optional<BridgeIngestItem> readIngestItem(const nlohmann::json& item,
                                                             const std::string& batchChildId);

// The pairing code as the client sends it: upper case, letters and digits only.
[[nodiscard]] std::string normalisePairingCode(std::string_view code);

} // namespace quorva::devservice
