#include "FakeDesktop.h"

#include "BridgeFixture.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace quorva::uitest {

namespace {

const QString kNotifications = QStringLiteral("org.freedesktop.Notifications");
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");

struct Record {
    mutable std::mutex lock;
    std::vector<Notified> notified;
    std::vector<uint> closed;
    std::vector<std::pair<QString, QString>> items;
    std::vector<std::pair<QString, QString>> backgroundRequests; // sender, reason
    std::vector<PortalNotified> portalNotifications;
    QStringList portalRemoved;
};

class NotificationServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    explicit NotificationServer(Record& record) : m_record(record) {}

public slots:
    uint Notify(const QString&, uint replacesId, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int)
    {
        const std::scoped_lock hold(m_record.lock);
        const uint id = replacesId != 0 ? replacesId : ++m_lastId;
        m_record.notified.push_back({message().service(), id, icon, summary, body, actions, hints});
        return id;
    }
    void CloseNotification(uint id)
    {
        {
            const std::scoped_lock hold(m_record.lock);
            m_record.closed.push_back(id);
        }
        emit NotificationClosed(id, 3);
    }
    void invoke(uint id, const QString& action)
    {
        emit ActionInvoked(id, action);
        emit NotificationClosed(id, 2);
    }

signals:
    void ActionInvoked(uint id, const QString& actionKey);
    void NotificationClosed(uint id, uint reason);

private:
    Record& m_record;
    uint m_lastId = 0;
};

class Watcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    explicit Watcher(Record& record) : m_record(record) {}
    [[nodiscard]] bool hostRegistered() const { return true; }
    [[nodiscard]] int protocolVersion() const { return 0; }
    [[nodiscard]] QStringList items() const
    {
        const std::scoped_lock hold(m_record.lock);
        QStringList names;
        for (const auto& [service, path] : m_record.items)
            names << service + path;
        return names;
    }

public slots:
    void RegisterStatusNotifierItem(const QString& serviceOrPath)
    {
        // The protocol allows a bus name (its item at /StatusNotifierItem) or a path on the sender.
        const bool isPath = serviceOrPath.startsWith(QLatin1Char('/'));
        const QString service = isPath ? message().service() : serviceOrPath;
        const QString path = isPath ? serviceOrPath : QStringLiteral("/StatusNotifierItem");
        {
            const std::scoped_lock hold(m_record.lock);
            m_record.items.emplace_back(service, path);
        }
        emit StatusNotifierItemRegistered(service + path);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& item);
    void StatusNotifierHostRegistered();

private:
    Record& m_record;
};

// The desktop portal's object, which carries several interfaces: one adaptor each.
class Portal : public QObject, protected QDBusContext {
    Q_OBJECT

public:
    explicit Portal(Record& record) : record(record) {}
    [[nodiscard]] QString caller() const { return message().service(); }
    Record& record;
};

class BackgroundAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Background")

public:
    explicit BackgroundAdaptor(Portal* portal) : QDBusAbstractAdaptor(portal), m_portal(*portal) {}

public slots:
    QDBusObjectPath RequestBackground(const QString&, const QVariantMap& options)
    {
        const std::scoped_lock hold(m_portal.record.lock);
        m_portal.record.backgroundRequests.emplace_back(m_portal.caller(),
                                                        options.value(QStringLiteral("reason")).toString());
        return QDBusObjectPath(QStringLiteral("/org/freedesktop/portal/desktop/request/1_1/t"));
    }

private:
    Portal& m_portal;
};

class NotificationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Notification")

public:
    explicit NotificationAdaptor(Portal* portal) : QDBusAbstractAdaptor(portal), m_portal(*portal) {}
    void invoke(const QString& id, const QString& action) { emit ActionInvoked(id, action, {}); }

public slots:
    void AddNotification(const QString& id, const QVariantMap& notification)
    {
        const std::scoped_lock hold(m_portal.record.lock);
        m_portal.record.portalNotifications.push_back({m_portal.caller(), id, notification});
    }
    void RemoveNotification(const QString& id)
    {
        const std::scoped_lock hold(m_portal.record.lock);
        m_portal.record.portalRemoved << id;
    }

signals:
    void ActionInvoked(const QString& id, const QString& action, const QVariantList& parameter);

private:
    Portal& m_portal;
};

} // namespace

class FakeDesktop::Server {
public:
    explicit Server() : notifications(record), watcher(record), portal(record)
    {
        new BackgroundAdaptor(&portal);
        portalNotifications = new NotificationAdaptor(&portal);
    }
    Record record;
    NotificationServer notifications;
    Watcher watcher;
    Portal portal;
    NotificationAdaptor* portalNotifications; // the portal's child
};

FakeDesktop::FakeDesktop(Offers offers)
    : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-desktop"))),
      m_server(std::make_unique<Server>())
{
    m_thread.start();
    const auto exportAll = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                           QDBusConnection::ExportAllProperties | QDBusConnection::ExportAdaptors;
    const auto offer = [&](QObject& object, const QString& service, const QString& path) {
        // Registered first: the bus gives the object a child of its own, which moves with it.
        EXPECT_TRUE(m_bus.registerObject(path, &object, exportAll)) << path.toStdString();
        object.moveToThread(&m_thread);
        EXPECT_TRUE(m_bus.registerService(service)) << service.toStdString();
    };
    offer(m_server->notifications, kNotifications, QStringLiteral("/org/freedesktop/Notifications"));
    if (offers.tray)
        offer(m_server->watcher, kWatcher, QStringLiteral("/StatusNotifierWatcher"));
    if (offers.portal)
        offer(m_server->portal, kPortal, QStringLiteral("/org/freedesktop/portal/desktop"));
}

FakeDesktop::~FakeDesktop()
{
    for (const QString& service : {kNotifications, kWatcher, kPortal})
        m_bus.unregisterService(service);
    for (const char* path :
         {"/org/freedesktop/Notifications", "/StatusNotifierWatcher", "/org/freedesktop/portal/desktop"})
        m_bus.unregisterObject(QString::fromLatin1(path));
    // Back to this thread, where they are destroyed.
    QThread* here = QThread::currentThread();
    for (QObject* object :
         std::initializer_list<QObject*>{&m_server->notifications, &m_server->watcher, &m_server->portal})
        if (object->thread() == &m_thread)
            QMetaObject::invokeMethod(
                object, [object, here] { object->moveToThread(here); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-desktop"));
}

std::vector<Notified> FakeDesktop::notified() const
{
    const std::scoped_lock hold(m_server->record.lock);
    std::vector<Notified> ours;
    std::ranges::copy_if(m_server->record.notified, std::back_inserter(ours), [](const Notified& told) {
        return told.sender == QDBusConnection::sessionBus().baseService();
    });
    return ours;
}

std::vector<uint> FakeDesktop::closed() const
{
    const std::scoped_lock hold(m_server->record.lock);
    return m_server->record.closed;
}

void FakeDesktop::invokeAction(uint id, const QString& action)
{
    QMetaObject::invokeMethod(&m_server->notifications,
                              [this, id, action] { m_server->notifications.invoke(id, action); });
}

std::vector<std::pair<QString, QString>> FakeDesktop::trayItems() const
{
    const std::scoped_lock hold(m_server->record.lock);
    std::vector<std::pair<QString, QString>> ours;
    const QString pid = QString::number(QCoreApplication::applicationPid());
    std::ranges::copy_if(m_server->record.items, std::back_inserter(ours), [&](const auto& item) {
        return item.first == QDBusConnection::sessionBus().baseService() ||
               item.first.contains(QLatin1Char('-') + pid + QLatin1Char('-'));
    });
    return ours;
}

QStringList FakeDesktop::backgroundRequests() const
{
    const std::scoped_lock hold(m_server->record.lock);
    QStringList ours;
    for (const auto& [sender, reason] : m_server->record.backgroundRequests)
        if (sender == QDBusConnection::sessionBus().baseService())
            ours << reason;
    return ours;
}

std::vector<PortalNotified> FakeDesktop::portalNotifications() const
{
    const std::scoped_lock hold(m_server->record.lock);
    return m_server->record.portalNotifications;
}

QStringList FakeDesktop::portalRemoved() const
{
    const std::scoped_lock hold(m_server->record.lock);
    return m_server->record.portalRemoved;
}

void FakeDesktop::invokePortalAction(const QString& id, const QString& action)
{
    QMetaObject::invokeMethod(m_server->portalNotifications,
                              [this, id, action] { m_server->portalNotifications->invoke(id, action); });
}

QVariantList busCall(const QString& service, const QString& path, const QString& interface,
                     const QString& method, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(arguments);
    QDBusPendingCallWatcher watcher(QDBusConnection::sessionBus().asyncCall(call));
    if (!test::BridgeFixture::waitFor([&] { return watcher.isFinished(); }))
        return {};
    if (watcher.isError()) {
        qWarning() << method << watcher.error().message();
        return {};
    }
    return watcher.reply().arguments();
}

QVariant busProperty(const QString& service, const QString& path, const QString& interface,
                     const QString& name)
{
    const QVariantList reply = busCall(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                       QStringLiteral("Get"), {interface, name});
    return reply.isEmpty() ? QVariant() : reply.constFirst().value<QDBusVariant>().variant();
}

} // namespace quorva::uitest

#include "FakeDesktop.moc"
