#pragma once

#include <QCoroTask>
#include <QObject>
#include <QString>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

// After the standard headers: moc 6.4 fails to parse <concepts> when <compare> comes first.
#include "model/Instant.h"

class QProcess;
class QTimer;

namespace quorva {

// Whether `id` has the shape of an iPhone's id, the only kind that may name a folder or follow -u.
[[nodiscard]] bool isDeviceId(const QString& id);

struct BackupRunOptions {
    // idevicebackup2 from libimobiledevice-utils, found on PATH unless a path is given.
    QString tool = QStringLiteral("idevicebackup2");
    // A run with no output for this long is ended: a phone that went to sleep mid-run, or a cable
    // that stopped carrying data, leaves the tool waiting forever. Longer than the phone's own
    // three minutes at the passcode prompt.
    std::chrono::milliseconds stallAfter = std::chrono::minutes(10);
    // How long an ended run may take to say goodbye to the phone before it is killed.
    std::chrono::milliseconds terminateGrace = std::chrono::seconds(5);
};

enum class BackupRunStage {
    notStarted,
    // The tool asked the phone for a backup and nothing has come back yet: since iOS 16.1 the
    // phone first asks for its passcode. (The tool's own lines reach us only with its first
    // progress bar, as it buffers them when writing to a pipe, so this is all that can be known.)
    waitingForPasscode,
    copying, // with a percentage
    ended,
};

struct BackupRunOutcome {
    enum class Result {
        finished,      // the tool ended well and Status.plist says a new snapshot is finished
        notFinished,   // exit 0, but Status.plist is missing, unfinished or older than the run
        locked,        // the phone stayed locked at the passcode prompt (exit 208)
        notReached,    // exit 255 before any progress: not connected, or lockdown refused it
        unplugged,     // exit 255 after progress had begun
        folderMissing, // exit 255: the folder to back up into is not there (an unplugged disk)
        noDiskSpace,   // exit 105
        stalled,       // no output for BackupRunOptions::stallAfter: ended by us
        failed,        // any other exit status, or the tool crashed
        toolMissing,   // the tool could not be started
        cancelled,
    };

    Result result = Result::failed;
    std::optional<int> exitStatus;       // when the tool ended by itself
    int percent = 0;                     // the last progress seen
    bool incremental = false;            // a backup of this phone was already in the folder
    std::optional<Instant> snapshotDate; // Status.plist's Date, with `finished`
    // The tool's last line other than a progress bar, as it wrote it: for logs, never shown.
    QString lastLine;

    friend bool operator==(const BackupRunOutcome&, const BackupRunOutcome&) = default;
};

// One run of `idevicebackup2 -u UDID backup ROOT`: the phone's backup goes into ROOT/UDID, the
// folder the scanner reads. Incremental when a backup of the phone is already there.
class IPhoneBackupRun : public QObject {
    Q_OBJECT

public:
    IPhoneBackupRun(QString udid, std::filesystem::path root, BackupRunOptions options = {},
                    QObject* parent = nullptr);
    ~IPhoneBackupRun() override;

    // Runs once; never throws. The outcome of a second call is `failed` without a run.
    QCoro::Task<BackupRunOutcome> run();
    // Ends the run in flight; run() then completes with `cancelled`.
    void cancel();

    [[nodiscard]] BackupRunStage stage() const { return m_stage; }
    [[nodiscard]] int percent() const { return m_percent; }
    [[nodiscard]] const QString& udid() const { return m_udid; }

signals:
    void stageChanged(quorva::BackupRunStage stage);
    void progressed(int percent);

private:
    void readOutput();
    void appendPending(QByteArrayView bytes);
    void endRun(bool stalled);
    void setStage(BackupRunStage stage);
    [[nodiscard]] BackupRunOutcome::Result resultOfExit(int status) const;
    [[nodiscard]] std::optional<Instant> finishedSnapshotDate() const;

    QString m_udid;
    std::filesystem::path m_root;
    BackupRunOptions m_options;
    std::unique_ptr<QProcess> m_process;
    QTimer* m_stallTimer = nullptr;
    QByteArray m_pending; // the end of the output after the last line break or carriage return
    Instant m_startedAt;
    BackupRunStage m_stage = BackupRunStage::notStarted;
    int m_percent = 0;
    bool m_percentSeen = false;
    bool m_started = false;
    bool m_stalled = false;
    bool m_cancelled = false;
    QString m_lastLine;
};

} // namespace quorva
