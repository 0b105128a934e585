#include "platform/DesktopNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QVariantMap>

namespace quorva {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

} // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus))
{
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onClosed(uint, uint)));
}

void DesktopNotifications::show(const QString& key, const QString& summary, const QString& body,
                                const QList<Action>& actions)
{
    QStringList flatActions;
    for (const Action& action : actions)
        flatActions << action.id << action.label;
    // The desktop entry lets the desktop group our notifications and find our icon and name;
    // the themed icon has the same name.
    const QString entry = QGuiApplication::desktopFileName();
    const QVariantMap hints{{QStringLiteral("desktop-entry"), entry},
                            {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}};
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call.setArguments({QGuiApplication::applicationDisplayName(), m_shown.value(key), entry, summary, body,
                       flatActions, hints, -1});
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    m_closeOnReply.remove(key);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, key](QDBusPendingCallWatcher* answered) {
                answered->deleteLater();
                const QDBusPendingReply<uint> reply = *answered;
                if (reply.isError())
                    return;
                if (m_closeOnReply.remove(key))
                    close(reply.value()); // withdrawn before the server answered
                else
                    m_shown.insert(key, reply.value());
            });
}

void DesktopNotifications::withdraw(const QString& key)
{
    const uint id = m_shown.take(key);
    if (id == 0)
        m_closeOnReply.insert(key);
    else
        close(id);
}

void DesktopNotifications::close(uint id)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CloseNotification"));
    call.setArguments({id});
    m_bus.asyncCall(call);
}

void DesktopNotifications::onActionInvoked(uint id, const QString& action)
{
    // Other applications' notifications come through the same signal.
    const QString key = m_shown.key(id);
    if (!key.isNull())
        emit actionInvoked(key, action);
}

void DesktopNotifications::onClosed(uint id, uint)
{
    const QString key = m_shown.key(id);
    if (!key.isNull())
        m_shown.remove(key);
}

} // namespace quorva
