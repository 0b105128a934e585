#include "devices/DeviceTexts.h"

#include "devices/DeviceActivity.h"
#include "devices/DeviceWatcher.h"
#include "devices/IPhoneBackupRun.h"

#include "model/PlatformWords.h"

#include <QCoreApplication>

namespace quorva::texts {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(quorva::texts)
};

QString refusalText(const QString& deviceName, DeviceActivity::Refusal refusal)
{
    using R = DeviceActivity::Refusal;
    switch (refusal) {
    case R::notADeviceId:
        return notADeviceId(deviceName);
    case R::notAssigned:
        return deviceNotAssigned(deviceName);
    case R::notConnected:
        return deviceNotConnected(deviceName);
    case R::noFolderChosen:
        return noBackupFolderChosen();
    case R::mustWait:
        return backupMustWait(deviceName);
    }
    return {};
}

} // namespace

QString activityText(const DeviceActivity& activity)
{
    using S = DeviceActivity::Stage;
    const QString& name = activity.deviceName;
    switch (activity.stage) {
    case S::none:
        return {};
    case S::notAnswering:
        return deviceNotAnswering(name);
    case S::waitingForPasscode:
        return backupRunState(name, BackupRunStage::waitingForPasscode, 0);
    case S::copying:
        return backupRunState(name, BackupRunStage::copying, activity.percent);
    case S::finished:
    case S::failed: {
        BackupRunOutcome ended;
        ended.result = activity.stage == S::finished ? BackupRunOutcome::Result::finished : activity.result;
        ended.exitStatus = activity.exitStatus;
        return backupRunOutcome(name, ended);
    }
    case S::refused:
        return refusalText(name, activity.refusal);
    case S::trust:
        return trustOutcome(name, {.result = activity.trust, .willEncrypt = activity.willEncrypt});
    }
    return {};
}

QString noBackupFolderChosen()
{
    return QCoreApplication::translate(words::context, words::chooseBackupFolder);
}

QString backupRunState(const QString& deviceName, BackupRunStage stage, int percent)
{
    switch (stage) {
    case BackupRunStage::notStarted:
        return {};
    case BackupRunStage::waitingForPasscode:
        // A state, not a failure: the phone shows its passcode prompt at the start of each backup.
        return Text::tr("Waiting for the passcode on %1").arg(deviceName);
    case BackupRunStage::copying:
        return Text::tr("Backing up %1: %L2 %").arg(deviceName).arg(percent);
    case BackupRunStage::ended:
        return {};
    }
    return {};
}

QString backupRunOutcome(const QString& deviceName, const BackupRunOutcome& outcome)
{
    using R = BackupRunOutcome::Result;
    switch (outcome.result) {
    case R::finished:
        return Text::tr("%1 is backed up.").arg(deviceName);
    case R::notFinished:
        return Text::tr(
                   "The backup of %1 ended without finishing; Bridge keeps reading the last finished backup.")
            .arg(deviceName);
    case R::locked:
        return Text::tr(
                   "%1 stayed locked, so the backup did not start. Unlock it and enter its passcode when it "
                   "asks.")
            .arg(deviceName);
    case R::notReached:
        return Text::
            tr("%1 could not be reached for a backup. Check the cable, unlock it and tap Trust if it asks.")
                .arg(deviceName);
    case R::folderMissing:
        return Text::tr(
                   "%1 was not backed up: the backup folder is not there. Plug in the disk that holds it, "
                   "or choose the folder again.")
            .arg(deviceName);
    case R::unplugged:
        return Text::tr("%1 was unplugged during the backup. Connect it again to finish the backup.")
            .arg(deviceName);
    case R::noDiskSpace:
        return Text::tr("There is not enough free space on this computer for the backup of %1.")
            .arg(deviceName);
    case R::stalled:
        return Text::tr(
                   "The backup of %1 stopped making progress and was ended. Keep the iPhone unlocked and "
                   "connected, then try again.")
            .arg(deviceName);
    case R::failed:
        if (outcome.exitStatus)
            return Text::tr("The backup of %1 failed (idevicebackup2 ended with exit status %2).")
                .arg(deviceName)
                .arg(*outcome.exitStatus);
        return Text::tr("The backup of %1 failed: idevicebackup2 ended unexpectedly.").arg(deviceName);
    case R::toolMissing:
        return Text::tr("Bridge cannot back up %1: idevicebackup2 is missing. Install the package "
                        "libimobiledevice-utils.")
            .arg(deviceName);
    case R::cancelled:
        return {};
    }
    return {};
}

QString trustOutcome(const QString& deviceName, const TrustOutcome& outcome)
{
    using R = TrustOutcome::Result;
    switch (outcome.result) {
    case R::trusted:
        if (outcome.willEncrypt.value_or(false))
            return encryptedBackupsOn(deviceName);
        return Text::tr("%1 trusts this computer.").arg(deviceName);
    case R::unlockFirst:
        return Text::tr("Unlock %1 and tap Trust").arg(deviceName);
    case R::waitingForAnswer:
        return Text::tr("Tap Trust on %1 to let this computer back it up").arg(deviceName);
    case R::denied:
        return Text::tr("%1 did not trust this computer").arg(deviceName);
    case R::pairAgain:
        return Text::tr("%1 no longer knows this computer. Unplug it, connect it again and tap Trust.")
            .arg(deviceName);
    case R::notConnected:
        return Text::tr("%1 is not connected to this computer by USB.").arg(deviceName);
    case R::failed:
        return Text::tr("%1 did not answer. Unplug it, connect it again and unlock it.").arg(deviceName);
    }
    return {};
}

QString encryptedBackupsOn(const QString& deviceName)
{
    return Text::tr("Bridge reads only unencrypted backups: turn off Encrypt local backup for %1")
        .arg(deviceName);
}

QString deviceNotAssigned(const QString& deviceName)
{
    return Text::tr("%1 is not assigned to a child: Bridge backs up only the children's iPhones.")
        .arg(deviceName);
}

QString deviceNotConnected(const QString& deviceName)
{
    return Text::tr("Connect %1 to this computer with its cable to back it up.").arg(deviceName);
}

QString deviceNotAnswering(const QString& deviceName)
{
    return Text::tr("%1 is connected but does not answer: unplug it and connect it again.").arg(deviceName);
}

QString notADeviceId(const QString& deviceName)
{
    return Text::tr("%1 is not backed up: its backup names it with an id no iPhone has.").arg(deviceName);
}

QString backupMustWait(const QString& deviceName)
{
    return Text::tr("%1 is backed up once the backup or scan under way has finished.").arg(deviceName);
}

QString deviceServiceUnavailable()
{
    return Text::tr("No connection to the iPhone service (usbmuxd): Bridge cannot see connected iPhones.");
}

} // namespace quorva::texts
