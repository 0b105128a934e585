#pragma once

#include <QString>

// What the parent reads of the iPhones connected to this computer and of the backups made of
// them, in the language of the translation in use.
namespace quorva {
struct DeviceActivity;
enum class BackupRunStage;
struct BackupRunOutcome;
struct TrustOutcome;
} // namespace quorva

namespace quorva::texts {

// What the parent reads of an iPhone's activity; empty when there is nothing to say.
[[nodiscard]] QString activityText(const DeviceActivity& activity);

// No folder is chosen to back up into: the parent chooses one first.
[[nodiscard]] QString noBackupFolderChosen();
// A backup this computer makes of a connected iPhone, named as the phone names itself.
[[nodiscard]] QString backupRunState(const QString& deviceName, BackupRunStage stage, int percent);
// What the parent must know of a run that ended; empty for a cancelled one.
[[nodiscard]] QString backupRunOutcome(const QString& deviceName, const BackupRunOutcome& outcome);
// What the parent must do after asking the phone to trust this computer; with a phone that
// encrypts its backups, that it must stop.
[[nodiscard]] QString trustOutcome(const QString& deviceName, const TrustOutcome& outcome);
[[nodiscard]] QString encryptedBackupsOn(const QString& deviceName);
[[nodiscard]] QString deviceNotAssigned(const QString& deviceName);
[[nodiscard]] QString deviceNotConnected(const QString& deviceName);
[[nodiscard]] QString deviceNotAnswering(const QString& deviceName);
[[nodiscard]] QString notADeviceId(const QString& deviceName);
// Another run, or a scan of the folder, is under way (or no folder is chosen yet).
[[nodiscard]] QString backupMustWait(const QString& deviceName);
[[nodiscard]] QString deviceServiceUnavailable();

} // namespace quorva::texts
