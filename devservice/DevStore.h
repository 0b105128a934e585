#pragma once

#include "Sqlite.h"
#include "StoredRecords.h"
#include "model/BridgeChild.h"

#include <optional>
#include <string>
#include <vector>

namespace quorva::devservice {

// The service's state in one SQLite file. Callers group the calls of one request in a transaction().
class DevStore {
public:
    using OpenMode = sqlite::Database::OpenMode;

    // Opens (or creates) the file and its tables; throws sqlite::Error.
    DevStore(const std::string& path, OpenMode mode);

    [[nodiscard]] sqlite::Transaction transaction() { return sqlite::Transaction(m_db); }

    // Adds a code unless it is already known, so a restart never revives a redeemed code.
    void addPairingCode(const std::string& code);
    [[nodiscard]] std::optional<PairingCodeRow> pairingCode(const std::string& code);
    void markPairingCodeRedeemed(const std::string& code, const std::string& bridgeId, const std::string& at);
    [[nodiscard]] std::vector<PairingCodeRow> pairingCodes();

    // Adds the child or renames it; children keep the order in which they were first added.
    void upsertChild(const BridgeChild& child);
    [[nodiscard]] std::vector<BridgeChild> children();
    [[nodiscard]] bool hasChild(const std::string& id);

    void insertBridge(const StoredBridge& bridge, const std::string& tokenHash);
    [[nodiscard]] std::optional<StoredBridge> bridgeByTokenHash(const std::string& tokenHash);
    void updateBridgeSeen(const std::string& bridgeId, const std::string& lastSeenAt);
    void updateBridgeStatus(const std::string& bridgeId, const std::string& status,
                            const std::string& appVersion);
    [[nodiscard]] std::vector<StoredBridge> bridges();

    [[nodiscard]] std::optional<StoredDevice> device(const std::string& bridgeId,
                                                     const std::string& externalDeviceId);
    // Inserts or replaces the device of (bridgeId, externalDeviceId); the id of an existing row is kept.
    void saveDevice(const StoredDevice& device);
    [[nodiscard]] std::vector<StoredDevice> devices();

    void insertHeartbeat(const StoredHeartbeat& heartbeat);
    [[nodiscard]] std::vector<StoredHeartbeat> heartbeats();

    [[nodiscard]] bool hasItem(const std::string& bridgeId, const std::string& clientItemId);
    void insertItem(const StoredItem& item);
    [[nodiscard]] std::vector<StoredItem> items();
    [[nodiscard]] int64_t alertCount();

    // Returns the sequence number given to the request.
    int64_t recordRequest(const ReceivedRequest& request);
    [[nodiscard]] std::vector<ReceivedRequest> receivedRequests();

private:
    sqlite::Database m_db;
};

} // namespace quorva::devservice
