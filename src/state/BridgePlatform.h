#pragma once

#include <QCoroTask>
#include <QString>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace quorva {

class DeviceWatcher;
class LoginItem;

// What the folder chooser is asked to show.
struct FolderChooserRequest {
    QString title;
    QString message;
    QString confirmLabel;
    std::optional<std::filesystem::path> startingFolder;
    std::optional<std::filesystem::path> lastChosenFolder; // still there, when one was chosen before
};

// The platform services the state object uses, injected so the window passes a real dialog,
// the CLI a folder from its command line, and tests short intervals.
struct BridgePlatform {
    // Nothing when the user cancels.
    std::function<QCoro::Task<std::optional<std::filesystem::path>>(FolderChooserRequest)> chooseFolder;
    std::shared_ptr<LoginItem> loginItem;
    std::function<QString()> computerName; // the user-visible name, empty when none
    std::chrono::milliseconds automaticScanInterval = std::chrono::minutes(30);
    // How often start-up asks again while the secret store is locked or not running yet.
    std::chrono::milliseconds secretStoreRetryInterval = std::chrono::minutes(1);
    // The iPhones connected to this computer; nothing where Bridge makes no backups itself.
    std::shared_ptr<DeviceWatcher> deviceWatcher;
    // Whether a connected iPhone with an old backup is backed up by itself: only in a Bridge that
    // keeps running (the window, the background start, the CLI's run), never in a short command,
    // which would start the backup and kill it as it exits.
    bool automaticBackups = true;
    // idevicebackup2, found on the PATH unless a path is given; a run silent this long is ended.
    QString backupTool = QStringLiteral("idevicebackup2");
    std::chrono::milliseconds backupStallAfter = std::chrono::minutes(10);
};

} // namespace quorva
