#include "StateCommands.h"

#include "HumanText.h"
#include "SignalWatcher.h"
#include "StateJson.h"
#include "StatePrinter.h"
#include "StatusCommand.h"
#include "TerminalText.h"
#include "bus/BridgeService.h"
#include "devices/DeviceBackups.h"
#include "devices/DeviceWatcher.h"
#include "state/BridgeComposition.h"
#include "state/StateTexts.h"
#include "stores/BridgeTokenStore.h"

#include <QCoreApplication>
#include <QCoroTask>
#include <QCoroTimer>
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
    // The folder's iPhones, for the one each child has.
    co_await state.restoreBackupSelection();
    if (!json) {
        if (state.childProfiles().empty() && state.phase().kind() != Kind::failed)
            out << Text::tr("No child profiles.").toStdString() << "\n";
        for (const BridgeChild& child : state.childProfiles()) {
            const auto row = std::ranges::find(state.overview().children, child.id,
                                               [](const ChildOverview& c) { return c.child.id; });
            const QString iPhone = row != state.overview().children.end() && row->device
                                       ? QString::fromStdString(printable(row->device->deviceName))
                                       : Text::tr("no iPhone assigned");
            out << Text::tr("%1  %2  (%3)")
                       .arg(QString::fromStdString(visibleId(child.id)),
                            QString::fromStdString(printable(child.name)), iPhone)
                       .toStdString()
                << "\n";
        }
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
                   .arg(QString::fromStdString(visibleId(id)), programName)
                   .toStdString()
            << std::endl;
        co_return false;
    }
    co_return true;
}

QString deviceState(const BackupDescriptor& device)
{
    return device.isEncrypted      ? Text::tr("encrypted")
           : device.isBeingWritten ? Text::tr("being written")
                                   : Text::tr("finished");
}

// Only the stored folder's property lists are read; the service is not asked.
// Starts watching for connected iPhones and waits until usbmuxd answered, or did not, and each
// connected iPhone did.
QCoro::Task<> watchDevices(BridgeAppState& state)
{
    DeviceBackups* backups = state.deviceBackups();
    if (!backups)
        co_return;
    backups->start();
    for (int attempt = 0; attempt < 20 && backups->serviceState() == DeviceServiceState::notStarted;
         ++attempt)
        co_await QCoro::sleepFor(std::chrono::milliseconds(100));
    // Long enough for a phone that hangs to be told as one rather than as connected.
    const auto patience = backups->watcher().answerWithin() + std::chrono::seconds(1);
    for (auto waited = std::chrono::milliseconds(0); !backups->watcher().settled() && waited < patience;
         waited += std::chrono::milliseconds(100))
        co_await QCoro::sleepFor(std::chrono::milliseconds(100));
}

// The child an iPhone is assigned to, by name where the family is known.
QString childOf(const BridgeAppState& state, const std::string& device)
{
    const auto binding = state.deviceBindings().find(device);
    if (binding == state.deviceBindings().end())
        return Text::tr("not assigned");
    const auto child = std::ranges::find(state.childProfiles(), binding->second, &BridgeChild::id);
    return QString::fromStdString(
        printable(child == state.childProfiles().end() ? binding->second : child->name));
}

QString deviceName(const BridgeAppState& state, const std::string& device)
{
    const auto found = std::ranges::find(state.devices(), device, &BackupDescriptor::id);
    return QString::fromStdString(printable(found == state.devices().end() ? device : found->deviceName));
}

QCoro::Task<int> listDevices(BridgeAppState& state, bool json, std::ostream& out, std::ostream& err)
{
    // The children's names, when paired; offline the ids stand in for them.
    co_await state.resumePairing();
    co_await state.restoreBackupSelection();
    co_await watchDevices(state);
    if (json) {
        out << devicesJson(state).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << std::endl;
    } else {
        for (const BackupDescriptor& device : state.devices()) {
            const QString backedUp =
                device.lastBackupAt ? readableDateTime(*device.lastBackupAt) : Text::tr("date unknown");
            out << Text::tr("%1  %2 (%3)\n    last backup %4, %5; child: %6")
                       .arg(QString::fromStdString(visibleId(device.id)),
                            QString::fromStdString(printable(device.deviceName)),
                            QString::fromStdString(printable(device.productType.value_or("-"))), backedUp,
                            deviceState(device), childOf(state, device.id))
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
                   .arg(QString::fromStdString(visibleId(device)), programName)
                   .toStdString()
            << std::endl;
        co_return 1;
    }
    // The child's earlier iPhone, which this assignment releases.
    std::optional<std::string> released;
    for (const auto& [other, owner] : state.deviceBindings())
        if (child && owner == *child && other != device)
            released = other;
    if (!state.assignDevice(device, child)) {
        err << printable(state.phase().failureText().toStdString()) << std::endl;
        co_return 1;
    }
    const QString name = deviceName(state, device);
    out << (child ? Text::tr("%1 is assigned to %2.").arg(name, childOf(state, device))
                  : Text::tr("%1 is assigned to no one and is not read.").arg(name))
               .toStdString()
        << std::endl;
    if (released)
        out << Text::tr("%1 is no longer assigned to anyone and is not read.")
                   .arg(deviceName(state, *released))
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
            err << Text::tr("No scan ran: %1 (%2 choose-backup FOLDER, devices, assign DEVICE CHILD).")
                       .arg(QString::fromStdString(printable(state.statusMessage().toStdString())),
                            programName)
                       .toStdString()
                << std::endl;
        co_return 1;
    }
    co_return 0;
}

// The iPhone to back up: the one named, or the one assigned iPhone that is connected. The watcher
// lists what is connected a moment after it starts.
QCoro::Task<std::optional<QString>> deviceToBackUp(BridgeAppState& state,
                                                   const std::optional<std::string>& named, std::ostream& err)
{
    DeviceBackups& backups = *state.deviceBackups();
    std::vector<QString> connected;
    for (int attempt = 0; attempt < 30; ++attempt) {
        connected.clear();
        for (const auto& [device, child] : state.deviceBindings()) {
            const QString udid = QString::fromStdString(device);
            if (backups.status(udid).connected)
                connected.push_back(udid);
        }
        const bool found =
            named ? std::ranges::find(connected, QString::fromStdString(*named)) != connected.end()
                  : !connected.empty();
        if (found)
            break;
        co_await QCoro::sleepFor(std::chrono::milliseconds(100));
    }
    if (named)
        co_return QString::fromStdString(*named); // a device that is not there says so itself
    if (connected.size() == 1)
        co_return connected.front();
    err << (connected.empty()
                ? Text::tr("No assigned iPhone is connected to this computer.")
                : Text::tr("More than one assigned iPhone is connected: name one (%1 devices lists them).")
                      .arg(programName))
               .toStdString()
        << std::endl;
    co_return std::nullopt;
}

QCoro::Task<int> backUp(BridgeAppState& state, std::optional<std::string> named, bool terminal,
                        std::ostream& err)
{
    DeviceBackups* backups = state.deviceBackups();
    if (!backups)
        co_return 1;
    if (!state.hasToken())
        co_await state.resumePairing();
    co_await state.restoreBackupSelection();
    co_await watchDevices(state);
    const std::optional<QString> device = co_await deviceToBackUp(state, named, err);
    if (!device)
        co_return 1;
    std::optional<QMetaObject::Connection> progress;
    if (terminal)
        progress = QObject::connect(backups, &DeviceBackups::statusChanged, [&, udid = *device] {
            err << "\r\033[K" << printable(texts::activityText(backups->status(udid).activity).toStdString())
                << std::flush;
        });
    const BackupRunOutcome outcome = co_await state.backUpAndScan(*device);
    if (progress) {
        QObject::disconnect(*progress);
        err << "\r\033[K";
    }
    err << printable(texts::activityText(backups->status(*device).activity).toStdString()) << std::endl;
    co_return outcome.result == BackupRunOutcome::Result::finished ? exitStatusFor(state) : 1;
}

QCoro::Task<int> run(BridgeAppState& state, bool json, std::ostream& out, std::ostream& err)
{
    SignalWatcher watcher;
    StateFollower follower(state, json, out, err);
    BridgeService service(state);
    service.offer(); // without a bus, the other commands wait for this one to end
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
        co_return co_await runStatus(state, json, out);
    } else if (name == u"pair") {
        code = co_await pair(state, argument);
    } else if (name == u"children") {
        code = co_await listChildren(state, json, out, err);
    } else if (name == u"choose-backup") {
        // The pairing and its children first, so that what is said of the folder is true.
        co_await state.resumePairing();
        const std::string folder =
            invocation.folderBytes.isEmpty() ? argument.toStdString() : invocation.folderBytes.toStdString();
        co_await state.useBackupFolder(fs::absolute(folder).lexically_normal());
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
    } else if (name == u"backup") {
        std::optional<std::string> device;
        if (!invocation.arguments.isEmpty())
            device = argument.toStdString();
        code = co_await backUp(state, device, terminal, err);
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
    checkWorkflowArguments(invocation);
    QNetworkAccessManager session;
    BridgePlatform platform = defaultPlatform({});
    // Only a Bridge that keeps running backs iPhones up by itself: a short command would start
    // a backup and end it as it exits.
    platform.automaticBackups = invocation.command == u"run";
    // Nor does it ask a phone anything it does not back up: a phone that hangs would hold it up.
    if (platform.deviceWatcher && invocation.command != u"run" && invocation.command != u"backup") {
        DeviceWatcherOptions options;
        options.identify = false;
        platform.deviceWatcher = std::make_shared<DeviceWatcher>(options);
    }
    auto state = makeBridgeAppState(session, std::move(platform));
    // A read needs no writer: it sees what the writer has written through.
    if (invocation.command == u"status")
        return QCoro::waitFor(runStatus(*state, invocation.json, out));
    // A moment's patience: another CLI finishing its work, or the application taking its name
    // on the bus just now.
    if (!QCoro::waitFor(state->becomeTheWriter(std::chrono::seconds(5)))) {
        err << printable(state->phase().failureText().toStdString()) << std::endl;
        return 1;
    }
    return QCoro::waitFor(runWorkflowCommand(*state, invocation, terminal, out, err));
}

} // namespace quorva::cli
