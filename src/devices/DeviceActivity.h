#pragma once

#include "devices/DeviceWatcher.h"
#include "devices/IPhoneBackupRun.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quorva {

// The last thing the parent is told of one of the family's iPhones on this computer: how far a
// backup made of it has come, how the last one ended, why none was started, or what asking it to
// trust this computer came to. Values only: the window, the CLI and a notification each word it
// in their reader's language.
struct DeviceActivity {
    enum class Stage {
        none,
        notAnswering, // connected, but its lockdown hangs: unplugging it helps
        waitingForPasscode,
        copying, // with `percent`
        finished,
        failed,  // with `result` (never finished or cancelled) and the tool's `exitStatus`
        refused, // no run was started: `refusal` says why
        trust,   // with `trust`, what asking the phone to trust this computer came to
    };
    enum class Refusal {
        notADeviceId, // its backup names it with an id no iPhone has
        notAssigned,
        notConnected,
        noFolderChosen,
        mustWait, // another run, or a scan of the folder, is under way
    };

    Stage stage = Stage::none;
    QString deviceName{}; // as the backup or, failing that, the phone names itself
    int percent = 0;
    BackupRunOutcome::Result result = BackupRunOutcome::Result::failed;
    std::optional<int> exitStatus{};
    Refusal refusal = Refusal::notConnected;
    TrustOutcome::Result trust = TrustOutcome::Result::failed;
    bool willEncrypt = false; // with a trusted phone: it encrypts its backups, which Bridge cannot read

    // How a run ended: finished, failed, or nothing to tell of a cancelled one.
    [[nodiscard]] static DeviceActivity ended(QString deviceName, const BackupRunOutcome& outcome);
    [[nodiscard]] static DeviceActivity asked(QString deviceName, const TrustOutcome& outcome);

    // The record as the bus carries it: the device's name, the stage, the stage's detail (a run's
    // result, a refusal's reason, a trust answer) and its figure (percent, exit status, 1 for a
    // phone that encrypts), as names a client looks up and never as sentences.
    [[nodiscard]] QStringList toArguments() const;
    // Nothing for arguments that are not a record's.
    [[nodiscard]] static std::optional<DeviceActivity> fromArguments(const QStringList& arguments);

    // The names the CLI's JSON and the bus give the enumerations.
    [[nodiscard]] static QString stageName(Stage stage);
    [[nodiscard]] static QString resultName(BackupRunOutcome::Result result);
    [[nodiscard]] static QString refusalName(Refusal refusal);
    [[nodiscard]] static QString trustName(TrustOutcome::Result result);

    friend bool operator==(const DeviceActivity&, const DeviceActivity&) = default;
};

} // namespace quorva
