#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

namespace quorva {

// The desktop's notification service (org.freedesktop.Notifications, or in a sandbox the
// desktop portal's org.freedesktop.portal.Notification). Each notification has a
// key of the caller's; showing one under a key that is still shown replaces it. Calls never
// wait: a desktop without the service simply shows nothing.
class DesktopNotifications : public QObject {
    Q_OBJECT

public:
    struct Action {
        QString id; // "default" is the click on the notification itself
        QString label;
    };

    // Inside a sandbox the notification server is out of reach; the desktop portal stands in.
    enum class Route { notificationServer, portal };
    [[nodiscard]] static Route routeForThisProcess();

    explicit DesktopNotifications(QDBusConnection bus = QDBusConnection::sessionBus(),
                                  Route route = routeForThisProcess(), QObject* parent = nullptr);

    void show(const QString& key, const QString& summary, const QString& body, const QList<Action>& actions);
    // Takes the notification off the screen, if it is still there.
    void withdraw(const QString& key);

signals:
    void actionInvoked(const QString& key, const QString& action);

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onClosed(uint id, uint reason);
    void onPortalActionInvoked(const QString& key, const QString& action, const QVariantList& parameter);

private:
    void close(uint id);
    void showThroughPortal(const QString& key, const QString& summary, const QString& body,
                           const QList<Action>& actions);

    QDBusConnection m_bus;
    Route m_route;
    QHash<QString, uint> m_shown; // key to the server's id
    QSet<QString> m_closeOnReply; // withdrawn while the server had not yet said its id
    QSet<QString> m_portalShown;  // through the portal, our keys are the ids
};

} // namespace quorva
