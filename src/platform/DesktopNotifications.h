#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

namespace quorva {

// The desktop's notification service (org.freedesktop.Notifications). Each notification has a
// key of the caller's; showing one under a key that is still shown replaces it. Calls never
// wait: a desktop without the service simply shows nothing.
class DesktopNotifications : public QObject {
    Q_OBJECT

public:
    struct Action {
        QString id; // "default" is the click on the notification itself
        QString label;
    };

    explicit DesktopNotifications(QDBusConnection bus = QDBusConnection::sessionBus(),
                                  QObject* parent = nullptr);

    void show(const QString& key, const QString& summary, const QString& body, const QList<Action>& actions);
    // Takes the notification off the screen, if it is still there.
    void withdraw(const QString& key);

signals:
    void actionInvoked(const QString& key, const QString& action);

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onClosed(uint id, uint reason);

private:
    void close(uint id);

    QDBusConnection m_bus;
    QHash<QString, uint> m_shown; // key to the server's id
    QSet<QString> m_closeOnReply; // withdrawn while the server had not yet said its id
};

} // namespace quorva
