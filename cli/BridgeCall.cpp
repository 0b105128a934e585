#include "BridgeCall.h"

#include "HumanText.h"
#include "RecordJson.h"
#include "TerminalText.h"
#include "bridge1proxy.h"
#include "bus/BusTypes.h"
#include "state/Failure.h"
#include "state/StateTexts.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QFile>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace quorva::cli {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(BridgeCall)
};

// A scan of a large backup over a slow network takes minutes; the bus's default is 25 s.
constexpr int answerTimeoutMs = 6 * 60 * 60 * 1000;

using Bridge = AppQuorvaBridgeBridge1Interface;

std::string safe(const QString& text)
{
    return printable(text.toStdString());
}

std::optional<Phase::Kind> phaseNamed(const QString& name)
{
    using K = Phase::Kind;
    if (name == u"starting")
        return K::starting;
    if (name == u"needsPairing")
        return K::needsPairing;
    if (name == u"needsSetup")
        return K::needsSetup;
    if (name == u"ready")
        return K::ready;
    if (name == u"scanning")
        return K::scanning;
    if (name == u"failed")
        return K::failed;
    return std::nullopt;
}

std::optional<Instant> instantOf(qint64 ms)
{
    if (ms == 0)
        return std::nullopt;
    return Instant{static_cast<double>(ms) / 1000.0};
}

// Waits for the answer; meanwhile the Bridge's signals reach this process's slots.
void await(const QDBusPendingCall& call)
{
    QDBusPendingCallWatcher watcher(call);
    if (watcher.isFinished())
        return;
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    loop.exec();
}

// Whether every case in it is known here, and a failure made of others came with its parts.
bool wordable(const Failure& failure)
{
    if (failure.kind == FailureCase::notice)
        return noticeOf(failure.arguments).has_value();
    if ((failure.kind == FailureCase::several || failure.kind == FailureCase::childFailed) &&
        failure.parts.empty())
        return false;
    return std::ranges::all_of(failure.parts, wordable);
}

// A failure in this process's words, from its case, arguments and parts; the Bridge's own text
// for one that names a case of a later version.
QString wordedHere(const QString& name, const QStringList& arguments, const QList<bus::Case>& parts,
                   const QString& theirs)
{
    const std::optional<FailureCase> kind = failureCaseNamed(name);
    if (!kind)
        return theirs;
    Failure failure{*kind, arguments, {}};
    for (const bus::Case& part : parts) {
        std::optional<Failure> each = partOf(part.name, part.arguments);
        if (!each)
            return theirs;
        failure.parts.push_back(std::move(*each));
    }
    return wordable(failure) ? texts::failureText(failure) : theirs;
}

// The failure a call answered with: its arguments are the phase's where it is the phase's
// failure, a backup's those of the iPhone's activity, else the values the request named.
QString failureText(const Bridge& bridge, const QDBusError& error, const QStringList& asked)
{
    const QString name = bus::failureNameOf(error.name());
    if (name.isEmpty())
        return error.message().isEmpty() ? texts::busyElsewhere() : error.message();
    const bool phases = bridge.failureCode() == name;
    QStringList arguments = phases ? bridge.failureArguments() : asked;
    if (failureCaseNamed(name) == FailureCase::backupFailed) {
        const QString device = asked.value(0);
        for (const QVariantMap& each : bridge.devices()) {
            const QStringList activity = each.value(QStringLiteral("activity")).toStringList();
            const QString stage = activity.value(1);
            if ((device.isEmpty() || each.value(QStringLiteral("id")).toString() == device) &&
                (stage == u"failed" || stage == u"refused" || stage == u"notAnswering"))
                arguments = activity;
        }
    }
    return wordedHere(name, arguments, phases ? bridge.failureParts() : QList<bus::Case>(), error.message());
}

QString childName(const QList<QVariantMap>& children, const QString& id)
{
    for (const QVariantMap& child : children)
        if (child.value(QStringLiteral("id")).toString() == id)
            return child.value(QStringLiteral("name")).toString();
    return id;
}

QString deviceName(const QList<QVariantMap>& devices, const QString& id)
{
    for (const QVariantMap& device : devices)
        if (device.value(QStringLiteral("id")).toString() == id)
            return device.value(QStringLiteral("name")).toString();
    return id;
}

// What needs the parent, in this process's words; a notice of a later version is left out.
QStringList attentionLines(const Bridge& bridge)
{
    QStringList lines;
    for (const bus::Case& each : bridge.attention())
        if (const std::optional<NoticeCase> kind = noticeCaseNamed(each.name))
            lines.append(texts::noticeText(Notice{*kind, each.arguments}));
    return lines;
}

nlohmann::json stateJson(const Bridge& bridge)
{
    nlohmann::json children = nlohmann::json::array();
    for (const QVariantMap& child : bridge.children()) {
        const QString device = child.value(QStringLiteral("device")).toString();
        children.push_back({{"id", child.value(QStringLiteral("id")).toString().toStdString()},
                            {"name", child.value(QStringLiteral("name")).toString().toStdString()},
                            {"deviceId", device.isEmpty() ? nlohmann::json(nullptr)
                                                          : nlohmann::json(device.toStdString())}});
    }
    nlohmann::json devices = nlohmann::json::array();
    for (const QVariantMap& device : bridge.devices()) {
        const auto text = [&](const char* key) {
            const QString value = device.value(QString::fromLatin1(key)).toString();
            return value.isEmpty() ? nlohmann::json(nullptr) : nlohmann::json(value.toStdString());
        };
        devices.push_back({{"id", text("id")},
                           {"name", text("name")},
                           {"productType", text("productType")},
                           {"lastBackupAt", instantJson(instantOf(
                                                device.value(QStringLiteral("lastBackupAt")).toLongLong()))},
                           {"state", text("state")},
                           {"childId", text("childId")},
                           {"connection", text("connection")}});
    }
    nlohmann::json attention = nlohmann::json::array();
    for (const QString& line : attentionLines(bridge))
        attention.push_back(line.toStdString());
    const QVariantMap scan = bridge.lastScan();
    const QString code = bridge.failureCode();
    const QByteArray folder = bridge.backupFolder();
    return {
        {"phase", bridge.phase().toStdString()},
        {"failure", code.isEmpty()
                        ? nlohmann::json(nullptr)
                        : nlohmann::json{{"code", code.toStdString()},
                                         {"text", wordedHere(code, bridge.failureArguments(),
                                                             bridge.failureParts(), bridge.failureText())
                                                      .toStdString()}}},
        {"backupFolder", folder.isEmpty() ? nlohmann::json(nullptr) : nlohmann::json(folder.toStdString())},
        {"children", children},
        {"devices", devices},
        {"attention", attention},
        {"lastScanAt", instantJson(instantOf(scan.value(QStringLiteral("at")).toLongLong()))},
        {"lastInspectedCount", scan.value(QStringLiteral("inspected")).toLongLong()},
        {"lastCandidateCount", scan.value(QStringLiteral("candidates")).toLongLong()},
        {"totalAlertsCreated", scan.value(QStringLiteral("alerts")).toLongLong()},
    };
}

void printState(const Bridge& bridge, bool json, std::ostream& out)
{
    if (json) {
        out << stateJson(bridge).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << std::endl;
        return;
    }
    if (const auto phase = phaseNamed(bridge.phase()))
        out << Text::tr("Phase:  %1").arg(phaseWords(*phase)).toStdString() << "\n";
    if (const QByteArray folder = bridge.backupFolder(); !folder.isEmpty())
        out << Text::tr("Backup folder: %1")
                   .arg(QString::fromStdString(printable(folder.toStdString())))
                   .toStdString()
            << "\n";
    for (const QString& line : attentionLines(bridge))
        out << Text::tr("Needs attention: %1").arg(QString::fromStdString(safe(line))).toStdString() << "\n";
    const QVariantMap scan = bridge.lastScan();
    if (const auto at = instantOf(scan.value(QStringLiteral("at")).toLongLong()))
        out << Text::tr(
                   "Last scan: %1; messages inspected: %L2, new candidates sent: %L3, alerts created: %L4")
                   .arg(readableDateTime(*at))
                   .arg(scan.value(QStringLiteral("inspected")).toLongLong())
                   .arg(scan.value(QStringLiteral("candidates")).toLongLong())
                   .arg(scan.value(QStringLiteral("alerts")).toLongLong())
                   .toStdString()
            << "\n";
    out << std::flush;
}

void listDevices(const Bridge& bridge, bool json, std::ostream& out)
{
    if (json) {
        out << stateJson(bridge)["devices"].dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
            << std::endl;
        return;
    }
    const QList<QVariantMap> children = bridge.children();
    for (const QVariantMap& device : bridge.devices()) {
        const auto at = instantOf(device.value(QStringLiteral("lastBackupAt")).toLongLong());
        const QString state = device.value(QStringLiteral("state")).toString();
        const QString childId = device.value(QStringLiteral("childId")).toString();
        out << Text::tr("%1  %2 (%3)\n    last backup %4, %5; child: %6")
                   .arg(QString::fromStdString(
                            visibleId(device.value(QStringLiteral("id")).toString().toStdString())),
                        QString::fromStdString(safe(device.value(QStringLiteral("name")).toString())),
                        QString::fromStdString(safe(device.value(QStringLiteral("productType")).toString())),
                        at ? readableDateTime(*at) : Text::tr("date unknown"),
                        state == u"encrypted"      ? Text::tr("encrypted")
                        : state == u"beingWritten" ? Text::tr("being written")
                                                   : Text::tr("finished"),
                        childId.isEmpty() ? Text::tr("not assigned")
                                          : QString::fromStdString(safe(childName(children, childId))))
                   .toStdString()
            << "\n";
    }
}

void listChildren(const Bridge& bridge, bool json, std::ostream& out)
{
    if (json) {
        out << stateJson(bridge)["children"].dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
            << std::endl;
        return;
    }
    const QList<QVariantMap> children = bridge.children();
    if (children.isEmpty())
        out << Text::tr("No child profiles.").toStdString() << "\n";
    const QList<QVariantMap> devices = bridge.devices();
    for (const QVariantMap& child : children) {
        const QString device = child.value(QStringLiteral("device")).toString();
        out << Text::tr("%1  %2  (%3)")
                   .arg(QString::fromStdString(
                            visibleId(child.value(QStringLiteral("id")).toString().toStdString())),
                        QString::fromStdString(safe(child.value(QStringLiteral("name")).toString())),
                        device.isEmpty() ? Text::tr("no iPhone assigned")
                                         : QString::fromStdString(safe(deviceName(devices, device))))
                   .toStdString()
            << "\n";
    }
}

} // namespace

std::optional<int> runInRunningBridge(const Invocation& invocation, bool terminal, std::ostream& out,
                                      std::ostream& err, QDBusConnection bus)
{
    const QString& command = invocation.command;
    const QString service = QString::fromLatin1(bus::service);
    if (command == u"status" || command == u"run" || command == u"inspect" || command == u"classify")
        return std::nullopt;
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(service))
        return std::nullopt;
    bus::registerTypes();
    Bridge bridge(service, QString::fromLatin1(bus::path), bus);
    bridge.setTimeout(answerTimeoutMs);
    bool progressShown = false;
    if (terminal)
        QObject::connect(&bridge, &Bridge::UploadProgress, [&](int sent, int total) {
            err << "\r" << Text::tr("Sent %L1 of %L2 batches to Quorva").arg(sent).arg(total).toStdString()
                << std::flush;
            progressShown = true;
        });

    const QString argument = invocation.arguments.value(0);
    QStringList asked; // what a failure that names the request's own values is filled in with
    QDBusPendingCall call = QDBusPendingReply<>();
    const QList<QVariantMap> devicesBefore = bridge.devices();
    if (command == u"pair") {
        call = bridge.Pair(argument);
    } else if (command == u"disconnect") {
        call = bridge.Disconnect();
    } else if (command == u"choose-backup") {
        // Relative to where this command was given, not to where the Bridge was started.
        const QByteArray folder =
            invocation.folderBytes.isEmpty() ? QFile::encodeName(argument) : invocation.folderBytes;
        const std::filesystem::path absolute = std::filesystem::absolute(folder.toStdString());
        call = bridge.ChooseBackupFolder(QByteArray::fromStdString(absolute.lexically_normal().native()));
        asked = {argument};
    } else if (command == u"assign") {
        if (invocation.none) {
            call = bridge.AssignToNoOne(argument);
        } else {
            call = bridge.Assign(argument, invocation.arguments.value(1));
            asked = {invocation.arguments.value(1)};
        }
    } else if (command == u"scan") {
        call = bridge.Scan();
    } else if (command == u"backup") {
        call = bridge.BackUp(argument);
        asked = {argument};
    } else if (command == u"launch-at-login") {
        call = bridge.SetLaunchAtLogin(argument == u"on");
    } else if (command == u"devices") {
        listDevices(bridge, invocation.json, out);
        if (!devicesBefore.isEmpty())
            return 0;
        err << Text::tr("No iPhone backups found: choose the backup folder first (%1 choose-backup FOLDER).")
                   .arg(QString::fromLatin1(programName))
                   .toStdString()
            << std::endl;
        return 1;
    } else if (command == u"children") {
        if (!bridge.paired()) {
            err << Text::tr("Not paired: pair this computer first (%1 pair CODE).")
                       .arg(QString::fromLatin1(programName))
                       .toStdString()
                << std::endl;
            return 1;
        }
        listChildren(bridge, invocation.json, out);
        return 0;
    } else {
        return std::nullopt;
    }
    await(call);
    if (progressShown)
        err << std::endl;
    const QDBusError error = call.error();
    if (error.isValid()) {
        if (error.type() == QDBusError::NoReply || error.type() == QDBusError::ServiceUnknown ||
            error.type() == QDBusError::UnknownObject || error.type() == QDBusError::UnknownInterface) {
            // It went away meanwhile, or it is not a Bridge of this version: nothing was done.
            err << safe(texts::busyElsewhere()) << std::endl;
            return 1;
        }
        if (error.name() == bus::errorName(failureName(FailureCase::noSuchDevice)))
            asked = {argument};
        err << safe(failureText(bridge, error, asked)) << std::endl;
        if (!invocation.json)
            return 1;
    }
    if (command == u"assign" && !error.isValid() && !invocation.json) {
        const QList<QVariantMap> devices = bridge.devices();
        const QString name = QString::fromStdString(safe(deviceName(devices, argument)));
        if (invocation.none) {
            out << Text::tr("%1 is assigned to no one and is not read.").arg(name).toStdString() << std::endl;
        } else {
            out << Text::tr("%1 is assigned to %2.")
                       .arg(name, QString::fromStdString(
                                      safe(childName(bridge.children(), invocation.arguments.value(1)))))
                       .toStdString()
                << std::endl;
            const QString released = QDBusPendingReply<QString>(call).value();
            if (!released.isEmpty())
                out << Text::tr("%1 is no longer assigned to anyone and is not read.")
                           .arg(QString::fromStdString(safe(deviceName(devices, released))))
                           .toStdString()
                    << std::endl;
        }
        return 0;
    }
    printState(bridge, invocation.json, out);
    return error.isValid() ? 1 : 0;
}

} // namespace quorva::cli
