#pragma once

#include "backup/IPhoneBackupScanner.h"
#include "devices/IPhoneBackupRun.h"
#include "model/BackupDescriptor.h"
#include "model/BridgeChild.h"
#include "state/BridgePlatform.h"
#include "state/BridgeSession.h"
#include "state/DeviceListModel.h"
#include "state/FamilyModel.h"
#include "state/FamilyOverview.h"
#include "state/FlowHost.h"
#include "state/Phase.h"
#include "stores/BackupBookmarkStore.h"
#include "stores/BridgeTokenStore.h"
#include "stores/Preferences.h"

#include <QCoroTask>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <chrono>
#include <filesystem>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorva {

class AutomaticScanLoop;
class DeviceBackups;
class PairingAttempt;

// Everything the state object is built from: the collaborators of every pairing, the secret store
// and the platform's services. One composition root fills it, for the application and for tests.
struct BridgeStateParts {
    SessionServices services;
    BridgeTokenStore tokenStore;
    BridgePlatform platform;
    Preferences preferences; // where an earlier version kept its one child
};

// The one object that QML and the CLI see: everything the user sees, and the operations they
// start. The work itself belongs to the pairing attempt and to the session of the current
// pairing, whose flows (set-up, the scan cycles and their schedule) report here; this object
// turns what they report into published properties. It lives on the main thread, and no
// operation throws to its caller.
class BridgeAppState : public QObject, private FlowHost {
    Q_OBJECT
    // One property a line, however long.
    // clang-format off
    Q_PROPERTY(Phase phase READ phaseKind NOTIFY phaseChanged)
    Q_PROPERTY(QString failureText READ failureText NOTIFY phaseChanged)
    Q_PROPERTY(int failureCount READ failureCount NOTIFY failureRaised)
    Q_PROPERTY(QString pairingCode READ pairingCode WRITE setPairingCode NOTIFY pairingCodeChanged)
    Q_PROPERTY(quorva::FamilyModel* children READ family CONSTANT)
    Q_PROPERTY(QString backupFolder READ backupFolderForDisplay NOTIFY backupFolderChanged)
    Q_PROPERTY(quorva::DeviceListModel* deviceChoices READ deviceChoices CONSTANT)
    Q_PROPERTY(quorva::DeviceListModel* unassignedDevices READ unassignedDevices CONSTANT)
    Q_PROPERTY(QStringList attention READ attention NOTIFY attentionChanged)
    Q_PROPERTY(QString deviceServiceNote READ deviceServiceNote NOTIFY devicesChanged)
    Q_PROPERTY(bool lastScanUnchanged READ lastScanUnchanged NOTIFY lastScanAtChanged)
    Q_PROPERTY(bool setupComplete READ hasAssignedIPhone NOTIFY canScanChanged)
    Q_PROPERTY(QDateTime lastScanAt READ lastScanAtForDisplay NOTIFY lastScanAtChanged)
    Q_PROPERTY(qint64 lastInspectedCount READ lastInspectedCount NOTIFY lastInspectedCountChanged)
    Q_PROPERTY(qint64 lastCandidateCount READ lastCandidateCount NOTIFY lastCandidateCountChanged)
    Q_PROPERTY(qint64 totalAlertsCreated READ totalAlertsCreated NOTIFY totalAlertsCreatedChanged)
    Q_PROPERTY(int uploadedBatches READ uploadedBatches NOTIFY uploadProgressChanged)
    Q_PROPERTY(int totalBatches READ totalBatches NOTIFY uploadProgressChanged)
    Q_PROPERTY(QString statusMessage READ statusMessage NOTIFY statusMessageChanged)
    Q_PROPERTY(bool launchesAtLogin READ launchesAtLogin NOTIFY launchesAtLoginChanged)
    Q_PROPERTY(bool hasToken READ hasToken NOTIFY tokenChanged)
    Q_PROPERTY(bool canScan READ canScan NOTIFY canScanChanged)
    // clang-format on

public:
    // The phase as QML names it (BridgeAppState.Failed …); the failed text is failureText.
    enum class Phase { Starting, NeedsPairing, NeedsSetup, Ready, Scanning, Failed };
    Q_ENUM(Phase)

    explicit BridgeAppState(BridgeStateParts parts, QObject* parent = nullptr);
    ~BridgeAppState() override;

    // ---- Published properties ----------------------------------------------------------
    [[nodiscard]] quorva::Phase phase() const { return m_phase; }
    [[nodiscard]] Phase phaseKind() const { return static_cast<Phase>(m_phase.kind()); }
    [[nodiscard]] QString failureText() const { return m_phase.failureText(); }
    // Raised with every failure, also one whose text equals the last: the window's alert follows
    // this, not the phase, so that a repeated failure is shown again.
    [[nodiscard]] int failureCount() const { return m_failureCount; }
    [[nodiscard]] QString pairingCode() const { return m_pairingCode; }
    void setPairingCode(const QString& code);
    [[nodiscard]] const std::vector<BridgeChild>& childProfiles() const { return m_children; }
    // The chosen backup folder, as last found again; nothing when none is chosen or it is gone.
    [[nodiscard]] const std::optional<std::filesystem::path>& backupFolder() const { return m_folder; }
    // Each iPhone's newest backup in the chosen folder, as last found, and whose each is.
    [[nodiscard]] const std::vector<BackupDescriptor>& devices() const { return m_devices; }
    [[nodiscard]] const std::map<std::string, std::string>& deviceBindings() const { return m_bindings; }
    // The family against the folder, as the window and the CLI show it.
    [[nodiscard]] const FamilyOverview& overview() const { return m_overview; }
    // Everything set-up leaves open and every child that needs the parent, one line each.
    [[nodiscard]] QStringList attention() const { return m_attention; }
    // What the last scan read of each iPhone.
    [[nodiscard]] const std::map<std::string, DeviceScan>& lastScans() const { return m_lastScans; }
    // A folder is chosen and an iPhone in it is assigned: there is something to read.
    [[nodiscard]] bool hasAssignedIPhone() const;
    // Why connected iPhones cannot be seen (no usbmuxd to ask); empty while they can be.
    [[nodiscard]] QString deviceServiceNote() const;
    // The last scan found every backup as it had read it before.
    [[nodiscard]] bool lastScanUnchanged() const { return m_lastScanUnchanged; }
    // Binds the iPhone to the child, or releases it with nothing; false, with a failure shown,
    // when the choice could not be stored.
    bool assignDevice(const std::string& deviceId, const std::optional<std::string>& childId);
    [[nodiscard]] std::optional<Instant> lastScanAt() const { return m_lastScanAt; }
    [[nodiscard]] qint64 lastInspectedCount() const { return m_lastInspectedCount; }
    [[nodiscard]] qint64 lastCandidateCount() const { return m_lastCandidateCount; }
    [[nodiscard]] qint64 totalAlertsCreated() const { return m_totalAlertsCreated; }
    // While a cycle uploads: how many of its batches the service has answered, of how many.
    [[nodiscard]] int uploadedBatches() const { return m_uploadProgress.first; }
    [[nodiscard]] int totalBatches() const { return m_uploadProgress.second; }
    [[nodiscard]] QString statusMessage() const { return m_statusMessage; }
    [[nodiscard]] bool launchesAtLogin() const { return m_launchesAtLogin; }
    // The token of the current pairing; nothing when not paired, or when the service no longer
    // takes the stored token.
    [[nodiscard]] std::optional<std::string> token() const;
    [[nodiscard]] bool hasToken() const { return m_session != nullptr; }
    // A token, a folder and an assigned iPhone in it are present, and no scan is running.
    [[nodiscard]] bool canScan() const override;
    // What is stored, for a read of it beside the published properties (the CLI's status).
    [[nodiscard]] const SessionServices& services() const { return m_services; }
    [[nodiscard]] const BridgeTokenStore& tokenStore() const { return m_tokenStore; }

    // ---- Operations --------------------------------------------------------------------
    // Makes this process the one that writes the pairing, the choices and the checkpoint, for as
    // long as this object lives; false, with the failure shown, when another process still holds
    // them after `patience`.
    QCoro::Task<bool> becomeTheWriter(std::chrono::milliseconds patience);
    QCoro::Task<> start();
    // The stored pairing and its children, without the rest of start-up (no backup, no scan, no
    // heartbeat, no loop): for a command that only chooses among the children.
    QCoro::Task<> resumePairing();
    QCoro::Task<> pair();
    // Looks at the stored folder's iPhones again, reading only their property lists.
    QCoro::Task<> restoreBackupSelection();
    // Asks the platform's chooser for the folder, then uses it.
    QCoro::Task<> chooseBackupFolder();
    // The folder a parent named without the chooser, as the CLI does.
    QCoro::Task<> useBackupFolder(std::filesystem::path folder);
    // One cycle, by the current session's scan flow. Asked for while one runs, it joins the one
    // cycle that follows the running one, however many ask: it returns when that one has ended.
    QCoro::Task<> scanNow();
    // The children asked for again, by the current session's set-up flow.
    QCoro::Task<> loadChildren();
    QCoro::Task<> disconnect();
    void setLaunchAtLogin(bool enabled);
    // The current session's scan flow scans every interval from now on.
    void startAutomaticScanning();
    // The backups this computer makes of connected iPhones; null where it makes none.
    [[nodiscard]] DeviceBackups* deviceBackups() const { return m_deviceBackups.get(); }
    // Backs the connected iPhone up into the chosen folder, then scans the new backup.
    QCoro::Task<BackupRunOutcome> backUpAndScan(QString deviceId);
    // Whether the current session scans by itself (from the end of set-up to a disconnect).
    [[nodiscard]] bool hasAutomaticScanning() const;

    // The same operations started from QML or a menu: they return at once.
    Q_INVOKABLE void requestStart();
    Q_INVOKABLE void requestPair();
    Q_INVOKABLE void requestChooseBackupFolder();
    Q_INVOKABLE void requestScanNow();
    Q_INVOKABLE void requestLoadChildren();
    Q_INVOKABLE void requestDisconnect();
    Q_INVOKABLE void requestSetLaunchAtLogin(bool enabled);
    // The child's iPhone from the set-up card; an empty device id is "not on this computer".
    Q_INVOKABLE void requestAssignChildDevice(const QString& childId, const QString& deviceId);
    // An iPhone in the folder that is no child's (a parent's own): not read, and no longer news.
    Q_INVOKABLE void requestAssignToNoOne(const QString& deviceId);
    // "Back up now" and "Trust this iPhone" of a connected iPhone.
    Q_INVOKABLE void requestBackUp(const QString& deviceId);
    Q_INVOKABLE void requestTrust(const QString& deviceId);

    // ---- Views of the properties for QML -------------------------------------------------
    // The children with their bound iPhones.
    [[nodiscard]] FamilyModel* family() { return &m_family; }
    [[nodiscard]] QString backupFolderForDisplay() const; // empty when none
    // Every iPhone in the folder, after "No iPhone": what a child's picker offers.
    [[nodiscard]] DeviceListModel* deviceChoices() { return &m_deviceChoices; }
    // The iPhones in the folder that nobody is assigned.
    [[nodiscard]] DeviceListModel* unassignedDevices() { return &m_unassignedDevices; }
    [[nodiscard]] QDateTime lastScanAtForDisplay() const; // invalid when absent

signals:
    void phaseChanged();
    void failureRaised();
    void pairingCodeChanged();
    void childrenChanged();
    void backupFolderChanged();
    void devicesChanged();
    void attentionChanged();
    void lastScanAtChanged();
    void lastInspectedCountChanged();
    void lastCandidateCountChanged();
    void totalAlertsCreatedChanged();
    void uploadProgressChanged();
    void statusMessageChanged();
    void launchesAtLoginChanged();
    void tokenChanged();
    void canScanChanged();
    // A cycle of scanNow() ended; delivered from the event loop, never inside the cycle.
    void scanRoundFinished();

private:
    // Reads the stored pairing and begins its session; false when there is none (the phase says
    // why), or when this object went meanwhile.
    QCoro::Task<bool> beginStoredSession();
    // The current session's set-up flow.
    QCoro::Task<> completeSetup();
    void updateReadiness();
    // The folder looked at again after a backup made here, then a scan by the session if any.
    QCoro::Task<> lookAfterBackup();

    // What the session's flows report.
    bool childrenAnswered(const ChildrenOutcome& outcome) override;
    QCoro::Task<> lookAtFolder() override;
    void showReadiness() override;
    std::optional<CycleRequest> cycleRequest() override;
    void cycleEnded(const CycleOutcome& outcome) override;
    [[nodiscard]] HeartbeatReport setupReport() const override;
    [[nodiscard]] std::string bridgeName() const;
    // Starts a session for the stored pairing, ending the one before.
    void beginSession(std::string token);
    // Ends the current session and what it started; the stored pairing is not touched.
    void endSession();
    // Ends what the current session has in flight; the pairing itself goes on in a fresh one.
    void interruptSession();
    // The session of this token in place of the current one, which ends.
    void replaceSession(std::string token);
    // What every operation does when the service refused the current session's token.
    void handleSessionEnd(SessionEnd end);
    void waitForSecretStore();

    // Guarded writers of the published properties: they return when nothing changes.
    void setPhase(quorva::Phase phase);
    void raiseFailure(Failure failure); // phase failed, announced even when it repeats
    void setStatusMessage(const QString& message);
    void setChildren(std::vector<BridgeChild> children);
    void setBackupFolder(std::optional<std::filesystem::path> folder);
    // The devices found and their bindings.
    void setDevices(std::vector<BackupDescriptor> devices, std::map<std::string, std::string> bindings);
    // The family, its rows and what needs the parent, after any of what they follow changed.
    void refreshFamily();
    [[nodiscard]] static QString lastScanText(const DeviceScan& scan);
    [[nodiscard]] std::vector<DeviceRow> deviceRows(const std::vector<BackupDescriptor>& devices) const;
    void setLastScanAt(std::optional<Instant> at);
    void setLastInspectedCount(qint64 count);
    void setLastCandidateCount(qint64 count);
    void setTotalAlertsCreated(qint64 count);
    void setUploadProgress(int uploaded, int total);
    void setLaunchesAtLogin(bool enabled);
    // The folder and the bound iPhones' newest finished backups, for the backups made here.
    void updateBackupTargets();

    SessionServices m_services;
    BridgeTokenStore m_tokenStore;
    BridgePlatform m_platform;
    Preferences m_preferences;

    UserLock::Hold m_writer;
    std::unique_ptr<PairingAttempt> m_pairing; // the pairing in flight
    std::unique_ptr<BridgeSession> m_session;

    quorva::Phase m_phase = quorva::Phase::starting();
    int m_failureCount = 0;
    QString m_pairingCode;
    std::vector<BridgeChild> m_children;
    bool m_childrenLoaded = false;
    std::optional<std::string> m_earlierChild; // read once, never written
    std::optional<std::filesystem::path> m_folder;
    std::vector<BackupDescriptor> m_devices;
    std::map<std::string, std::string> m_bindings;
    FamilyOverview m_overview;
    FamilyModel m_family;
    DeviceListModel m_deviceChoices{DeviceListModel::First::noIPhone};
    DeviceListModel m_unassignedDevices;
    QStringList m_attention;
    std::map<std::string, DeviceScan> m_lastScans;
    // The chosen folder was not reachable at the last look (an unplugged disk): it stays chosen,
    // and every scan looks for it again.
    bool m_folderAbsent = false;
    bool m_lastScanUnchanged = false;
    std::optional<Instant> m_lastScanAt;
    qint64 m_lastInspectedCount = 0;
    qint64 m_lastCandidateCount = 0;
    qint64 m_totalAlertsCreated = 0;
    std::pair<int, int> m_uploadProgress; // batches answered, of how many
    QString m_statusMessage;
    bool m_launchesAtLogin = false;
    std::unique_ptr<AutomaticScanLoop> m_secretStoreRetry;
    std::unique_ptr<DeviceBackups> m_deviceBackups;
};

} // namespace quorva
