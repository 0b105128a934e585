#include "platform/DesktopNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QGuiApplication>
#include <QVariantMap>

namespace quorva {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kPortalInterface = QStringLiteral("org.freedesktop.portal.Notification");

} // namespace

DesktopNotifications::Route DesktopNotifications::routeForThisProcess()
{
    // Flatpak's sandbox says itself so in this file.
    return QFile::exists(QStringLiteral("/.flatpak-info")) ? Route::portal : Route::notificationServer;
}

DesktopNotifications::DesktopNotifications(QDBusConnection bus, Route route, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_route(route)
{
    if (m_route == Route::portal) {
        m_bus.connect(kPortal, kPortalPath, kPortalInterface, QStringLiteral("ActionInvoked"), this,
                      SLOT(onPortalActionInvoked(QString, QString, QVariantList)));
        return;
    }
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onClosed(uint, uint)));
}

void DesktopNotifications::show(const QString& key, const QString& summary, const QString& body,
                                const QList<Action>& actions)
{
    if (m_route == Route::portal) {
        showThroughPortal(key, summary, body, actions);
        return;
    }
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

void DesktopNotifications::showThroughPortal(const QString& key, const QString& summary, const QString& body,
                                             const QList<Action>& actions)
{
    // The portal knows the application by its sandbox, with its name and icon; our key is the id.
    QVariantMap notification{{QStringLiteral("title"), summary}, {QStringLiteral("body"), body}};
    QList<QVariantMap> buttons;
    for (const Action& action : actions) {
        if (action.id == QStringLiteral("default"))
            notification.insert(QStringLiteral("default-action"), action.id);
        else
            buttons << QVariantMap{{QStringLiteral("label"), action.label},
                                   {QStringLiteral("action"), action.id}};
    }
    if (!buttons.isEmpty())
        notification.insert(QStringLiteral("buttons"), QVariant::fromValue(buttons));
    QDBusMessage call = QDBusMessage::createMethodCall(kPortal, kPortalPath, kPortalInterface,
                                                       QStringLiteral("AddNotification"));
    call.setArguments({key, notification});
    m_bus.asyncCall(call);
    m_portalShown.insert(key);
}

void DesktopNotifications::withdraw(const QString& key)
{
    if (m_route == Route::portal) {
        if (!m_portalShown.remove(key))
            return;
        QDBusMessage call = QDBusMessage::createMethodCall(kPortal, kPortalPath, kPortalInterface,
                                                           QStringLiteral("RemoveNotification"));
        call.setArguments({key});
        m_bus.asyncCall(call);
        return;
    }
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

void DesktopNotifications::onPortalActionInvoked(const QString& key, const QString& action,
                                                 const QVariantList&)
{
    if (m_portalShown.contains(key))
        emit actionInvoked(key, action);
}

void DesktopNotifications::onClosed(uint id, uint)
{
    const QString key = m_shown.key(id);
    if (!key.isNull())
        m_shown.remove(key);
}

} // namespace quorva
