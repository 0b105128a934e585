#pragma once

#include <QCoroTask>
#include <QObject>
#include <QString>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>

// After the standard headers: moc 6.4 fails to parse <concepts> when <compare> comes first.
#include "devices/DeviceActivity.h"
#include "devices/DeviceWatcher.h"
#include "devices/IPhoneBackupRun.h"

namespace quorva {

// One of the family's iPhones on this computer: whether it is there, and what happens to it.
struct DeviceStatus {
    bool connected = false;
    bool running = false;      // a backup of it is being made
    bool untrusted = false;    // it did not let this computer back it up: "Trust this iPhone" helps
    bool notAnswering = false; // connected, but it hangs: unplugging it helps
    DeviceActivity activity;
    friend bool operator==(const DeviceStatus&, const DeviceStatus&) = default;
};

// Makes the backups of the family's iPhones on this computer, into the chosen folder: a bound
// iPhone that is connected and whose newest finished backup is older than twelve hours, and one
// the parent asks for. Never two runs at once, and none while a scan reads the folder.
class DeviceBackups : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::hours staleAfter{12};

    // A bound iPhone: its name for the texts, and when its newest finished backup was made.
    struct Target {
        QString name;
        std::optional<Instant> lastFinished;
        // Where discovery found its backup: a new one is made there, so that the next scan reads
        // it, also when the chosen folder is this iPhone's own backup folder.
        std::optional<std::filesystem::path> backupFolder;
    };

    DeviceBackups(std::shared_ptr<DeviceWatcher> watcher, BackupRunOptions options,
                  QObject* parent = nullptr);
    ~DeviceBackups() override;

    // Starts watching for connected iPhones; false when another watcher of this process does.
    bool start();
    void setTargets(std::optional<std::filesystem::path> folder, std::map<QString, Target> bound);
    // While a scan reads the folder, no run starts; one that was due starts after it.
    void setScanning(bool scanning);
    // Off: only the runs asked for with backUp() are made.
    void setAutomatic(bool automatic) { m_automatic = automatic; }

    // A run of the iPhone now, to its end; `failed` without a run when it is not bound, not
    // connected, or another run or a scan is under way (the activity says which).
    QCoro::Task<BackupRunOutcome> backUp(QString udid);
    // Asks the iPhone to trust this computer; the answer tells what the parent does next, and is
    // none when this object went meanwhile.
    QCoro::Task<DeviceActivity> trust(QString udid);

    [[nodiscard]] DeviceStatus status(const QString& udid) const;
    [[nodiscard]] bool isRunning() const { return m_run != nullptr; }
    [[nodiscard]] DeviceServiceState serviceState() const { return m_watcher->serviceState(); }
    [[nodiscard]] const DeviceWatcher& watcher() const { return *m_watcher; }

signals:
    void statusChanged();
    // A run this object started by itself ended with a new finished backup: time to scan it.
    void backedUp(const QString& udid);
    // Any run ended, started here or by the parent (not a cancelled one): finished or failed.
    void runEnded(const QString& udid, const quorva::DeviceActivity& ended);

private:
    void considerAutomaticRun();
    QCoro::Task<> runAutomatically(QString udid);
    void setActivity(const QString& udid, DeviceActivity activity);
    [[nodiscard]] DeviceActivity refused(const QString& udid, DeviceActivity::Refusal why) const;
    [[nodiscard]] QString nameOf(const QString& udid) const;
    [[nodiscard]] std::map<QString, Target>::const_iterator boundTarget(const QString& udid) const;

    std::shared_ptr<DeviceWatcher> m_watcher;
    BackupRunOptions m_options;
    std::optional<std::filesystem::path> m_folder;
    std::map<QString, Target> m_bound;
    bool m_scanning = false;
    bool m_automatic = true;
    std::unique_ptr<IPhoneBackupRun> m_run;
    std::map<QString, DeviceActivity> m_activities; // the last word on each iPhone
    std::map<QString, bool> m_untrusted;            // refused by the iPhone until it trusts this computer
    std::map<QString, bool>
        m_triedAutomatically; // once per connection, so a failure is not retried in a loop
};

} // namespace quorva
