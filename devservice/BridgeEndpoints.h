#pragma once

#include "DevServiceConfig.h"
#include "api/WireRecords.h"

#include <nlohmann/json.hpp>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace quorva::devservice {

// The bridge endpoints and what they keep, in memory only: a restarted service knows nothing.
// Each operation checks its whole request before it changes anything, and throws ServiceError
// for what the service refuses.
class BridgeEndpoints {
public:
    // Throws std::invalid_argument for a pairing code without letters or digits.
    explicit BridgeEndpoints(const DevServiceConfig& config);

    // Redeems an unused pairing code once: a new bridge and its token.
    [[nodiscard]] nlohmann::json redeem(const nlohmann::json& body);
    // The id of the bridge whose unexpired token the Authorization header carries; 401 otherwise.
    [[nodiscard]] std::string authenticate(const std::optional<std::string>& authorization) const;
    [[nodiscard]] nlohmann::json children() const;
    // A profile removed in the family app: no longer listed, and no longer taking devices or items.
    void removeChild(const std::string& childId);
    [[nodiscard]] nlohmann::json registerDevice(const std::string& bridgeId, const nlohmann::json& body);
    [[nodiscard]] nlohmann::json heartbeat(const nlohmann::json& body) const;
    // Idempotent by clientItemId per bridge: a new valid item is "processed" and raises an alert,
    // one seen before is "duplicate", an invalid one "failed" and not kept.
    [[nodiscard]] nlohmann::json ingest(const std::string& bridgeId, const nlohmann::json& body);

    // What the service holds, for scripts that check what reached it.
    [[nodiscard]] nlohmann::json heldItems() const;

private:
    struct Bridge {
        BridgeIdentity identity;
        Instant tokenExpiresAt;
    };

    void requireChild(const std::string& childId) const;
    // The device of (bridge, externalDeviceId), made when it is new.
    BridgeDevice& device(const std::string& bridgeId, const std::string& externalDeviceId);

    std::chrono::seconds m_tokenLifetime;
    IngestFaults m_faults;
    int m_answeredBatches = 0;
    std::map<std::string, bool> m_pairingCodesRedeemed;
    std::vector<BridgeChild> m_children;
    std::map<std::string, Bridge> m_bridgesByToken;
    std::map<std::pair<std::string, std::string>, BridgeDevice> m_devices;
    std::set<std::pair<std::string, std::string>> m_items; // (bridge, clientItemId)
    std::vector<std::string> m_itemIds;                    // in the order they arrived
};

} // namespace quorva::devservice
