#pragma once

#include "api/BridgeAPI.h"
#include "backup/IPhoneBackupScanner.h"
#include "model/BackupDescriptor.h"
#include "model/BridgeChild.h"
#include "state/BridgePlatform.h"
#include "state/Phase.h"
#include "stores/BackupBookmarkStore.h"
#include "stores/BridgeTokenStore.h"
#include "stores/UploadCheckpointStore.h"

#include <QCoroTask>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorva {

class AutomaticScanLoop;

// The one object that holds everything the user sees and drives every workflow. Lives on
// the main thread; every operation is a coroutine on the event loop that never throws to its
// caller and re-reads state after every wait.
class BridgeAppState : public QObject {
    Q_OBJECT
    // One property a line, however long.
    // clang-format off
    Q_PROPERTY(quorva::Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(QString pairingCode READ pairingCode WRITE setPairingCode NOTIFY pairingCodeChanged)
    Q_PROPERTY(QVariantList children READ childrenForDisplay NOTIFY childrenChanged)
    Q_PROPERTY(QString selectedChildID READ selectedChildIDForDisplay WRITE setSelectedChildIDFromDisplay NOTIFY selectedChildIDChanged)
    Q_PROPERTY(QVariant selectedBackup READ selectedBackupForDisplay NOTIFY selectedBackupChanged)
    Q_PROPERTY(QDateTime lastScanAt READ lastScanAtForDisplay NOTIFY lastScanAtChanged)
    Q_PROPERTY(qint64 lastInspectedCount READ lastInspectedCount NOTIFY lastInspectedCountChanged)
    Q_PROPERTY(qint64 lastCandidateCount READ lastCandidateCount NOTIFY lastCandidateCountChanged)
    Q_PROPERTY(qint64 totalAlertsCreated READ totalAlertsCreated NOTIFY totalAlertsCreatedChanged)
    Q_PROPERTY(QString statusMessage READ statusMessage NOTIFY statusMessageChanged)
    Q_PROPERTY(bool launchesAtLogin READ launchesAtLogin NOTIFY launchesAtLoginChanged)
    Q_PROPERTY(bool hasToken READ hasToken NOTIFY tokenChanged)
    Q_PROPERTY(bool canScan READ canScan NOTIFY canScanChanged)
    // clang-format on

public:
    BridgeAppState(std::shared_ptr<BridgeAPI> api, IPhoneBackupScanner scanner, BridgeTokenStore tokenStore,
                   BackupBookmarkStore bookmarkStore, UploadCheckpointStore checkpointStore,
                   BridgePlatform platform, QObject* parent = nullptr);
    ~BridgeAppState() override;

    // ---- Published properties ----------------------------------------------------------
    [[nodiscard]] Phase phase() const { return m_phase; }
    [[nodiscard]] QString pairingCode() const { return m_pairingCode; }
    void setPairingCode(const QString& code);
    [[nodiscard]] const std::vector<BridgeChild>& childProfiles() const { return m_children; }
    [[nodiscard]] const std::optional<std::string>& selectedChildID() const { return m_selectedChildID; }
    // Every assignment is written through to the preferences; assigning nothing removes the key.
    void setSelectedChildID(std::optional<std::string> id);
    [[nodiscard]] const std::optional<BackupDescriptor>& selectedBackup() const { return m_selectedBackup; }
    [[nodiscard]] std::optional<Instant> lastScanAt() const { return m_lastScanAt; }
    [[nodiscard]] qint64 lastInspectedCount() const { return m_lastInspectedCount; }
    [[nodiscard]] qint64 lastCandidateCount() const { return m_lastCandidateCount; }
    [[nodiscard]] qint64 totalAlertsCreated() const { return m_totalAlertsCreated; }
    [[nodiscard]] QString statusMessage() const { return m_statusMessage; }
    [[nodiscard]] bool launchesAtLogin() const { return m_launchesAtLogin; }
    [[nodiscard]] const std::optional<std::string>& token() const { return m_token; }
    [[nodiscard]] bool hasToken() const { return m_token.has_value(); }
    // A token, a child and a backup are present, and no scan is running.
    [[nodiscard]] bool canScan() const;

    // ---- Operations --------------------------------------------------------------------
    QCoro::Task<> start();
    QCoro::Task<> pair();
    QCoro::Task<> chooseBackupFolder();
    QCoro::Task<> scanNow();
    QCoro::Task<> loadChildren();
    QCoro::Task<> disconnect();
    void setLaunchAtLogin(bool enabled);
    void startAutomaticScanning();
    // Whether the automatic loop exists (started by set-up, removed by disconnect).
    [[nodiscard]] bool hasAutomaticScanning() const { return m_automaticScanTask != nullptr; }

    // The same operations started from QML or a menu: they return at once.
    Q_INVOKABLE void requestStart();
    Q_INVOKABLE void requestPair();
    Q_INVOKABLE void requestChooseBackupFolder();
    Q_INVOKABLE void requestScanNow();
    Q_INVOKABLE void requestLoadChildren();
    Q_INVOKABLE void requestDisconnect();
    Q_INVOKABLE void requestSetLaunchAtLogin(bool enabled);

    // ---- Views of the properties for QML -------------------------------------------------
    [[nodiscard]] QVariantList childrenForDisplay() const;   // [{id, name}]
    [[nodiscard]] QString selectedChildIDForDisplay() const; // empty when none
    void setSelectedChildIDFromDisplay(const QString& id);   // empty clears
    // null, or {id, deviceName, productType, lastBackupAt (QDateTime, invalid when absent), isEncrypted,
    // path}
    [[nodiscard]] QVariant selectedBackupForDisplay() const;
    [[nodiscard]] QDateTime lastScanAtForDisplay() const; // invalid when absent

signals:
    void phaseChanged();
    void pairingCodeChanged();
    void childrenChanged();
    void selectedChildIDChanged();
    void selectedBackupChanged();
    void lastScanAtChanged();
    void lastInspectedCountChanged();
    void lastCandidateCountChanged();
    void totalAlertsCreatedChanged();
    void statusMessageChanged();
    void launchesAtLoginChanged();
    void tokenChanged();
    void canScanChanged();

private:
    QCoro::Task<> completeSetup();
    void restoreBackupSelection();
    void updateReadiness();
    [[nodiscard]] std::string bridgeName() const;

    // Guarded writers of the published properties: they return when nothing changes.
    void setPhase(Phase phase);
    void setStatusMessage(const QString& message);
    void setToken(std::optional<std::string> token);
    void setChildren(std::vector<BridgeChild> children);
    void setSelectedBackup(std::optional<BackupDescriptor> backup);
    void setLastScanAt(std::optional<Instant> at);
    void setLastInspectedCount(qint64 count);
    void setLastCandidateCount(qint64 count);
    void setTotalAlertsCreated(qint64 count);
    void setLaunchesAtLogin(bool enabled);

    std::shared_ptr<BridgeAPI> m_api;
    IPhoneBackupScanner m_scanner;
    BridgeTokenStore m_tokenStore;
    BackupBookmarkStore m_bookmarkStore;
    UploadCheckpointStore m_checkpointStore;
    BridgePlatform m_platform;

    Phase m_phase = Phase::starting();
    QString m_pairingCode;
    std::vector<BridgeChild> m_children;
    std::optional<std::string> m_selectedChildID;
    std::optional<BackupDescriptor> m_selectedBackup;
    std::optional<Instant> m_lastScanAt;
    qint64 m_lastInspectedCount = 0;
    qint64 m_lastCandidateCount = 0;
    qint64 m_totalAlertsCreated = 0;
    QString m_statusMessage = QStringLiteral("Starting Quorva Bridge");
    bool m_launchesAtLogin = false;
    std::optional<std::string> m_token;
    std::unique_ptr<AutomaticScanLoop> m_automaticScanTask;
};

} // namespace quorva
