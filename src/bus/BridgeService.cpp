#include "bus/BridgeService.h"
#include "platform/WhileAlive.h"

#include "bridge1adaptor.h"
#include "bus/BusTypes.h"
#include "devices/DeviceBackups.h"
#include "state/BridgeAppState.h"
#include "state/StateTexts.h"

#include <QDBusMessage>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace quorva {

namespace {

qint64 msSinceEpoch(const std::optional<Instant>& at)
{
    constexpr double limit = 8.0e12; // seconds; far beyond any date a backup or scan has
    if (!at || !std::isfinite(at->unixSeconds) || std::abs(at->unixSeconds) > limit)
        return 0;
    return std::llround(at->unixSeconds * 1000.0);
}

Failure failure(FailureCase kind, QStringList arguments = {})
{
    return {kind, std::move(arguments), {}};
}

} // namespace

BridgeService::BridgeService(BridgeAppState& state, QObject* parent) : QObject(parent), m_state(state)
{
    bus::registerTypes();
    new Bridge1Adaptor(this); // owned by this object, which relays the signals through it
    connect(&state, &BridgeAppState::phaseChanged, this, [this] {
        announce({{QStringLiteral("Phase"), phase()},
                  {QStringLiteral("FailureCode"), failureCode()},
                  {QStringLiteral("FailureArguments"), failureArguments()},
                  {QStringLiteral("FailureText"), failureText()},
                  {QStringLiteral("FailureParts"), QVariant::fromValue(failureParts())}});
    });
    connect(&state, &BridgeAppState::tokenChanged, this, [this] {
        announce({{QStringLiteral("Paired"), paired()}});
    });
    connect(&state, &BridgeAppState::canScanChanged, this, [this] {
        announce({{QStringLiteral("CanScan"), canScan()}});
    });
    connect(&state, &BridgeAppState::backupFolderChanged, this, [this] {
        announce({{QStringLiteral("BackupFolder"), backupFolder()}});
    });
    connect(&state, &BridgeAppState::childrenChanged, this, [this] {
        announce({{QStringLiteral("Children"), QVariant::fromValue(children())}});
    });
    connect(&state, &BridgeAppState::devicesChanged, this, [this] {
        announce({{QStringLiteral("Devices"), QVariant::fromValue(devices())},
                  {QStringLiteral("Children"), QVariant::fromValue(children())}});
        announceDevices();
    });
    connect(&state, &BridgeAppState::attentionChanged, this, [this] {
        announce({{QStringLiteral("Attention"), QVariant::fromValue(attention())}});
    });
    connect(&state, &BridgeAppState::lastScanAtChanged, this, [this] {
        announce({{QStringLiteral("LastScan"), lastScan()}});
    });
    connect(&state, &BridgeAppState::uploadProgressChanged, this, [this] {
        if (m_state.totalBatches() > 0)
            emit UploadProgress(m_state.uploadedBatches(), m_state.totalBatches());
    });
    connect(&state, &BridgeAppState::scanRoundFinished, this, &BridgeService::ScanFinished);
    if (DeviceBackups* backups = state.deviceBackups())
        connect(backups, &DeviceBackups::statusChanged, this, &BridgeService::announceDevices);
}

BridgeService::~BridgeService()
{
    if (m_bus) {
        m_bus->unregisterService(QString::fromLatin1(bus::service));
        m_bus->unregisterObject(QString::fromLatin1(bus::path));
    }
}

bool BridgeService::offer(QDBusConnection bus)
{
    if (!bus.isConnected() || !bus.registerObject(QString::fromLatin1(bus::path), this))
        return false;
    if (!bus.registerService(QString::fromLatin1(bus::service))) {
        bus.unregisterObject(QString::fromLatin1(bus::path));
        return false;
    }
    m_bus = bus;
    return true;
}

// ---- Properties --------------------------------------------------------------------------

uint BridgeService::version() const
{
    return bus::version;
}

QString BridgeService::phase() const
{
    return m_state.phase().name();
}

QString BridgeService::failureCode() const
{
    return m_state.phase().kind() == Phase::Kind::failed ? failureName(m_state.phase().failure().kind)
                                                         : QString();
}

QStringList BridgeService::failureArguments() const
{
    return m_state.phase().kind() == Phase::Kind::failed ? m_state.phase().failure().arguments
                                                         : QStringList();
}

QString BridgeService::failureText() const
{
    return m_state.phase().failureText();
}

QList<bus::Case> BridgeService::failureParts() const
{
    QList<bus::Case> parts;
    const Phase phase = m_state.phase();
    if (phase.kind() == Phase::Kind::failed)
        for (const Failure& part : phase.failure().parts)
            parts.append({failureName(part.kind), partArguments(part)});
    return parts;
}

bool BridgeService::paired() const
{
    return m_state.hasToken();
}

bool BridgeService::canScan() const
{
    return m_state.canScan();
}

QByteArray BridgeService::backupFolder() const
{
    const auto& folder = m_state.backupFolder();
    return folder ? QByteArray::fromStdString(folder->native()) : QByteArray();
}

QList<QVariantMap> BridgeService::children() const
{
    QList<QVariantMap> list;
    for (const BridgeChild& child : m_state.childProfiles()) {
        const auto bound = std::ranges::find(m_state.deviceBindings(), child.id,
                                             &std::pair<const std::string, std::string>::second);
        list.append(
            {{QStringLiteral("id"), QString::fromStdString(child.id)},
             {QStringLiteral("name"), QString::fromStdString(child.name)},
             {QStringLiteral("device"),
              bound == m_state.deviceBindings().end() ? QString() : QString::fromStdString(bound->first)}});
    }
    return list;
}

QList<QVariantMap> BridgeService::devices() const
{
    QList<QVariantMap> list;
    for (const BackupDescriptor& device : m_state.devices()) {
        const auto binding = m_state.deviceBindings().find(device.id);
        const QString state = device.isEncrypted      ? QStringLiteral("encrypted")
                              : device.isBeingWritten ? QStringLiteral("beingWritten")
                                                      : QStringLiteral("finished");
        list.append({
            {QStringLiteral("id"), QString::fromStdString(device.id)},
            {QStringLiteral("name"), QString::fromStdString(device.deviceName)},
            {QStringLiteral("productType"), QString::fromStdString(device.productType.value_or(""))},
            {QStringLiteral("lastBackupAt"), msSinceEpoch(device.lastBackupAt)},
            {QStringLiteral("state"), state},
            {QStringLiteral("childId"),
             binding == m_state.deviceBindings().end() ? QString() : QString::fromStdString(binding->second)},
            {QStringLiteral("connection"), connectionOf(QString::fromStdString(device.id))},
            {QStringLiteral("activity"),
             m_state.deviceBackups()
                 ? m_state.deviceBackups()->status(QString::fromStdString(device.id)).activity.toArguments()
                 : QStringList()},
        });
    }
    return list;
}

QVariantMap BridgeService::lastScan() const
{
    return {{QStringLiteral("at"), msSinceEpoch(m_state.lastScanAt())},
            {QStringLiteral("inspected"), m_state.lastInspectedCount()},
            {QStringLiteral("candidates"), m_state.lastCandidateCount()},
            {QStringLiteral("alerts"), m_state.totalAlertsCreated()}};
}

QList<bus::Case> BridgeService::attention() const
{
    QList<bus::Case> list;
    for (const Notice& notice : m_state.overview().notices)
        list.append({noticeName(notice.kind), notice.arguments});
    return list;
}

QString BridgeService::connectionOf(const QString& device) const
{
    const DeviceStatus status =
        m_state.deviceBackups() ? m_state.deviceBackups()->status(device) : DeviceStatus{};
    return status.running        ? QStringLiteral("backingUp")
           : status.untrusted    ? QStringLiteral("untrusted")
           : status.notAnswering ? QStringLiteral("notAnswering")
           : status.connected    ? QStringLiteral("connected")
                                 : QStringLiteral("notConnected");
}

void BridgeService::announce(const QVariantMap& changed) const
{
    if (!m_bus)
        return;
    QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(bus::path),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(bus::interface) << changed << QStringList();
    m_bus->send(signal);
}

void BridgeService::announceDevices()
{
    for (const BackupDescriptor& device : m_state.devices()) {
        const QString id = QString::fromStdString(device.id);
        const QString connection = connectionOf(id);
        if (m_connections.value(id) == connection)
            continue;
        m_connections.insert(id, connection);
        emit DeviceConnection(id, connection);
    }
}

// ---- Methods -----------------------------------------------------------------------------

void BridgeService::answerLater(QCoro::Task<Answer> work)
{
    if (!calledFromDBus())
        return;
    setDelayedReply(true);
    // Bound to this object: once it is gone, its name is off the bus and no caller waits.
    QCoro::connect(std::move(work), this, [bus = connection(), request = message()](const Answer& answer) {
        bus.send(replyTo(request, answer));
    });
}

QDBusMessage BridgeService::replyTo(const QDBusMessage& request, const Answer& answer)
{
    // An error's body is its message alone, as every client library expects: the failure's
    // arguments are read from the properties (FailureArguments, FailureParts, a device's activity).
    return answer.failure ? request.createErrorReply(bus::errorName(failureName(answer.failure->kind)),
                                                     texts::failureText(*answer.failure))
                          : request.createReply(answer.values);
}

void BridgeService::answerNow(const Answer& answer)
{
    if (!calledFromDBus())
        return;
    setDelayedReply(true); // the slot's own return value is not the answer
    connection().send(replyTo(message(), answer));
}

BridgeService::Answer BridgeService::outcome() const
{
    if (m_state.phase().kind() == Phase::Kind::failed)
        return {m_state.phase().failure(), {}};
    return {};
}

void BridgeService::Pair(const QString& code)
{
    answerLater([](BridgeService* self, QString code) -> QCoro::Task<Answer> {
        self->m_state.setPairingCode(code);
        QCoro::Task<> pairing = self->m_state.pair();
        if (!co_await whileAlive(self, std::move(pairing)))
            co_return Answer{};
        co_return self->outcome();
    }(this, code));
}

void BridgeService::Disconnect()
{
    answerLater([](BridgeService* self) -> QCoro::Task<Answer> {
        QCoro::Task<> disconnecting = self->m_state.disconnect();
        if (!co_await whileAlive(self, std::move(disconnecting)))
            co_return Answer{};
        co_return self->outcome();
    }(this));
}

void BridgeService::ChooseBackupFolder(const QByteArray& bytes)
{
    answerLater([](BridgeService* self, QByteArray bytes) -> QCoro::Task<Answer> {
        // Relative to what? The caller's working directory is not this process's.
        const std::filesystem::path folder(bytes.toStdString());
        if (!folder.is_absolute())
            co_return Answer{failure(FailureCase::relativeFolder, {QFile::decodeName(bytes)}), {}};
        QCoro::Task<> choosing = self->m_state.useBackupFolder(folder.lexically_normal());
        if (!co_await whileAlive(self, std::move(choosing)))
            co_return Answer{};
        co_return self->outcome();
    }(this, bytes));
}

QString BridgeService::Assign(const QString& device, const QString& child)
{
    const std::string deviceId = device.toStdString();
    const std::string childId = child.toStdString();
    const auto answer = [&]() -> Answer {
        // Only a child of this family: a binding to anyone else would upload under a stranger's id.
        if (std::ranges::find(m_state.childProfiles(), childId, &BridgeChild::id) ==
            m_state.childProfiles().end())
            return {failure(FailureCase::noSuchChild, {child}), {}};
        if (std::ranges::find(m_state.devices(), deviceId, &BackupDescriptor::id) == m_state.devices().end())
            return {failure(FailureCase::noSuchDevice, {device}), {}};
        QString released;
        for (const auto& [other, owner] : m_state.deviceBindings())
            if (owner == childId && other != deviceId)
                released = QString::fromStdString(other);
        if (!m_state.assignDevice(deviceId, childId))
            return outcome();
        return {std::nullopt, {released}};
    }();
    answerNow(answer);
    return {};
}

void BridgeService::AssignToNoOne(const QString& device)
{
    const std::string deviceId = device.toStdString();
    const bool known =
        std::ranges::find(m_state.devices(), deviceId, &BackupDescriptor::id) != m_state.devices().end() ||
        m_state.deviceBindings().contains(deviceId);
    Answer answer;
    if (!known)
        answer.failure = failure(FailureCase::noSuchDevice, {device});
    else if (!m_state.assignDevice(deviceId, std::nullopt))
        answer = outcome();
    answerNow(answer);
}

void BridgeService::Scan()
{
    answerLater([](BridgeService* self) -> QCoro::Task<Answer> {
        const auto before = self->m_state.lastScanAt();
        QCoro::Task<> scan = self->m_state.scanNow();
        if (!co_await whileAlive(self, std::move(scan)))
            co_return Answer{};
        if (Answer answer = self->outcome(); answer.failure)
            co_return answer;
        if (!self->m_state.hasToken())
            co_return Answer{failure(FailureCase::notPaired), {}};
        if (!self->m_state.lastScanAt() || self->m_state.lastScanAt() == before)
            co_return Answer{failure(FailureCase::nothingToScan), {}};
        co_return Answer{};
    }(this));
}

QCoro::Task<BridgeService::Answer> BridgeService::backUp(QString device)
{
    DeviceBackups* backups = m_state.deviceBackups();
    if (!backups)
        co_return Answer{failure(FailureCase::deviceNotConnected), {}};
    if (device.isEmpty()) {
        QStringList connected;
        for (const auto& [id, child] : m_state.deviceBindings())
            if (backups->status(QString::fromStdString(id)).connected)
                connected.append(QString::fromStdString(id));
        if (connected.size() != 1)
            co_return Answer{failure(connected.isEmpty() ? FailureCase::deviceNotConnected
                                                         : FailureCase::severalDevicesConnected),
                             {}};
        device = connected.front();
    }
    QCoro::Task<BackupRunOutcome> backup = m_state.backUpAndScan(device);
    const std::optional<BackupRunOutcome> run = co_await whileAlive(this, std::move(backup));
    if (!run)
        co_return Answer{};
    if (run->result != BackupRunOutcome::Result::finished) {
        const auto found = std::ranges::find(m_state.devices(), device.toStdString(), &BackupDescriptor::id);
        const QString name =
            found == m_state.devices().end() ? device : QString::fromStdString(found->deviceName);
        DeviceActivity activity = backups->status(device).activity;
        if (activity.deviceName.isEmpty())
            activity.deviceName = name;
        co_return Answer{failure(FailureCase::backupFailed, activity.toArguments()), {}};
    }
    co_return outcome();
}

void BridgeService::BackUp(const QString& device)
{
    answerLater(backUp(device));
}

QString BridgeService::Trust(const QString& device, bool& encrypts)
{
    encrypts = false;
    answerLater([](BridgeService* self, QString device) -> QCoro::Task<Answer> {
        DeviceBackups* backups = self->m_state.deviceBackups();
        if (!backups)
            co_return Answer{failure(FailureCase::deviceNotConnected, {device}), {}};
        QCoro::Task<DeviceActivity> asking = backups->trust(device);
        const std::optional<DeviceActivity> answered = co_await whileAlive(self, std::move(asking));
        if (!answered)
            co_return Answer{};
        co_return Answer{std::nullopt, {DeviceActivity::trustName(answered->trust), answered->willEncrypt}};
    }(this, device));
    return {};
}

void BridgeService::SetLaunchAtLogin(bool enabled)
{
    m_state.setLaunchAtLogin(enabled);
    answerNow(outcome());
}

} // namespace quorva
