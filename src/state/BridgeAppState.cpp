#include "state/BridgeAppState.h"
#include "platform/Published.h"

#include "devices/DeviceBackups.h"
#include "platform/ComputerName.h"
#include "platform/LoginItem.h"
#include "platform/WhileAlive.h"
#include "state/AutomaticScanLoop.h"
#include "state/PairingAttempt.h"
#include "state/ScanFlow.h"
#include "state/StateTexts.h"

#include "model/BridgeClientError.h"

#include <algorithm>
#include <cmath>

namespace quorva {

namespace {

QDateTime toDateTime(std::optional<Instant> instant)
{
    constexpr double limit = 8.0e12; // seconds; far beyond any date a backup or scan has
    if (!instant || !std::isfinite(instant->unixSeconds) || std::abs(instant->unixSeconds) > limit)
        return {};
    return QDateTime::fromMSecsSinceEpoch(std::llround(instant->unixSeconds * 1000.0), Qt::UTC);
}

} // namespace

BridgeAppState::BridgeAppState(BridgeStateParts parts, QObject* parent)
    : QObject(parent), m_services(std::move(parts.services)), m_tokenStore(std::move(parts.tokenStore)),
      m_platform(std::move(parts.platform)), m_preferences(std::move(parts.preferences)),
      m_statusMessage(texts::starting())
{
    m_launchesAtLogin = m_platform.loginItem && m_platform.loginItem->status() == LoginItem::Status::enabled;
    if (const auto value = m_preferences.value(texts::earlierChildKey);
        value && value->typeId() == QMetaType::QString)
        m_earlierChild = value->toString().toStdString();
    if (m_platform.deviceWatcher) {
        m_deviceBackups = std::make_unique<DeviceBackups>(
            m_platform.deviceWatcher,
            BackupRunOptions{.tool = m_platform.backupTool, .stallAfter = m_platform.backupStallAfter});
        m_deviceBackups->setAutomatic(m_platform.automaticBackups);
        connect(m_platform.deviceWatcher.get(), &DeviceWatcher::serviceStateChanged, this,
                &BridgeAppState::devicesChanged);
        connect(m_deviceBackups.get(), &DeviceBackups::statusChanged, this, [this] {
            refreshFamily();
            emit devicesChanged();
        });
        connect(m_deviceBackups.get(), &DeviceBackups::backedUp, this,
                [this] { startOwned(this, lookAfterBackup()); });
    }
}

QCoro::Task<> BridgeAppState::lookAfterBackup()
{
    QCoro::Task<> look = m_session ? m_session->scans()->scanNewBackup() : restoreBackupSelection();
    co_await whileAlive(this, std::move(look));
}

void BridgeAppState::updateBackupTargets()
{
    if (!m_deviceBackups)
        return;
    std::optional<std::filesystem::path> folder;
    try {
        folder = m_services.bookmarks.resolve();
    } catch (...) {
        // No folder to back up into: nothing is backed up until one is chosen.
    }
    std::map<QString, DeviceBackups::Target> bound;
    for (const BackupDescriptor& device : m_devices) {
        if (!m_bindings.contains(device.id))
            continue;
        bound[QString::fromStdString(device.id)] = {
            QString::fromStdString(device.deviceName),
            device.isBeingWritten ? std::nullopt
                                  : std::optional(device.lastBackupAt.value_or(Instant::distantPast())),
            device.url};
    }
    m_deviceBackups->setTargets(std::move(folder), std::move(bound));
}

QCoro::Task<BackupRunOutcome> BridgeAppState::backUpAndScan(QString deviceId)
{
    if (!m_deviceBackups)
        co_return BackupRunOutcome{};
    QCoro::Task<BackupRunOutcome> run = m_deviceBackups->backUp(std::move(deviceId));
    const std::optional<BackupRunOutcome> outcome = co_await whileAlive(this, std::move(run));
    if (!outcome)
        co_return BackupRunOutcome{};
    if (outcome->result == BackupRunOutcome::Result::finished) {
        QCoro::Task<> look = lookAfterBackup();
        if (!co_await whileAlive(this, std::move(look)))
            co_return BackupRunOutcome{};
    }
    co_return *outcome;
}

void BridgeAppState::requestBackUp(const QString& deviceId)
{
    startOwned(this, backUpAndScan(deviceId));
}

void BridgeAppState::requestTrust(const QString& deviceId)
{
    if (m_deviceBackups)
        startOwned(m_deviceBackups.get(), m_deviceBackups->trust(deviceId));
}

BridgeAppState::~BridgeAppState()
{
    // Before anything it reports into: work still in flight resumes into nothing.
    m_session.reset();
}

std::optional<std::string> BridgeAppState::token() const
{
    return m_session ? std::optional(m_session->token()) : std::nullopt;
}

void BridgeAppState::replaceSession(std::string token)
{
    m_session = std::make_unique<BridgeSession>(m_services, std::move(token));
    m_session->startFlows(*this, m_platform.automaticScanInterval);
    connect(m_session->scans(), &ScanFlow::roundFinished, this, &BridgeAppState::scanRoundFinished);
    connect(m_session.get(), &BridgeSession::scanning, this, [this] {
        setPhase(quorva::Phase::scanning());
        setStatusMessage(texts::scanning());
    });
    connect(m_session.get(), &BridgeSession::devicesFound, this, &BridgeAppState::setDevices);
    connect(m_session.get(), &BridgeSession::uploading, this, &BridgeAppState::setUploadProgress);
}

void BridgeAppState::beginSession(std::string token)
{
    endSession();
    replaceSession(std::move(token));
    emit tokenChanged();
    emit canScanChanged();
}

void BridgeAppState::endSession()
{
    setUploadProgress(0, 0);
    if (!m_session)
        return;
    m_session.reset();
    emit tokenChanged();
    emit canScanChanged();
}

void BridgeAppState::interruptSession()
{
    if (!m_session)
        return;
    std::string token = m_session->token();
    const bool automatic = hasAutomaticScanning();
    replaceSession(std::move(token));
    if (automatic)
        startAutomaticScanning();
    setUploadProgress(0, 0);
}

void BridgeAppState::handleSessionEnd(SessionEnd end)
{
    switch (end) {
    case SessionEnd::unauthorized:
        // The stored token stays until the parent pairs again or disconnects; this run no longer
        // uses it, so the pairing card comes back.
        endSession();
        raiseFailure({FailureCase::pairingNoLongerValid, {}, {}});
        setStatusMessage(texts::pairingFailed());
        break;
    case SessionEnd::done:
    case SessionEnd::failed:
    case SessionEnd::cancelled:
        break;
    }
}

bool BridgeAppState::hasAssignedIPhone() const
{
    // An absent folder's iPhones are unknown until it is back; its bindings say there are some.
    return m_folder && (!m_overview.toRead.empty() || (m_folderAbsent && !m_bindings.empty()));
}

bool BridgeAppState::canScan() const
{
    return m_session && hasAssignedIPhone() && m_phase.kind() != quorva::Phase::Kind::scanning;
}

void BridgeAppState::updateReadiness()
{
    if (!m_session) {
        setPhase(quorva::Phase::needsPairing());
    } else if (!m_folder) {
        setPhase(quorva::Phase::needsSetup());
        setStatusMessage(texts::chooseBackupFolder());
    } else if (!hasAssignedIPhone()) {
        setPhase(quorva::Phase::needsSetup());
        setStatusMessage(texts::assignIPhones());
    } else {
        // An encrypted or old backup is the child's note, not the family's: the others are read.
        setPhase(quorva::Phase::ready());
        setStatusMessage(texts::ready());
    }
}

std::string BridgeAppState::bridgeName() const
{
    const QString name = m_platform.computerName ? m_platform.computerName() : computerName();
    return (name.isEmpty() ? texts::defaultBridgeName() : name).toStdString();
}

// ---- Guarded writers -----------------------------------------------------------------------

void BridgeAppState::setPhase(quorva::Phase phase)
{
    if (!publish(this, m_phase, std::move(phase), &BridgeAppState::phaseChanged))
        return;
    emit canScanChanged();
    if (m_deviceBackups)
        m_deviceBackups->setScanning(m_phase.kind() == quorva::Phase::Kind::scanning);
}

void BridgeAppState::raiseFailure(Failure failure)
{
    setPhase(quorva::Phase::failed(std::move(failure)));
    ++m_failureCount;
    emit failureRaised();
}

void BridgeAppState::setStatusMessage(const QString& message)
{
    publish(this, m_statusMessage, message, &BridgeAppState::statusMessageChanged);
}

void BridgeAppState::setPairingCode(const QString& code)
{
    publish(this, m_pairingCode, code, &BridgeAppState::pairingCodeChanged);
}

void BridgeAppState::setChildren(std::vector<BridgeChild> children)
{
    if (publish(this, m_children, std::move(children), &BridgeAppState::childrenChanged))
        refreshFamily();
}

void BridgeAppState::setBackupFolder(std::optional<std::filesystem::path> folder)
{
    if (publish(this, m_folder, std::move(folder), &BridgeAppState::backupFolderChanged))
        refreshFamily();
}

void BridgeAppState::setDevices(std::vector<BackupDescriptor> devices,
                                std::map<std::string, std::string> bindings)
{
    if (m_devices == devices && m_bindings == bindings)
        return;
    m_devices = std::move(devices);
    m_bindings = std::move(bindings);
    refreshFamily();
    updateBackupTargets();
    emit devicesChanged();
}

QString BridgeAppState::lastScanText(const DeviceScan& scan)
{
    if (scan.failed)
        return tr("The last scan could not read this backup.");
    if (scan.unchanged)
        return tr("No new backup since the last scan.");
    return texts::lastScanRead(scan.inspected, scan.sent);
}

void BridgeAppState::refreshFamily()
{
    m_overview = overviewOf({.children = m_children,
                             .childrenKnown = m_childrenLoaded,
                             .devices = m_folder ? m_devices : std::vector<BackupDescriptor>{},
                             .bindings = m_bindings,
                             .assignedToNoOne = m_services.bindings.assignedToNoOne(),
                             .earlierChild = m_earlierChild,
                             .now = Instant::now()});
    std::vector<FamilyRow> rows;
    for (const ChildOverview& child : m_overview.children) {
        FamilyRow row;
        row.childId = QString::fromStdString(child.child.id);
        row.name = QString::fromStdString(child.child.name);
        row.deviceState = child.deviceMissing ? QStringLiteral("missing") : QString();
        row.proposedDeviceId = QString::fromStdString(child.proposedDeviceId.value_or(""));
        row.attention = child.attention ? texts::noticeText(*child.attention) : QString();
        if (const auto& device = child.device) {
            const QString id = QString::fromStdString(device->id);
            const DeviceStatus status = m_deviceBackups ? m_deviceBackups->status(id) : DeviceStatus{};
            row.deviceId = id;
            row.deviceName = QString::fromStdString(device->deviceName);
            row.productType = QString::fromStdString(device->productType.value_or(""));
            row.lastBackupAt = toDateTime(device->lastBackupAt);
            row.backupIsOld = isOld(*device, Instant::now());
            row.deviceState = QString::fromLatin1(stateName(*device));
            row.connected = status.connected;
            row.backingUp = status.running;
            row.untrusted = status.untrusted;
            row.activity = status.activity;
            if (const auto scan = m_lastScans.find(device->id); scan != m_lastScans.end())
                row.lastScan = lastScanText(scan->second);
        }
        rows.push_back(std::move(row));
    }
    m_family.update(std::move(rows));
    m_deviceChoices.update(deviceRows(m_devices));
    m_unassignedDevices.update(deviceRows(m_overview.unassigned));
    QStringList attention;
    for (const Notice& notice : m_overview.notices)
        attention.append(texts::noticeText(notice));
    publish(this, m_attention, std::move(attention), &BridgeAppState::attentionChanged);
    emit canScanChanged();
}

bool BridgeAppState::assignDevice(const std::string& deviceId, const std::optional<std::string>& childId)
{
    try {
        if (childId)
            m_services.bindings.bind(deviceId, *childId);
        else
            m_services.bindings.unbind(deviceId);
    } catch (...) {
        raiseFailure(failureOf(std::current_exception()));
        return false;
    }
    setDevices(m_devices, m_services.bindings.bindings());
    // Assigning to no one may leave the bindings as they were and still end the news of it.
    refreshFamily();
    emit devicesChanged();
    const auto kind = m_phase.kind();
    if (kind != quorva::Phase::Kind::scanning && kind != quorva::Phase::Kind::starting &&
        kind != quorva::Phase::Kind::failed)
        updateReadiness();
    return true;
}

void BridgeAppState::setLastScanAt(std::optional<Instant> at)
{
    publish(this, m_lastScanAt, at, &BridgeAppState::lastScanAtChanged);
}

void BridgeAppState::setLastInspectedCount(qint64 count)
{
    publish(this, m_lastInspectedCount, count, &BridgeAppState::lastInspectedCountChanged);
}

void BridgeAppState::setLastCandidateCount(qint64 count)
{
    publish(this, m_lastCandidateCount, count, &BridgeAppState::lastCandidateCountChanged);
}

void BridgeAppState::setTotalAlertsCreated(qint64 count)
{
    publish(this, m_totalAlertsCreated, count, &BridgeAppState::totalAlertsCreatedChanged);
}

void BridgeAppState::setUploadProgress(int uploaded, int total)
{
    publish(this, m_uploadProgress, std::pair(uploaded, total), &BridgeAppState::uploadProgressChanged);
}

void BridgeAppState::setLaunchesAtLogin(bool enabled)
{
    publish(this, m_launchesAtLogin, enabled, &BridgeAppState::launchesAtLoginChanged);
}

// ---- Views for QML -------------------------------------------------------------------------

QString BridgeAppState::deviceServiceNote() const
{
    const bool unseen = m_deviceBackups && m_deviceBackups->serviceState() == DeviceServiceState::unavailable;
    return unseen ? texts::deviceServiceUnavailable() : QString();
}

QString BridgeAppState::backupFolderForDisplay() const
{
    return m_folder ? QString::fromStdString(m_folder->string()) : QString();
}

std::vector<DeviceRow> BridgeAppState::deviceRows(const std::vector<BackupDescriptor>& devices) const
{
    const std::set<std::string> noOne = m_services.bindings.assignedToNoOne();
    std::vector<DeviceRow> rows;
    for (const BackupDescriptor& device : devices) {
        const auto binding = m_bindings.find(device.id);
        const auto child = binding == m_bindings.end()
                               ? m_children.end()
                               : std::ranges::find(m_children, binding->second, &BridgeChild::id);
        const DeviceStatus status =
            m_deviceBackups ? m_deviceBackups->status(QString::fromStdString(device.id)) : DeviceStatus{};
        rows.push_back({
            .deviceId = QString::fromStdString(device.id),
            .name = QString::fromStdString(device.deviceName),
            .productType = QString::fromStdString(device.productType.value_or("")),
            .lastBackupAt = toDateTime(device.lastBackupAt),
            .state = QString::fromLatin1(stateName(device)),
            .childId = binding == m_bindings.end() ? QString() : QString::fromStdString(binding->second),
            .childName = child == m_children.end() ? QString() : QString::fromStdString(child->name),
            .assignedToNoOne = noOne.contains(device.id),
            .connected = status.connected,
            .backingUp = status.running,
            .untrusted = status.untrusted,
            .activity = status.activity,
        });
    }
    return rows;
}

QDateTime BridgeAppState::lastScanAtForDisplay() const
{
    return toDateTime(m_lastScanAt);
}

// ---- Starts from QML and the menu ----------------------------------------------------------

void BridgeAppState::requestStart()
{
    startOwned(this, start());
}

void BridgeAppState::requestPair()
{
    startOwned(this, pair());
}

void BridgeAppState::requestChooseBackupFolder()
{
    startOwned(this, chooseBackupFolder());
}

void BridgeAppState::requestScanNow()
{
    // As the button and the menu command: never a second cycle while one runs.
    if (canScan())
        startOwned(this, scanNow());
}

void BridgeAppState::requestLoadChildren()
{
    startOwned(this, loadChildren());
}

void BridgeAppState::requestDisconnect()
{
    startOwned(this, disconnect());
}

void BridgeAppState::requestSetLaunchAtLogin(bool enabled)
{
    setLaunchAtLogin(enabled);
}

void BridgeAppState::requestAssignToNoOne(const QString& deviceId)
{
    (void)assignDevice(deviceId.toStdString(), std::nullopt);
}

void BridgeAppState::requestAssignChildDevice(const QString& childId, const QString& deviceId)
{
    const std::string child = childId.toStdString();
    if (!deviceId.isEmpty()) {
        (void)assignDevice(deviceId.toStdString(), child);
        return;
    }
    for (const auto& [device, owner] : std::map(m_bindings)) {
        if (owner == child)
            (void)assignDevice(device, std::nullopt);
    }
}

} // namespace quorva
