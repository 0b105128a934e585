#include "devices/DeviceBackups.h"

#include "platform/WhileAlive.h"

#include <algorithm>

namespace quorva {

DeviceBackups::DeviceBackups(std::shared_ptr<DeviceWatcher> watcher, BackupRunOptions options,
                             QObject* parent)
    : QObject(parent), m_watcher(std::move(watcher)), m_options(std::move(options))
{
    connect(m_watcher.get(), &DeviceWatcher::deviceConnected, this, [this](const QString& udid) {
        m_triedAutomatically.erase(udid);
        emit statusChanged();
        considerAutomaticRun();
    });
    connect(m_watcher.get(), &DeviceWatcher::deviceIdentified, this, &DeviceBackups::statusChanged);
    connect(m_watcher.get(), &DeviceWatcher::deviceNotAnswering, this, &DeviceBackups::statusChanged);
    connect(m_watcher.get(), &DeviceWatcher::deviceDisconnected, this, [this](const QString& udid) {
        // A run under way ends by itself, saying the phone was unplugged.
        if (!m_run || m_run->udid() != udid)
            m_activities.erase(udid);
        emit statusChanged();
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
    emit statusChanged();
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
        startOwned(this, runAutomatically(target->first));
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
    using Refusal = DeviceActivity::Refusal;
    const QString name = nameOf(udid);
    // It becomes an argument of the tool and a folder's name: only a phone's id may.
    const std::optional<Refusal> refusal = !isDeviceId(udid)          ? std::optional(Refusal::notADeviceId)
                                           : !m_bound.contains(udid)  ? std::optional(Refusal::notAssigned)
                                           : !m_watcher->device(udid) ? std::optional(Refusal::notConnected)
                                           : !m_folder                ? std::optional(Refusal::noFolderChosen)
                                           : m_run || m_scanning      ? std::optional(Refusal::mustWait)
                                                                      : std::nullopt;
    if (refusal) {
        setActivity(udid, refused(udid, *refusal));
        co_return BackupRunOutcome{};
    }
    // The tool writes into <root>/<id>: the folder that holds this iPhone's backup, when its
    // backup folder carries its id as idevicebackup2 names it; else the chosen folder.
    std::filesystem::path root = *m_folder;
    if (const auto& found = m_bound.at(udid).backupFolder;
        found && QString::fromStdString(found->filename().string()).compare(udid, Qt::CaseInsensitive) == 0)
        root = found->parent_path();
    m_run = std::make_unique<IPhoneBackupRun>(udid, std::move(root), m_options);
    IPhoneBackupRun* run = m_run.get();
    const auto showRun = [this, run, udid] {
        using Stage = DeviceActivity::Stage;
        const Stage stage = run->stage() == BackupRunStage::copying              ? Stage::copying
                            : run->stage() == BackupRunStage::waitingForPasscode ? Stage::waitingForPasscode
                                                                                 : Stage::none;
        setActivity(udid, stage == Stage::none ? DeviceActivity{}
                                               : DeviceActivity{.stage = stage,
                                                                .deviceName = nameOf(udid),
                                                                .percent = run->percent()});
    };
    connect(run, &IPhoneBackupRun::stageChanged, this, showRun);
    connect(run, &IPhoneBackupRun::progressed, this, showRun);
    emit statusChanged();
    QCoro::Task<BackupRunOutcome> running = run->run();
    const std::optional<BackupRunOutcome> ended = co_await whileAlive(this, std::move(running));
    if (!ended)
        co_return BackupRunOutcome{};
    const BackupRunOutcome outcome = *ended;
    m_run.reset();
    // Exit 255 before any progress is most often a phone that has not trusted this computer.
    m_untrusted[udid] = outcome.result == BackupRunOutcome::Result::notReached;
    const DeviceActivity told = DeviceActivity::ended(name, outcome);
    setActivity(udid, told);
    if (outcome.result != BackupRunOutcome::Result::cancelled)
        emit runEnded(udid, told);
    if (outcome.result != BackupRunOutcome::Result::finished)
        considerAutomaticRun();
    co_return outcome;
}

QCoro::Task<DeviceActivity> DeviceBackups::trust(QString udid)
{
    QCoro::Task<TrustOutcome> asked = m_watcher->trust(udid);
    const std::optional<TrustOutcome> answered = co_await whileAlive(this, std::move(asked));
    if (!answered)
        co_return DeviceActivity{};
    const TrustOutcome& outcome = *answered;
    const DeviceActivity told = DeviceActivity::asked(nameOf(udid), outcome);
    setActivity(udid, told);
    if (outcome.result == TrustOutcome::Result::trusted) {
        m_untrusted.erase(udid);
        m_triedAutomatically.erase(udid);
        if (!outcome.willEncrypt.value_or(false))
            considerAutomaticRun();
    }
    co_return told;
}

DeviceStatus DeviceBackups::status(const QString& udid) const
{
    const auto said = m_activities.find(udid);
    const auto untrusted = m_untrusted.find(udid);
    const std::optional<ConnectedIPhone> phone = m_watcher->device(udid);
    const bool notAnswering = phone && phone->notAnswering;
    DeviceActivity activity = said == m_activities.end() ? DeviceActivity{} : said->second;
    if (activity.stage == DeviceActivity::Stage::none && notAnswering)
        activity = {.stage = DeviceActivity::Stage::notAnswering, .deviceName = nameOf(udid)};
    return {.connected = phone.has_value(),
            .running = m_run && m_run->udid() == udid,
            .untrusted = untrusted != m_untrusted.end() && untrusted->second,
            .notAnswering = notAnswering,
            .activity = std::move(activity)};
}

void DeviceBackups::setActivity(const QString& udid, DeviceActivity activity)
{
    if (m_activities[udid] == activity)
        return;
    m_activities[udid] = std::move(activity);
    emit statusChanged();
}

DeviceActivity DeviceBackups::refused(const QString& udid, DeviceActivity::Refusal why) const
{
    return {.stage = DeviceActivity::Stage::refused, .deviceName = nameOf(udid), .refusal = why};
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
