#include "StatusCommand.h"

#include "RecordJson.h"
#include "TerminalText.h"
#include "backup/IPhoneBackupScanner.h"
#include "state/BridgeAppState.h"
#include "state/StateTexts.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QDateTime>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>

namespace quorva::cli {
namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(StatusCommand)
};

nlohmann::json optionalJson(const std::optional<std::string>& value)
{
    return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}

QString safe(const std::string& text)
{
    return QString::fromStdString(printable(text));
}

} // namespace

QCoro::Task<int> runStatus(const BridgeAppState& state, bool json, std::ostream& out)
{
    const BridgeTokenStore tokenStore = state.tokenStore();
    const bool paired = (co_await tokenStore.read()).token.has_value();
    const std::optional<std::string> child = state.selectedChildID();
    // A folder never chosen is no problem; only a chosen one that cannot be found again is.
    const SessionServices& stored = state.services();
    const BackupBookmarkStore& bookmarks = stored.bookmarks;
    std::optional<std::string> folder;
    std::optional<std::string> folderProblem;
    if (bookmarks.isStored()) {
        try {
            folder = bookmarks.resolve().string();
        } catch (const std::exception& e) {
            folderProblem = e.what();
        }
    }
    // Each iPhone's newest backup, from the property lists alone, to say which ones are old.
    std::vector<BackupDescriptor> devices;
    if (folder) {
        try {
            devices = newestPerDevice(IPhoneBackupScanner().backups(*folder));
        } catch (const std::exception&) {
            // A folder without backups: the bindings are listed without dates.
        }
    }
    const Instant now = Instant::now();
    const UploadCheckpointStore& checkpoint = stored.checkpoint;
    auto accepted = checkpoint.identifiers().size();
    nlohmann::json bindings = nlohmann::json::array();
    QStringList bindingLines;
    for (const auto& [device, owner] : stored.bindings.bindings()) {
        const auto deviceAccepted = checkpoint.forDevice(device).identifiers().size();
        accepted += deviceAccepted;
        const auto backup = std::ranges::find(devices, device, &BackupDescriptor::id);
        const bool found = backup != devices.end();
        const bool old = found && isOld(*backup, now);
        bindings.push_back({{"deviceId", device},
                            {"childId", owner},
                            {"acceptedCount", deviceAccepted},
                            {"lastBackupAt", instantJson(found ? backup->lastBackupAt : std::nullopt)},
                            {"backupIsOld", old}});
        bindingLines.append(Text::tr("  %1: %2").arg(safe(device), safe(owner)));
        if (old)
            bindingLines.append(QStringLiteral("    ") +
                                texts::deviceLastBackedUpOn(
                                    safe(backup->deviceName),
                                    QDateTime::fromSecsSinceEpoch(
                                        static_cast<qint64>(backup->lastBackupAt->unixSeconds), Qt::UTC)
                                        .date()));
    }
    const bool atLogin = state.launchesAtLogin();

    if (json) {
        const nlohmann::json doc = {
            {"paired", paired},
            {"selectedChildID", optionalJson(child)},
            {"backupFolder", optionalJson(folder)},
            {"backupFolderProblem", optionalJson(folderProblem)},
            {"acceptedCount", accepted},
            {"bindings", bindings},
            {"launchesAtLogin", atLogin},
        };
        out << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << std::endl;
        co_return 0;
    }
    const QString folderText = folder          ? safe(*folder)
                               : folderProblem ? Text::tr("not found (%1)").arg(safe(*folderProblem))
                                               : Text::tr("none chosen");
    out << Text::tr("Paired:           %1").arg(paired ? Text::tr("yes") : Text::tr("no")).toStdString()
        << "\n"
        << Text::tr("Selected child:   %1").arg(child ? safe(*child) : Text::tr("none")).toStdString() << "\n"
        << Text::tr("Backup folder:    %1").arg(folderText).toStdString() << "\n"
        << Text::tr("iPhones assigned: %1")
               .arg(bindingLines.isEmpty() ? Text::tr("none") : QString())
               .toStdString()
        << "\n";
    for (const QString& line : bindingLines)
        out << line.toStdString() << "\n";
    out << Text::tr("Accepted by the service: %L1 message identifiers").arg(accepted).toStdString() << "\n"
        << Text::tr("Launch at login:  %1").arg(atLogin ? Text::tr("on") : Text::tr("off")).toStdString()
        << std::endl;
    co_return 0;
}

} // namespace quorva::cli
