#pragma once

#include "DevStore.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <optional>
#include <string>

namespace quorva::devservice {

// Pairing, bearer tokens, children, devices and heartbeats. Every operation runs inside the
// caller's transaction and throws ServiceError for what the service refuses.
class BridgeEndpoints {
public:
    BridgeEndpoints(DevStore& store, std::chrono::seconds tokenLifetime);

    // Redeems an unused pairing code once: a new bridge and its token.
    [[nodiscard]] nlohmann::json redeem(const nlohmann::json& body);
    // The bridge whose unexpired token the Authorization header carries; 401 otherwise.
    [[nodiscard]] StoredBridge authenticate(const std::optional<std::string>& authorization);
    [[nodiscard]] nlohmann::json children();
    [[nodiscard]] nlohmann::json registerDevice(const StoredBridge& bridge, const nlohmann::json& body);
    [[nodiscard]] nlohmann::json heartbeat(const StoredBridge& bridge, const nlohmann::json& body);

private:
    DevStore& m_store;
    std::chrono::seconds m_tokenLifetime;
};

// The device record as the devices endpoint answers it.
[[nodiscard]] nlohmann::json deviceJson(const StoredDevice& device);

// Throws 404 "child_not_found" unless the child profile exists.
void requireChild(DevStore& store, const std::string& childId);

} // namespace quorva::devservice
