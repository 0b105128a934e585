#include "AttentionNotifier.h"

#include "QuorvaBridgeApp.h"
#include "devices/DeviceBackups.h"
#include "devices/DeviceTexts.h"
#include "platform/BackgroundPortal.h"
#include "platform/DesktopNotifications.h"

#include <QQuickWindow>
#include <QTimer>

namespace quorva {

namespace {

const QString kFailure = QStringLiteral("failure");
const QString kOldPrefix = QStringLiteral("old:");
const QString kUnassignedPrefix = QStringLiteral("unassigned:");
const QString kBackupPrefix = QStringLiteral("backup:");
const QString kKeepsRunning = QStringLiteral("keeps-running");

} // namespace

AttentionNotifier::AttentionNotifier(QuorvaBridgeApp& app, DesktopNotifications& notifications,
                                     QObject* parent)
    : QObject(parent), m_app(app), m_notifications(notifications)
{
    BridgeAppState& state = m_app.state();
    connect(&state, &BridgeAppState::failureRaised, this, &AttentionNotifier::failureRaised);
    connect(&state, &BridgeAppState::phaseChanged, this, &AttentionNotifier::phaseChanged);
    connect(&state, &BridgeAppState::attentionChanged, this, &AttentionNotifier::familyChanged);
    connect(&state, &BridgeAppState::devicesChanged, this, &AttentionNotifier::familyChanged);
    if (DeviceBackups* backups = state.deviceBackups())
        connect(backups, &DeviceBackups::runEnded, this, &AttentionNotifier::backupEnded);
    connect(&m_notifications, &DesktopNotifications::actionInvoked, this,
            [this](const QString& key, const QString&) { open(key); });
}

bool AttentionNotifier::windowShown() const
{
    const QQuickWindow* window = m_app.window();
    return window && window->isVisible() && window->visibility() != QWindow::Minimized;
}

void AttentionNotifier::raise(const QString& key, const QString& summary, const QString& body)
{
    if (m_raised.contains(key))
        return;
    m_raised.insert(key);
    if (!windowShown())
        m_notifications.show(key, summary, body, {{QStringLiteral("default"), tr("Open Quorva Bridge")}});
}

void AttentionNotifier::clear(const QString& key)
{
    if (m_raised.remove(key))
        m_notifications.withdraw(key);
}

void AttentionNotifier::failureRaised()
{
    if (m_raised.contains(kFailure))
        return;
    if (windowShown()) {
        m_raised.insert(kFailure); // its alert says it
        return;
    }
    // The state gives the failure its heading just after raising it.
    QTimer::singleShot(0, this, [this] {
        const BridgeAppState& state = m_app.state();
        if (state.phase().kind() != Phase::Kind::failed)
            return;
        const QString heading =
            state.statusMessage().isEmpty() ? tr("Quorva Bridge needs attention") : state.statusMessage();
        // The failure's own words: a service's message stays as it came.
        raise(kFailure, heading, state.failureText());
    });
}

void AttentionNotifier::backupEnded(const QString& deviceId, const DeviceActivity& ended)
{
    const QString key = kBackupPrefix + deviceId;
    if (ended.stage == DeviceActivity::Stage::finished)
        clear(key);
    else
        raise(key, tr("A backup did not finish"), texts::activityText(ended));
}

void AttentionNotifier::phaseChanged()
{
    // A new attempt is no answer yet; only an outcome other than failure clears it.
    switch (m_app.state().phase().kind()) {
    case Phase::Kind::ready:
    case Phase::Kind::needsSetup:
    case Phase::Kind::needsPairing:
        clear(kFailure);
        break;
    default:
        break;
    }
}

void AttentionNotifier::familyChanged()
{
    const BridgeAppState& state = m_app.state();
    const FamilyOverview& overview = state.overview();
    const Instant now = Instant::now();
    const QDate today = QDate::currentDate();
    QSet<QString> current;

    for (const ChildOverview& row : overview.children) {
        if (!row.device || !isOld(*row.device, now) || !row.attention)
            continue;
        const QString key = kOldPrefix + QString::fromStdString(row.child.id);
        current.insert(key);
        auto told = m_oldToldOn.find(row.child.id);
        if (m_raised.contains(key) || (told != m_oldToldOn.end() && told->second == today))
            continue;
        m_oldToldOn[row.child.id] = today;
        raise(key, tr("A backup is getting old"), texts::noticeText(*row.attention));
    }
    for (const BackupDescriptor& device : overview.unassigned) {
        // News only while the overview says so: recent, and not set aside by the parent.
        const Notice waiting{NoticeCase::notAssignedToAnyone, {QString::fromStdString(device.deviceName)}};
        if (std::ranges::find(overview.familyNotices, waiting) == overview.familyNotices.end())
            continue;
        const QString key = kUnassignedPrefix + QString::fromStdString(device.id);
        current.insert(key);
        raise(key, tr("An iPhone waits to be assigned"), texts::noticeText(waiting));
    }

    const QSet<QString> raised = m_raised;
    for (const QString& key : raised)
        if ((key.startsWith(kOldPrefix) || key.startsWith(kUnassignedPrefix)) && !current.contains(key))
            clear(key);
}

void AttentionNotifier::tellKeepsRunning()
{
    if (m_toldKeepsRunning)
        return;
    m_toldKeepsRunning = true;
    m_notifications.show(kKeepsRunning, tr("Quorva Bridge keeps checking in the background"),
                         tr("It checks your family's iPhone backups every 30 minutes. Start Quorva "
                            "Bridge again to open its window."),
                         {{QStringLiteral("default"), tr("Open Quorva Bridge")}});
    requestRunningInBackground(tr("Quorva Bridge checks your family's iPhone backups every 30 minutes."));
}

QString AttentionNotifier::childPickerOf(const QString& deviceId) const
{
    const auto& bindings = m_app.state().deviceBindings();
    const auto bound = bindings.find(deviceId.toStdString());
    return bound == bindings.end() ? QString()
                                   : QStringLiteral("devicePicker-") + QString::fromStdString(bound->second);
}

void AttentionNotifier::open(const QString& key)
{
    QString target;
    if (key.startsWith(kOldPrefix))
        target = QStringLiteral("devicePicker-") + key.mid(kOldPrefix.size());
    else if (key.startsWith(kUnassignedPrefix))
        target = QStringLiteral("noOnesButton-") + key.mid(kUnassignedPrefix.size());
    else if (key.startsWith(kBackupPrefix))
        target = childPickerOf(key.mid(kBackupPrefix.size()));
    m_app.showWindowAt(target);
}

} // namespace quorva
