#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <QVariantMap>

#include <memory>
#include <mutex>
#include <vector>

namespace quorva::uitest {

// One Notify call as the notification server received it.
struct Notified {
    QString sender; // the caller's unique bus name
    uint id = 0;
    QString icon;
    QString summary;
    QString body;
    QStringList actions; // identifier, label, identifier, label …
    QVariantMap hints;
};

// One AddNotification call as the notification portal received it.
struct PortalNotified {
    QString sender;
    QString id;
    QVariantMap notification;
};

// The desktop's side of the session bus: a notification server, and where asked for, a tray's
// watcher and the desktop portal. They answer from a thread of their own, so the application may
// call them synchronously. Other test processes share the bus: each sees only what it sent.
class FakeDesktop {
public:
    struct Offers {
        bool tray = true;
        bool portal = false; // the desktop portal: Background and Notification
    };
    explicit FakeDesktop(Offers offers);
    ~FakeDesktop();
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    [[nodiscard]] std::vector<Notified> notified() const;
    [[nodiscard]] std::vector<uint> closed() const;
    // As when the parent clicks the notification (action "default") or one of its buttons.
    void invokeAction(uint id, const QString& action);

    // The items registered with the watcher: {bus name, object path}.
    [[nodiscard]] std::vector<std::pair<QString, QString>> trayItems() const;
    // The reasons of every RequestBackground call to the portal.
    [[nodiscard]] QStringList backgroundRequests() const;
    // What reached the portal's Notification interface, from any process.
    [[nodiscard]] std::vector<PortalNotified> portalNotifications() const;
    [[nodiscard]] QStringList portalRemoved() const;
    void invokePortalAction(const QString& id, const QString& action);

    class Server;

private:
    QThread m_thread;
    QDBusConnection m_bus;
    std::unique_ptr<Server> m_server;
};

// A property of an object on the bus, read asynchronously while the event loop runs (the object
// may belong to this thread); an invalid variant when it cannot be read.
[[nodiscard]] QVariant busProperty(const QString& service, const QString& path, const QString& interface,
                                   const QString& name);
// A method call likewise; the reply's arguments, empty on an error.
QVariantList busCall(const QString& service, const QString& path, const QString& interface,
                     const QString& method, const QVariantList& arguments = {});

} // namespace quorva::uitest
