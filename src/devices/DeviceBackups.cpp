#include "devices/DeviceBackups.h"

#include "devices/DeviceTexts.h"

#include "platform/WhileAlive.h"

#include <algorithm>

namespace quorva {

DeviceBackups::DeviceBackups(std::shared_ptr<DeviceWatcher> watcher, BackupRunOptions options,
                             QObject* parent)
    : QObject(parent), m_watcher(std::move(watcher)), m_options(std::move(options))
{
    connect(m_watcher.get(), &DeviceWatcher::deviceConnected, this, [this](const QString& udid) {
        m_triedAutomatically.erase(udid);
        emit activityChanged();
        considerAutomaticRun();
    });
    connect(m_watcher.get(), &DeviceWatcher::deviceIdentified, this, &DeviceBackups::activityChanged);
    connect(m_watcher.get(), &DeviceWatcher::deviceNotAnswering, this, &DeviceBackups::activityChanged);
    connect(m_watcher.get(), &DeviceWatcher::deviceDisconnected, this, [this](const QString& udid) {
        // A run under way ends by itself, saying the phone was unplugged.
        if (!m_run || m_run->udid() != udid)
            m_texts.erase(udid);
        emit activityChanged();
    });
}

DeviceBackups::~DeviceBackups() = default;

bool DeviceBackups::start()
{
    return m_watcher->start();
}

void DeviceBackups::setTargets(std::optional<std::filesystem::path> folder, std::map<QString, Target> bound)
{
    m_folder = std::move(folder);
    m_bound = std::move(bound);
    emit activityChanged();
    considerAutomaticRun();
}

void DeviceBackups::setScanning(bool scanning)
{
    m_scanning = scanning;
    if (!scanning)
        considerAutomaticRun();
}

void DeviceBackups::considerAutomaticRun()
{
    if (!m_automatic || m_run || m_scanning || !m_folder)
        return;
    const double staleSeconds = std::chrono::duration<double>(staleAfter).count();
    const Instant now = Instant::now();
    for (const ConnectedIPhone& phone : m_watcher->connected()) {
        const auto target = boundTarget(phone.udid);
        // A phone that hangs would hold the tool until it stalls, and every other phone with it.
        if (target == m_bound.end() || phone.notAnswering || m_triedAutomatically[phone.udid] ||
            m_untrusted[phone.udid])
            continue;
        const std::optional<Instant>& last = target->second.lastFinished;
        if (last && now.unixSeconds - last->unixSeconds < staleSeconds)
            continue;
        m_triedAutomatically[phone.udid] = true;
        // By the backup's own spelling of the id: the tool names the folder after it.
        (void)runAutomatically(target->first);
        return;
    }
}

QCoro::Task<> DeviceBackups::runAutomatically(QString udid)
{
    QCoro::Task<BackupRunOutcome> run = backUp(udid);
    const std::optional<BackupRunOutcome> outcome = co_await whileAlive(this, std::move(run));
    if (outcome && outcome->result == BackupRunOutcome::Result::finished)
        emit backedUp(udid);
}

QCoro::Task<BackupRunOutcome> DeviceBackups::backUp(QString udid)
{
    BackupRunOutcome refused;
    const QString name = nameOf(udid);
    // It becomes an argument of the tool and a folder's name: only a phone's id may.
    if (!isDeviceId(udid)) {
        setText(udid, texts::notADeviceId(name));
        co_return refused;
    }
    if (!m_bound.contains(udid)) {
        setText(udid, texts::deviceNotAssigned(name));
        co_return refused;
    }
    if (!m_watcher->device(udid)) {
        setText(udid, texts::deviceNotConnected(name));
        co_return refused;
    }
    if (!m_folder) {
        setText(udid, texts::noBackupFolderChosen());
        co_return refused;
    }
    if (m_run || m_scanning) {
        setText(udid, texts::backupMustWait(name));
        co_return refused;
    }
    // The tool writes into <root>/<id>: the folder that holds this iPhone's backup, when its
    // backup folder carries its id as idevicebackup2 names it; else the chosen folder.
    std::filesystem::path root = *m_folder;
    if (const auto& found = m_bound.at(udid).backupFolder;
        found && QString::fromStdString(found->filename().string()).compare(udid, Qt::CaseInsensitive) == 0)
        root = found->parent_path();
    m_run = std::make_unique<IPhoneBackupRun>(udid, std::move(root), m_options);
    IPhoneBackupRun* run = m_run.get();
    connect(run, &IPhoneBackupRun::stageChanged, this, [this, run, udid](BackupRunStage stage) {
        setText(udid, texts::backupRunState(nameOf(udid), stage, run->percent()));
    });
    connect(run, &IPhoneBackupRun::progressed, this, [this, run, udid](int percent) {
        setText(udid, texts::backupRunState(nameOf(udid), run->stage(), percent));
    });
    emit activityChanged();
    QCoro::Task<BackupRunOutcome> running = run->run();
    const std::optional<BackupRunOutcome> ended = co_await whileAlive(this, std::move(running));
    if (!ended)
        co_return BackupRunOutcome{};
    const BackupRunOutcome outcome = *ended;
    m_run.reset();
    // Exit 255 before any progress is most often a phone that has not trusted this computer.
    m_untrusted[udid] = outcome.result == BackupRunOutcome::Result::notReached;
    const QString told = texts::backupRunOutcome(name, outcome);
    setText(udid, told);
    if (outcome.result != BackupRunOutcome::Result::cancelled)
        emit runEnded(udid, outcome.result == BackupRunOutcome::Result::finished, told);
    if (outcome.result != BackupRunOutcome::Result::finished)
        considerAutomaticRun();
    co_return outcome;
}

QCoro::Task<QString> DeviceBackups::trust(QString udid)
{
    QCoro::Task<TrustOutcome> asked = m_watcher->trust(udid);
    const std::optional<TrustOutcome> answered = co_await whileAlive(this, std::move(asked));
    if (!answered)
        co_return QString();
    const TrustOutcome& outcome = *answered;
    const QString text = texts::trustOutcome(nameOf(udid), outcome);
    setText(udid, text);
    if (outcome.result == TrustOutcome::Result::trusted) {
        m_untrusted.erase(udid);
        m_triedAutomatically.erase(udid);
        if (!outcome.willEncrypt.value_or(false))
            considerAutomaticRun();
    }
    co_return text;
}

DeviceActivity DeviceBackups::activity(const QString& udid) const
{
    const auto text = m_texts.find(udid);
    const auto untrusted = m_untrusted.find(udid);
    const std::optional<ConnectedIPhone> phone = m_watcher->device(udid);
    const bool notAnswering = phone && phone->notAnswering;
    QString said = text == m_texts.end() ? QString() : text->second;
    if (said.isEmpty() && notAnswering)
        said = texts::deviceNotAnswering(nameOf(udid));
    return {.connected = phone.has_value(),
            .running = m_run && m_run->udid() == udid,
            .untrusted = untrusted != m_untrusted.end() && untrusted->second,
            .notAnswering = notAnswering,
            .text = said};
}

void DeviceBackups::setText(const QString& udid, QString text)
{
    if (m_texts[udid] == text)
        return;
    m_texts[udid] = std::move(text);
    emit activityChanged();
}

std::map<QString, DeviceBackups::Target>::const_iterator DeviceBackups::boundTarget(const QString& udid) const
{
    return std::find_if(m_bound.begin(), m_bound.end(), [&](const auto& bound) {
        return bound.first.compare(udid, Qt::CaseInsensitive) == 0;
    });
}

QString DeviceBackups::nameOf(const QString& udid) const
{
    if (const auto target = boundTarget(udid); target != m_bound.end() && !target->second.name.isEmpty())
        return target->second.name;
    if (const auto phone = m_watcher->device(udid); phone && !phone->name.isEmpty())
        return phone->name;
    return udid;
}

} // namespace quorva
