#include "state/BridgeAppState.h"
#include "state/Published.h"

#include "state/AutomaticScanLoop.h"
#include "state/ComputerName.h"
#include "state/DeviceBackups.h"
#include "state/LoginItem.h"
#include "state/PairingAttempt.h"
#include "state/StateTexts.h"
#include "state/WhileAlive.h"

#include "model/BridgeClientError.h"

#include <QVariantMap>

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
    std::optional<std::string> stored;
    if (const auto value = m_preferences.value(texts::selectedChildKey);
        value && value->typeId() == QMetaType::QString)
        stored = value->toString().toStdString();
    setSelectedChildID(std::move(stored));
    if (m_platform.deviceWatcher) {
        m_deviceBackups = std::make_unique<DeviceBackups>(
            m_platform.deviceWatcher,
            BackupRunOptions{.tool = m_platform.backupTool, .stallAfter = m_platform.backupStallAfter});
        connect(m_deviceBackups.get(), &DeviceBackups::activityChanged, this,
                &BridgeAppState::devicesChanged);
        connect(m_deviceBackups.get(), &DeviceBackups::backedUp, this, [this] { (void)scanNewBackup(); });
    }
}

QCoro::Task<> BridgeAppState::scanNewBackup()
{
    QCoro::Task<> restore = restoreBackupSelection();
    const bool alive = co_await whileAlive(this, std::move(restore));
    if (alive && canScan())
        co_await scanNow();
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
                                  : std::optional(device.lastBackupAt.value_or(Instant::distantPast()))};
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
    if (outcome->result == BackupRunOutcome::Result::finished)
        co_await scanNewBackup();
    co_return *outcome;
}

void BridgeAppState::requestBackUp(const QString& deviceId)
{
    (void)backUpAndScan(deviceId);
}

void BridgeAppState::requestTrust(const QString& deviceId)
{
    if (m_deviceBackups)
        (void)m_deviceBackups->trust(deviceId);
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
    m_automaticScanTask.reset();
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
    replaceSession(std::move(token));
    setUploadProgress(0, 0);
}

void BridgeAppState::handleSessionEnd(SessionEnd end)
{
    switch (end) {
    case SessionEnd::unauthorized:
        // The stored token stays until the parent pairs again or disconnects; this run no longer
        // uses it, so the pairing card comes back.
        endSession();
        raiseFailure(texts::pairingNoLongerValid());
        setStatusMessage(texts::pairingFailed());
        break;
    case SessionEnd::done:
    case SessionEnd::failed:
    case SessionEnd::cancelled:
        break;
    }
}

bool BridgeAppState::canScan() const
{
    return m_session && (m_selectedChildID || !m_bindings.empty()) && m_selectedBackup &&
           m_phase.kind() != quorva::Phase::Kind::scanning;
}

void BridgeAppState::updateReadiness()
{
    if (!m_session) {
        setPhase(quorva::Phase::needsPairing());
    } else if ((!m_selectedChildID && m_bindings.empty()) || !m_selectedBackup) {
        setPhase(quorva::Phase::needsSetup());
        setStatusMessage(texts::chooseChildAndBackup());
    } else if (m_selectedBackup->isEncrypted) {
        raiseFailure(texts::failureText(std::make_exception_ptr(BridgeClientError::encryptedBackup())));
    } else {
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

void BridgeAppState::raiseFailure(const QString& text)
{
    setPhase(quorva::Phase::failed(text));
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
        m_family.update(m_children, m_bindings);
}

void BridgeAppState::setSelectedChildID(std::optional<std::string> id)
{
    // Written through even when unchanged, so the stored value always follows the property.
    try {
        if (id)
            m_preferences.setValue(texts::selectedChildKey, QString::fromStdString(*id));
        else
            m_preferences.remove(texts::selectedChildKey);
    } catch (const std::exception&) {
        // The choice still holds for this run; only the next launch would not restore it.
    }
    if (!publish(this, m_selectedChildID, std::move(id), &BridgeAppState::selectedChildIDChanged))
        return;
    emit canScanChanged();
    if (!m_devices.empty())
        setDevices(m_devices, m_bindings);
}

void BridgeAppState::setSelectedBackup(std::optional<BackupDescriptor> backup)
{
    if (publish(this, m_selectedBackup, std::move(backup), &BridgeAppState::selectedBackupChanged))
        emit canScanChanged();
}

void BridgeAppState::setDevices(std::vector<BackupDescriptor> devices,
                                std::map<std::string, std::string> bindings)
{
    if (m_devices != devices || m_bindings != bindings) {
        m_devices = std::move(devices);
        m_bindings = std::move(bindings);
        m_family.update(m_children, m_bindings);
        updateBackupTargets();
        emit devicesChanged();
        emit canScanChanged();
    }
    // What the window sums up is the selected child's iPhone, else the first one bound, else the newest.
    const auto boundTo = [&](const std::optional<std::string>& child) {
        return std::ranges::find_if(m_devices, [&](const BackupDescriptor& device) {
            const auto binding = m_bindings.find(device.id);
            return binding != m_bindings.end() && (!child || binding->second == *child);
        });
    };
    auto shown = m_selectedChildID ? boundTo(m_selectedChildID) : m_devices.end();
    if (shown == m_devices.end())
        shown = boundTo(std::nullopt);
    if (shown == m_devices.end())
        shown = m_devices.begin();
    setSelectedBackup(shown == m_devices.end() ? std::nullopt : std::optional(*shown));
}

bool BridgeAppState::assignDevice(const std::string& deviceId, const std::optional<std::string>& childId)
{
    try {
        if (childId)
            m_services.bindings.bind(deviceId, *childId);
        else
            m_services.bindings.unbind(deviceId);
    } catch (...) {
        raiseFailure(texts::failureText(std::current_exception()));
        return false;
    }
    setDevices(m_devices, m_services.bindings.bindings());
    if (m_phase.kind() != quorva::Phase::Kind::scanning && m_phase.kind() != quorva::Phase::Kind::starting)
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

QString BridgeAppState::selectedChildIDForDisplay() const
{
    return m_selectedChildID ? QString::fromStdString(*m_selectedChildID) : QString();
}

void BridgeAppState::setSelectedChildIDFromDisplay(const QString& id)
{
    setSelectedChildID(id.isEmpty() ? std::nullopt : std::optional(id.toStdString()));
}

BackupView BridgeAppState::selectedBackupForDisplay() const
{
    if (!m_selectedBackup)
        return {};
    const BackupDescriptor& backup = *m_selectedBackup;
    return {.valid = true,
            .id = QString::fromStdString(backup.id),
            .deviceName = QString::fromStdString(backup.deviceName),
            .productType = QString::fromStdString(backup.productType.value_or("")),
            .lastBackupAt = toDateTime(backup.lastBackupAt),
            .isEncrypted = backup.isEncrypted,
            .path = QString::fromStdString(backup.url.string())};
}

QVariantList BridgeAppState::devicesForDisplay() const
{
    QVariantList list;
    for (const BackupDescriptor& device : m_devices) {
        const auto binding = m_bindings.find(device.id);
        const DeviceActivity activity =
            m_deviceBackups ? m_deviceBackups->activity(QString::fromStdString(device.id)) : DeviceActivity{};
        list.append(QVariantMap{
            {QStringLiteral("id"), QString::fromStdString(device.id)},
            {QStringLiteral("name"), QString::fromStdString(device.deviceName)},
            {QStringLiteral("productType"),
             device.productType ? QVariant(QString::fromStdString(*device.productType)) : QVariant()},
            {QStringLiteral("lastBackupAt"), toDateTime(device.lastBackupAt)},
            {QStringLiteral("state"), QString::fromLatin1(stateName(device))},
            {QStringLiteral("childId"),
             binding == m_bindings.end() ? QString() : QString::fromStdString(binding->second)},
            {QStringLiteral("connected"), activity.connected},
            {QStringLiteral("backingUp"), activity.running},
            {QStringLiteral("untrusted"), activity.untrusted},
            {QStringLiteral("activity"), activity.text},
        });
    }
    return list;
}

QDateTime BridgeAppState::lastScanAtForDisplay() const
{
    return toDateTime(m_lastScanAt);
}

// ---- Detached starts -----------------------------------------------------------------------
// A dropped QCoro task keeps running and frees itself when it finishes.

void BridgeAppState::requestStart()
{
    (void)start();
}

void BridgeAppState::requestPair()
{
    (void)pair();
}

void BridgeAppState::requestChooseBackupFolder()
{
    (void)chooseBackupFolder();
}

void BridgeAppState::requestScanNow()
{
    // As the button and the menu command: never a second cycle while one runs.
    if (canScan())
        (void)scanNow();
}

void BridgeAppState::requestLoadChildren()
{
    (void)loadChildren();
}

void BridgeAppState::requestDisconnect()
{
    (void)disconnect();
}

void BridgeAppState::requestSetLaunchAtLogin(bool enabled)
{
    setLaunchAtLogin(enabled);
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
