#include "StateCommands.h"

#include "RunningInstance.h"
#include "SignalWatcher.h"
#include "StateJson.h"
#include "StatePrinter.h"
#include "StatusCommand.h"
#include "TerminalText.h"
#include "state/BridgeComposition.h"
#include "state/StateTexts.h"
#include "stores/BridgeTokenStore.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QNetworkAccessManager>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <ostream>

namespace quorva::cli {
namespace {

namespace fs = std::filesystem;
using Kind = Phase::Kind;

struct Text {
    Q_DECLARE_TR_FUNCTIONS(StateCommands)
};

void tellNotPaired(std::ostream& err)
{
    err << Text::tr("Not paired: pair this computer first (%1 pair CODE).").arg(programName).toStdString()
        << std::endl;
}

int exitStatusFor(const BridgeAppState& state)
{
    return state.phase().kind() == Kind::failed ? 1 : 0;
}

// Nothing of the stored pairing runs first: what it would send now belongs to the family being left.
QCoro::Task<int> pair(BridgeAppState& state, QString code)
{
    state.setPairingCode(code);
    co_await state.pair();
    co_return exitStatusFor(state);
}

QCoro::Task<int> listChildren(BridgeAppState& state, bool json, std::ostream& out, std::ostream& err)
{
    co_await state.resumePairing();
    if (!state.hasToken() && state.phase().kind() != Kind::failed) {
        tellNotPaired(err);
        co_return 1;
    }
    if (!json) {
        if (state.childProfiles().empty() && state.phase().kind() != Kind::failed)
            out << Text::tr("No child profiles.").toStdString() << "\n";
        for (const BridgeChild& child : state.childProfiles())
            out << (state.selectedChildID() == child.id ? "* " : "  ") << printable(child.id) << "  "
                << printable(child.name) << "\n";
    }
    co_return exitStatusFor(state);
}

// The stored pairing and its children, and whether `id` is one of them; says on `err` why not.
QCoro::Task<bool> resumeWithChild(BridgeAppState& state, const std::string& id, std::ostream& err)
{
    co_await state.resumePairing();
    if (state.phase().kind() == Kind::failed) { // a refused token says so, not only "not paired"
        err << printable(state.phase().failureText().toStdString()) << std::endl;
        co_return false;
    }
    if (!state.hasToken()) {
        tellNotPaired(err);
        co_return false;
    }
    if (std::ranges::find(state.childProfiles(), id, &BridgeChild::id) == state.childProfiles().end()) {
        err << Text::tr("There is no child with the id %1 in this family (%2 children lists them).")
                   .arg(QString::fromStdString(printable(id)), programName)
                   .toStdString()
            << std::endl;
        co_return false;
    }
    co_return true;
}

// Loads the pairing and its children only: choosing or listing a child must send nothing else.
QCoro::Task<int> selectChild(BridgeAppState& state, std::string id, bool json, std::ostream& out,
                             std::ostream& err)
{
    const bool known = co_await resumeWithChild(state, id, err);
    if (!known)
        co_return 1;
    const auto& children = state.childProfiles();
    const auto child = std::ranges::find(children, id, &BridgeChild::id);
    state.setSelectedChildID(id);
    if (json)
        out << nlohmann::json{{"selectedChildID", id}, {"children", childrenJson(children, id)}}.dump(
                   2, ' ', false, nlohmann::json::error_handler_t::replace)
            << std::endl;
    else
        out << Text::tr("Selected child: %1  %2")
                   .arg(QString::fromStdString(printable(child->id)),
                        QString::fromStdString(printable(child->name)))
                   .toStdString()
            << std::endl;
    co_return 0;
}

QString deviceState(const BackupDescriptor& device)
{
    return device.isEncrypted      ? Text::tr("encrypted")
           : device.isBeingWritten ? Text::tr("being written")
                                   : Text::tr("finished");
}

// Only the stored folder's property lists are read; the service is not asked.
QCoro::Task<int> listDevices(BridgeAppState& state, bool json, std::ostream& out, std::ostream& err)
{
    co_await state.restoreBackupSelection();
    if (json) {
        out << devicesJson(state).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << std::endl;
    } else {
        for (const BackupDescriptor& device : state.devices()) {
            const auto binding = state.deviceBindings().find(device.id);
            const QString child = binding == state.deviceBindings().end()
                                      ? Text::tr("not assigned")
                                      : QString::fromStdString(printable(binding->second));
            out << Text::tr("%1  %2  %3, %4: %5")
                       .arg(QString::fromStdString(printable(device.id)),
                            QString::fromStdString(printable(device.deviceName)),
                            QString::fromStdString(printable(device.productType.value_or("-"))),
                            deviceState(device), child)
                       .toStdString()
                << "\n";
        }
    }
    if (state.devices().empty()) {
        err << Text::tr("No iPhone backups found: choose the backup folder first (%1 choose-backup FOLDER).")
                   .arg(programName)
                   .toStdString()
            << std::endl;
        co_return 1;
    }
    co_return 0;
}

QCoro::Task<int> assign(BridgeAppState& state, std::string device, std::optional<std::string> child,
                        std::ostream& out, std::ostream& err)
{
    // Only a child of this family: a binding to anyone else would upload under a stranger's id.
    if (child) {
        const bool known = co_await resumeWithChild(state, *child, err);
        if (!known)
            co_return 1;
    }
    co_await state.restoreBackupSelection();
    const bool found =
        std::ranges::find(state.devices(), device, &BackupDescriptor::id) != state.devices().end();
    if (!found && !(state.deviceBindings().contains(device) && !child)) {
        err << Text::tr("There is no iPhone with the id %1 in the backup folder (%2 devices lists them).")
                   .arg(QString::fromStdString(printable(device)), programName)
                   .toStdString()
            << std::endl;
        co_return 1;
    }
    if (!state.assignDevice(device, child)) {
        err << printable(state.phase().failureText().toStdString()) << std::endl;
        co_return 1;
    }
    out << (child ? Text::tr("%1 is assigned to %2.")
                        .arg(QString::fromStdString(printable(device)),
                             QString::fromStdString(printable(*child)))
                  : Text::tr("%1 is assigned to no one.").arg(QString::fromStdString(printable(device))))
               .toStdString()
        << std::endl;
    co_return 0;
}

QCoro::Task<int> scan(BridgeAppState& state, bool terminal, std::ostream& err)
{
    std::optional<UploadProgressLine> progress;
    if (terminal)
        progress.emplace(state, err);
    // Start-up runs one scan cycle when the state is ready, exactly as at launch; a running
    // application has started long ago.
    if (state.hasToken())
        co_await state.scanNow();
    else
        co_await state.start();
    progress.reset();
    if (state.phase().kind() == Kind::failed)
        co_return 1;
    if (!state.lastScanAt()) {
        if (!state.hasToken())
            tellNotPaired(err);
        else
            err << Text::tr("No scan ran: %1 (%2 select-child ID, choose-backup FOLDER).")
                       .arg(QString::fromStdString(printable(state.statusMessage().toStdString())),
                            programName)
                       .toStdString()
                << std::endl;
        co_return 1;
    }
    co_return 0;
}

QCoro::Task<int> run(BridgeAppState& state, bool json, std::ostream& out, std::ostream& err)
{
    SignalWatcher watcher;
    StateFollower follower(state, json, out, err);
    InstanceCommands commands(state);
    commands.offer(); // without a bus, the other commands wait for this one to end
    co_await state.start();
    if (!state.hasToken()) {
        tellNotPaired(err);
        co_return 1;
    }
    co_await watcher.received();
    co_return 0;
}

} // namespace

void checkWorkflowArguments(const Invocation& invocation)
{
    const QString argument = invocation.arguments.value(0);
    if (invocation.command == u"launch-at-login" && argument != u"on" && argument != u"off")
        throw UsageError(Text::tr("Expected on or off, not '%1'.").arg(argument).toStdString());
}

QCoro::Task<int> runWorkflowCommand(BridgeAppState& state, Invocation invocation, bool terminal,
                                    std::ostream& out, std::ostream& err)
{
    const QString& name = invocation.command;
    const bool json = invocation.json;
    const QString argument = invocation.arguments.value(0);
    int code = 0;
    if (name == u"status") {
        co_return runStatus(json, out);
    } else if (name == u"pair") {
        code = co_await pair(state, argument);
    } else if (name == u"children") {
        code = co_await listChildren(state, json, out, err);
    } else if (name == u"select-child") {
        co_return co_await selectChild(state, argument.toStdString(), json, out, err);
    } else if (name == u"choose-backup") {
        co_await state.useBackupFolder(fs::absolute(argument.toStdString()).lexically_normal());
        code = exitStatusFor(state);
    } else if (name == u"devices") {
        co_return co_await listDevices(state, json, out, err);
    } else if (name == u"assign") {
        std::optional<std::string> child;
        if (!invocation.none)
            child = invocation.arguments.value(1).toStdString();
        co_return co_await assign(state, argument.toStdString(), child, out, err);
    } else if (name == u"scan") {
        code = co_await scan(state, terminal, err);
    } else if (name == u"run") {
        co_return co_await run(state, json, out, err);
    } else if (name == u"disconnect") {
        co_await state.disconnect();
        code = exitStatusFor(state);
    } else if (name == u"launch-at-login") {
        state.setLaunchAtLogin(argument == u"on");
        code = exitStatusFor(state);
    }
    printState(state, json, out, err);
    co_return code;
}

int runStateCommand(const Invocation& invocation, bool terminal, std::ostream& out, std::ostream& err)
{
    // A read needs no writer: it sees what the writer has written through.
    if (invocation.command == u"status")
        return runStatus(invocation.json, out);
    checkWorkflowArguments(invocation);
    QNetworkAccessManager session;
    auto state = makeBridgeAppState(session, defaultPlatform({}));
    // A moment's patience: another CLI finishing its work, or the application taking its name
    // on the bus just now.
    if (!QCoro::waitFor(state->becomeTheWriter(std::chrono::seconds(5)))) {
        err << printable(state->phase().failureText().toStdString()) << std::endl;
        return 1;
    }
    return QCoro::waitFor(runWorkflowCommand(*state, invocation, terminal, out, err));
}

} // namespace quorva::cli
