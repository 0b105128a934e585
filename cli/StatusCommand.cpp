#include "StatusCommand.h"

#include "HumanText.h"
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

QCoro::Task<int> runStatus(BridgeAppState& state, bool json, std::ostream& out)
{
    const BridgeTokenStore tokenStore = state.tokenStore();
    const bool paired = (co_await tokenStore.read()).token.has_value();
    // The children's names: the one thing asked of the service. Offline, the ids stand in.
    if (paired)
        co_await state.resumePairing();
    // A folder never chosen is no problem; only a chosen one that cannot be found again is.
    const SessionServices& stored = state.services();
    std::optional<std::string> folderProblem;
    if (stored.bookmarks.isStored()) {
        try {
            (void)stored.bookmarks.resolve();
        } catch (const std::exception& e) {
            folderProblem = e.what();
        }
    }
    // Each iPhone's newest backup, from the property lists alone.
    co_await state.restoreBackupSelection();
    const std::optional<std::string> folder =
        state.backupFolder() ? std::optional(state.backupFolder()->string()) : std::nullopt;
    const FamilyOverview& family = state.overview();
    const UploadCheckpointStore& checkpoint = stored.checkpoint;
    auto accepted = checkpoint.identifiers().size();
    for (const auto& [device, owner] : stored.bindings.bindings())
        accepted += checkpoint.forDevice(device).identifiers().size();

    nlohmann::json children = nlohmann::json::array();
    QStringList childLines;
    for (const ChildOverview& row : family.children) {
        const std::optional<BackupDescriptor>& device = row.device;
        const auto deviceAccepted = device ? checkpoint.forDevice(device->id).identifiers().size() : 0;
        children.push_back(
            {{"id", row.child.id},
             {"name", row.child.name},
             {"deviceId", device ? nlohmann::json(device->id) : nlohmann::json(nullptr)},
             {"deviceName", device ? nlohmann::json(device->deviceName) : nlohmann::json(nullptr)},
             {"lastBackupAt", instantJson(device ? device->lastBackupAt : std::nullopt)},
             {"state", device ? nlohmann::json(stateName(*device)) : nlohmann::json(nullptr)},
             {"acceptedCount", deviceAccepted},
             {"attention", row.attention ? nlohmann::json(texts::noticeText(*row.attention).toStdString())
                                         : nlohmann::json(nullptr)}});
        childLines.append(safe(row.child.name));
        if (device) {
            childLines.append(Text::tr("  iPhone:       %1 (%2)")
                                  .arg(safe(device->deviceName), safe(device->productType.value_or("-"))));
            childLines.append(Text::tr("  Last backup:  %1")
                                  .arg(device->lastBackupAt ? readableDateTime(*device->lastBackupAt)
                                                            : Text::tr("date unknown")));
            childLines.append(Text::tr("  Accepted:     %L1 message identifiers").arg(deviceAccepted));
        } else {
            childLines.append(Text::tr("  iPhone:       none assigned"));
        }
        if (row.attention)
            childLines.append(
                Text::tr("  Attention:    %1").arg(safe(texts::noticeText(*row.attention).toStdString())));
    }
    nlohmann::json unassigned = nlohmann::json::array();
    QStringList unassignedLines;
    for (const BackupDescriptor& device : family.unassigned) {
        unassigned.push_back({{"id", device.id},
                              {"name", device.deviceName},
                              {"lastBackupAt", instantJson(device.lastBackupAt)}});
        unassignedLines.append(
            Text::tr("  %1, last backup %2 (%3)")
                .arg(safe(device.deviceName),
                     device.lastBackupAt ? readableDateTime(*device.lastBackupAt) : Text::tr("date unknown"),
                     safe(device.id)));
    }
    nlohmann::json attention = nlohmann::json::array();
    for (const Notice& notice : family.notices)
        attention.push_back(texts::noticeText(notice).toStdString());
    const bool atLogin = state.launchesAtLogin();

    if (json) {
        const nlohmann::json doc = {
            {"paired", paired},
            {"backupFolder", optionalJson(folder)},
            {"backupFolderProblem", optionalJson(folderProblem)},
            {"children", children},
            {"unassignedDevices", unassigned},
            {"attention", attention},
            {"acceptedCount", accepted},
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
        << Text::tr("Backup folder:    %1").arg(folderText).toStdString() << "\n";
    if (!childLines.isEmpty())
        out << "\n" << childLines.join(u'\n').toStdString() << "\n";
    if (!unassignedLines.isEmpty())
        out << "\n"
            << Text::tr("Not assigned to anyone, never read:").toStdString() << "\n"
            << unassignedLines.join(u'\n').toStdString() << "\n";
    if (!family.notices.empty()) {
        out << "\n" << Text::tr("Needs your attention:").toStdString() << "\n";
        for (const Notice& notice : family.notices)
            out << "  " << safe(texts::noticeText(notice).toStdString()).toStdString() << "\n";
    }
    out << "\n"
        << Text::tr("Accepted by the service: %L1 message identifiers").arg(accepted).toStdString() << "\n"
        << Text::tr("Launch at login:  %1").arg(atLogin ? Text::tr("on") : Text::tr("off")).toStdString()
        << std::endl;
    co_return 0;
}

} // namespace quorva::cli
