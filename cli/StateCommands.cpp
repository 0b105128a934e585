#include "StateCommands.h"

#include "RecordJson.h"
#include "SignalWatcher.h"
#include "StateJson.h"
#include "TerminalText.h"
#include "model/Iso8601.h"
#include "state/BridgeComposition.h"
#include "state/LoginItem.h"
#include "stores/BackupBookmarkStore.h"
#include "stores/BridgeTokenStore.h"
#include "stores/Preferences.h"
#include "stores/UploadCheckpointStore.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QCoroTask>

#include <filesystem>
#include <ostream>

namespace quorva::cli {
namespace {

namespace fs = std::filesystem;
using Kind = Phase::Kind;

QCoro::Task<std::optional<fs::path>> answerChooser(std::optional<fs::path> folder)
{
    co_return folder;
}

void printState(const BridgeAppState& state, bool json, std::ostream& out)
{
    if (json) {
        out << stateJson(state).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        return;
    }
    const Phase phase = state.phase();
    out << "Phase:  " << phase.name().toStdString() << "\n";
    if (phase.kind() == Kind::failed)
        out << "Needs attention: " << printable(phase.failureText().toStdString()) << "\n";
    out << "Status: " << printable(state.statusMessage().toStdString()) << "\n";
    if (const auto& backup = state.selectedBackup())
        out << "Backup: " << printable(backup->deviceName) << (backup->isEncrypted ? " (encrypted)" : "")
            << " in " << printable(backup->url.string()) << "\n";
    if (const auto at = state.lastScanAt())
        out << "Last scan: " << formatInternetDateTime(*at) << ", " << state.lastInspectedCount()
            << " messages inspected, " << state.lastCandidateCount() << " new candidates sent, "
            << state.totalAlertsCreated() << " alerts created\n";
}

int exitStatusFor(const BridgeAppState& state)
{
    return state.phase().kind() == Kind::failed ? 1 : 0;
}

QCoro::Task<int> pair(BridgeAppState& state, std::string code)
{
    co_await state.start();
    state.setPairingCode(QString::fromStdString(code));
    co_await state.pair();
    co_return exitStatusFor(state);
}

QCoro::Task<int> listChildren(BridgeAppState& state, bool json, std::ostream& out)
{
    co_await state.start();
    if (!json) {
        if (!state.hasToken())
            out << "Not paired: pair this computer first (quorva-bridge-cli pair CODE).\n";
        else if (state.childProfiles().empty())
            out << "No child profiles.\n";
        for (const BridgeChild& child : state.childProfiles())
            out << (state.selectedChildID() == child.id ? "* " : "  ") << printable(child.id) << "  "
                << printable(child.name) << "\n";
    }
    co_return exitStatusFor(state);
}

QCoro::Task<int> scan(BridgeAppState& state, std::ostream& err)
{
    // Start-up runs one scan cycle when the state is ready, exactly as at launch.
    co_await state.start();
    if (state.phase().kind() == Kind::failed)
        co_return 1;
    if (!state.lastScanAt()) {
        if (!state.hasToken())
            err << "No scan ran: this computer is not paired (quorva-bridge-cli pair CODE).\n";
        else
            err << "No scan ran: " << printable(state.statusMessage().toStdString())
                << " (quorva-bridge-cli select-child ID, choose-backup FOLDER).\n";
        co_return 1;
    }
    co_return 0;
}

QCoro::Task<int> run(BridgeAppState& state, bool json, std::ostream& out, std::ostream& err)
{
    SignalWatcher watcher;
    QObject::connect(&state, &BridgeAppState::phaseChanged, &state, [&] { printState(state, json, out); });
    co_await state.start();
    if (!state.hasToken()) {
        err << "Not paired: pair this computer first (quorva-bridge-cli pair CODE).\n";
        co_return 1;
    }
    co_await watcher.received();
    co_return 0;
}

int status(bool json, std::ostream& out)
{
    const bool paired = QCoro::waitFor(BridgeTokenStore().read()).token.has_value();
    const auto child = Preferences::string(QStringLiteral("bridge.selected-child-id"));
    std::optional<fs::path> folder;
    std::optional<std::string> folderProblem;
    try {
        folder = BackupBookmarkStore().resolve();
    } catch (const std::exception& e) {
        folderProblem = e.what();
    }
    const auto accepted = UploadCheckpointStore().identifiers().size();
    const bool atLogin = LoginItem().status() == LoginItem::Status::enabled;

    if (json) {
        const nlohmann::json doc = {
            {"paired", paired},
            {"selectedChildID", child ? nlohmann::json(child->toStdString()) : nlohmann::json(nullptr)},
            {"backupFolder", folder ? nlohmann::json(folder->string()) : nlohmann::json(nullptr)},
            {"backupFolderProblem", folderProblem ? nlohmann::json(*folderProblem) : nlohmann::json(nullptr)},
            {"acceptedCount", accepted},
            {"launchesAtLogin", atLogin},
        };
        out << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        return 0;
    }
    out << "Paired:           " << (paired ? "yes" : "no") << "\n"
        << "Selected child:   " << (child ? printable(child->toStdString()) : "none") << "\n"
        << "Backup folder:    "
        << printable(folder ? folder->string() : "none (" + folderProblem.value_or("") + ")") << "\n"
        << "Accepted by the service: " << accepted << " message identifiers\n"
        << "Launch at login:  " << (atLogin ? "on" : "off") << "\n";
    return 0;
}

} // namespace

int runStateCommand(const std::string& name, const CliArguments& args, std::ostream& out, std::ostream& err)
{
    const bool json = args.flag("--json");
    if (name == "status") {
        args.positionals(0);
        return status(json, out);
    }

    std::optional<fs::path> chosenFolder;
    if (name == "choose-backup")
        chosenFolder = fs::absolute(args.positionals(1).front()).lexically_normal();
    if (name == "launch-at-login") {
        const std::string& value = args.positionals(1).front();
        if (value != "on" && value != "off")
            throw UsageError("launch-at-login takes on or off");
    }

    QNetworkAccessManager session;
    auto state = makeBridgeAppState(
        session, defaultPlatform([chosenFolder](FolderChooserRequest) { return answerChooser(chosenFolder); }));

    int code = 0;
    if (name == "pair") {
        code = QCoro::waitFor(pair(*state, args.positionals(1).front()));
    } else if (name == "children") {
        args.positionals(0);
        code = QCoro::waitFor(listChildren(*state, json, out));
    } else if (name == "select-child") {
        state->setSelectedChildID(args.positionals(1).front());
    } else if (name == "choose-backup") {
        QCoro::waitFor(state->chooseBackupFolder());
        code = exitStatusFor(*state);
    } else if (name == "scan") {
        args.positionals(0);
        code = QCoro::waitFor(scan(*state, err));
    } else if (name == "run") {
        args.positionals(0);
        code = QCoro::waitFor(run(*state, json, out, err));
    } else if (name == "disconnect") {
        args.positionals(0);
        QCoro::waitFor(state->disconnect());
    } else if (name == "launch-at-login") {
        state->setLaunchAtLogin(args.positionals(1).front() == "on");
        code = exitStatusFor(*state);
    }
    if (name != "run")
        printState(*state, json, out);
    return code;
}

} // namespace quorva::cli
