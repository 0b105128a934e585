#pragma once

#include "Await.h"
#include "DevService.h"
#include "Printers.h"
#include "SampleBackup.h"
#include "devices/DeviceWatcher.h"
#include "state/BridgeAppState.h"
#include "stores/Preferences.h"

#include <QNetworkAccessManager>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorva::test {

inline const std::string kAva = "child-ava";
inline const std::string kBen = "child-ben";
inline const std::string kPairingCode = "ABC123";
// One keychain item per test process: CTest runs test processes in parallel in one session.
[[nodiscard]] QString tokenService();

// One request as the development service received it.
struct Received {
    std::string path;
    nlohmann::json body;
    bool hasAuthorization = false;
};

// What a test asks for in a sample backup.
struct BackupContent {
    std::string udid = "00008110-001A2B3C4D5E801E";
    std::string deviceName = "Maya's iPhone";
    int candidates = 0;  // incoming messages every rule table flags: "keep this secret 0", "… 1" …
    int benign = 2;      // incoming messages nothing flags
    double ageHours = 1; // Last Backup Date, hours before now
    std::string snapshotState = "finished";
    bool encrypted = false;
};

// The development service on a free loopback port, fresh preferences and secret-store item,
// and state objects wired to them as the application wires its own.
class BridgeFixture {
public:
    BridgeFixture();
    ~BridgeFixture();

    // Edit before the first state is made, which starts the service unless a test did:
    // pairing code ABC123 and the child Ava by default.
    devservice::DevServiceConfig config;
    void startService();
    // As when this computer goes offline: nothing answers at the service's address any more.
    void stopService() { m_service.reset(); }
    // The running service, for what the family does meanwhile (a child's profile removed).
    [[nodiscard]] devservice::DevService& service() { return *m_service; }
    [[nodiscard]] QUrl serviceURL() const;

    [[nodiscard]] std::unique_ptr<BridgeAppState>
    makeState(std::chrono::milliseconds interval = std::chrono::minutes(30));
    // Pairs with kPairingCode and waits for the set-up sequence that follows.
    void pair(BridgeAppState& state);
    // A new state, paired, with a backup of this content chosen in "backup" and its iPhone
    // assigned to Ava.
    [[nodiscard]] std::unique_ptr<BridgeAppState>
    readyState(const BackupContent& content, std::chrono::milliseconds interval = std::chrono::minutes(30));
    // Runs one scan to its end: the requests it sent.
    std::vector<Received> scan(BridgeAppState& state);

    // A request of a test's own, answered by the service: its status and JSON body.
    struct Answer {
        int status = 0;
        nlohmann::json body;
    };
    [[nodiscard]] Answer request(const std::string& method, const std::string& endpoint,
                                 const std::string& body = {},
                                 const std::optional<std::string>& authorization = std::nullopt);

    // Every request so far, in arrival order.
    [[nodiscard]] std::vector<Received> received();
    [[nodiscard]] std::vector<Received> receivedSince(std::size_t count);

    [[nodiscard]] std::filesystem::path path(const std::string& name) const;
    std::filesystem::path writeBackup(const std::filesystem::path& folder, const BackupContent& content);

    // The folder chooser answers with this (nothing means cancel) and records what it was asked.
    std::optional<std::filesystem::path> nextChoice;
    std::vector<FolderChooserRequest> chooserRequests;
    QString computerName = QStringLiteral("Test Mac");
    std::chrono::milliseconds secretStoreRetry = std::chrono::minutes(1);
    // The iPhones connected to this computer and the backup tool; none by default.
    std::shared_ptr<DeviceWatcher> deviceWatcher;
    QString backupTool;
    bool automaticBackups = true;
    // The iPhones a stand-in usbmuxd at `address` announces, backed up by `tool`.
    void useDevices(const QString& address, QString tool)
    {
        deviceWatcher = std::make_shared<DeviceWatcher>(DeviceWatcherOptions{.serviceAddress = address});
        backupTool = std::move(tool);
    }

    [[nodiscard]] std::optional<std::string> storedToken();

    // Runs the event loop for a while, so loops and detached operations can act.
    static void spin(std::chrono::milliseconds duration);
    // Runs the event loop until `done` holds, for at most 10 s; whether it holds.
    static bool waitFor(const std::function<bool()>& done);

private:
    QTemporaryDir m_dir;
    QNetworkAccessManager m_network;
    std::unique_ptr<devservice::DevService> m_service;
};

// The identifiers the service accepted from the default sample iPhone, as stored.
[[nodiscard]] std::vector<std::string> recordedIds(const std::string& device = BackupContent{}.udid);

// The bodies of the requests to one endpoint ("devices", "ingest/batch", "heartbeat" …).
[[nodiscard]] std::vector<nlohmann::json> bodiesOf(const std::vector<Received>& requests,
                                                   const std::string& endpoint);
// The endpoints in order, without their common prefix.
[[nodiscard]] std::vector<std::string> endpoints(const std::vector<Received>& requests);

} // namespace quorva::test
