#pragma once

#include <QCoroTask>
#include <QObject>
#include <QString>

#include "api/BridgeAPI.h"
#include "backup/IPhoneBackupScanner.h"
#include "model/BackupDescriptor.h"
#include "model/BridgeChild.h"
#include "model/Instant.h"
#include "platform/UserLock.h"
#include "state/StateTexts.h"
#include "stores/BackupBookmarkStore.h"
#include "stores/DeviceBindingStore.h"
#include "stores/UploadCheckpointStore.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace quorva {

class FlowHost;
class ScanFlow;
class SetupFlow;

// How an operation of a session ended. Only `done` and `failed` say anything about the pairing
// the session belongs to; the others end the work without a word of it reaching the user.
enum class SessionEnd {
    done,
    failed,       // the failure's text is in the outcome
    unauthorized, // the service refused the token: the pairing is no longer valid
    cancelled,    // this session was cancelled: a disconnect or a new pairing
};

struct ChildrenOutcome {
    SessionEnd end = SessionEnd::done;
    std::vector<BridgeChild> children;
    Failure failure;
};

// What a cycle is asked to scan for.
struct CycleRequest {
    // The family's children, for the names in texts. Once known, an iPhone bound to anyone else
    // is not read: its child has left the family.
    std::vector<BridgeChild> children;
    bool childrenKnown = false;
};

// What one cycle read of one iPhone.
struct DeviceScan {
    int64_t inspected = 0;
    int64_t sent = 0;
    bool unchanged = false; // the same backup as the last complete read: nothing was read again
    bool failed = false;

    friend bool operator==(const DeviceScan&, const DeviceScan&) = default;
};

struct CycleOutcome {
    SessionEnd end = SessionEnd::done;
    bool folderLost = false;   // with `failed`: the chosen folder is gone, nothing was scanned or sent
    bool folderAbsent = false; // with `failed`: the folder is not reachable now; it may come back
    Failure failure;           // with `failed`
    // What the parent must know even when nothing failed: a backup being written, or one that is old.
    std::vector<Notice> notes;
    std::vector<BackupDescriptor> devices;       // each iPhone's newest backup in the folder, as found
    std::map<std::string, std::string> bindings; // device to child
    std::map<std::string, DeviceScan> scans;     // of each iPhone read
    Instant startedAt;
    int64_t inspected = 0;
    int64_t sent = 0;     // new candidates uploaded
    int64_t accepted = 0; // of those, what the service holds now
    int64_t alerts = 0;
};

// total + more, never past the largest count and never lowered: a service reporting absurd alert
// counts must not wrap the running total around.
[[nodiscard]] int64_t saturatingAlertSum(int64_t total, int64_t more);

// The collaborators every session of the process uses.
struct SessionServices {
    std::shared_ptr<BridgeAPI> api;
    // Shared with the worker threads that read backups, which may outlive a session's wait.
    std::shared_ptr<const IPhoneBackupScanner> scanner;
    BackupBookmarkStore bookmarks;
    UploadCheckpointStore checkpoint; // the shared list: each device keeps its own beside it
    DeviceBindingStore bindings;
    // Held by the process that writes the pairing, the choices and the checkpoint.
    std::shared_ptr<UserLock> lock;
};

// One pairing and the work that belongs to it: its token, and the cycles, children requests and
// heartbeats made with it. Destroying the session (a disconnect, a new pairing, its owner going)
// ends that work at its next wait: no further request, no checkpoint write, no signal, and its
// owner's awaits bound to it (`whileAlive`) resume no further. Only the process holding the user
// lock runs sessions, so nothing else changes the pairing under one.
class BridgeSession : public QObject {
    Q_OBJECT

public:
    BridgeSession(SessionServices services, std::string token, QObject* parent = nullptr);
    // Also stops a backup read of this session that is under way on a worker thread.
    ~BridgeSession() override;

    [[nodiscard]] const std::string& token() const;

    // The flows of this pairing, reporting into `host`: set-up, and the scan cycles with their
    // schedule. They end with the session.
    void startFlows(FlowHost& host, std::chrono::milliseconds scanInterval);
    [[nodiscard]] SetupFlow* setup() const { return m_setup.get(); }
    [[nodiscard]] ScanFlow* scans() const { return m_scans.get(); }

    [[nodiscard]] QCoro::Task<ChildrenOutcome> loadChildren();
    // One scan and upload cycle: every bound iPhone's newest finished backup in the stored folder,
    // each in turn under its own child, what is new uploaded in batches, what the service accepted
    // recorded per device, the outcome reported in one heartbeat.
    [[nodiscard]] QCoro::Task<CycleOutcome> runCycle(CycleRequest request);
    // A heartbeat whose answer does not matter; false when it was not sent or not answered.
    [[nodiscard]] QCoro::Task<bool> heartbeat(HeartbeatReport report);

    // What the work the session holds in flight uses: it outlives the session by as long as
    // that work takes to notice the session is gone.
    struct Work;

signals:
    // What a running cycle tells as it goes.
    void scanning(); // the guards passed
    // The iPhones in the folder and whose each is, before any is read.
    void devicesFound(const std::vector<quorva::BackupDescriptor>& devices,
                      const std::map<std::string, std::string>& bindings);
    void uploading(int sentBatches, int totalBatches); // before each batch, and after the last

private:
    struct DeviceTally; // what the devices of one cycle add up to
    // Reads and uploads one bound iPhone's backup; nothing, or how the session ended meanwhile.
    [[nodiscard]] QCoro::Task<std::optional<SessionEnd>>
    uploadDevice(const std::shared_ptr<const Work>& work, const BackupDescriptor& backup,
                 const std::string& childId, const std::string& scanStamp, DeviceTally& tally);

    std::shared_ptr<Work> m_work;
    std::unique_ptr<ScanFlow> m_scans;
    std::unique_ptr<SetupFlow> m_setup;
};

} // namespace quorva
