#include "StatusCommand.h"

#include "TerminalText.h"
#include "state/LoginItem.h"
#include "stores/BackupBookmarkStore.h"
#include "stores/BridgeTokenStore.h"
#include "stores/DeviceBindingStore.h"
#include "stores/Preferences.h"
#include "stores/UploadCheckpointStore.h"

#include <QCoreApplication>
#include <QCoroTask>

#include <nlohmann/json.hpp>

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

int runStatus(bool json, std::ostream& out)
{
    const bool paired = QCoro::waitFor(BridgeTokenStore().read()).token.has_value();
    std::optional<std::string> child;
    if (const auto stored = Preferences::string(QStringLiteral("bridge.selected-child-id")))
        child = stored->toStdString();
    // A folder never chosen is no problem; only a chosen one that cannot be found again is.
    const BackupBookmarkStore bookmarks;
    std::optional<std::string> folder;
    std::optional<std::string> folderProblem;
    if (Preferences::value(bookmarks.key())) {
        try {
            folder = bookmarks.resolve().string();
        } catch (const std::exception& e) {
            folderProblem = e.what();
        }
    }
    const UploadCheckpointStore checkpoint;
    auto accepted = checkpoint.identifiers().size();
    nlohmann::json bindings = nlohmann::json::array();
    QStringList bindingLines;
    for (const auto& [device, owner] : DeviceBindingStore().bindings()) {
        const auto deviceAccepted = checkpoint.forDevice(device).identifiers().size();
        accepted += deviceAccepted;
        bindings.push_back({{"deviceId", device}, {"childId", owner}, {"acceptedCount", deviceAccepted}});
        bindingLines.append(Text::tr("  %1: %2").arg(safe(device), safe(owner)));
    }
    const bool atLogin = LoginItem().status() == LoginItem::Status::enabled;

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
        return 0;
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
    return 0;
}

} // namespace quorva::cli
