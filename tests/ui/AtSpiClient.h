#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

namespace quorva::uitest {

// This process's window as a screen reader or a switch-access tool meets it: over the
// accessibility bus, through the AT-SPI interfaces Qt's bridge serves, never through Qt.
// Calls wait with the event loop running, since the bridge answers from this very thread.
class AtSpiClient : public QObject {
    Q_OBJECT

public:
    struct Node {
        QString service;
        QDBusObjectPath path;
    };
    // One event as it went over the bus: "PropertyChange:accessible-name", "TextChanged:insert" …
    struct Event {
        QString kind;
        QString path;
    };

    AtSpiClient();
    ~AtSpiClient() override;
    AtSpiClient(const AtSpiClient&) = delete;
    AtSpiClient& operator=(const AtSpiClient&) = delete;
    // Whether the accessibility bus is there and this process is registered on it.
    [[nodiscard]] bool connected() const { return m_application.has_value(); }

    // Asks the registry for the events a screen reader listens to; Qt sends only those.
    void listen();

    [[nodiscard]] QString name(const Node& node);
    [[nodiscard]] QString roleName(const Node& node);
    [[nodiscard]] QList<Node> children(const Node& node);
    // The AT-SPI state names among those a screen reader reads out: "enabled", "sensitive" …
    [[nodiscard]] QStringList states(const Node& node);
    [[nodiscard]] QStringList actions(const Node& node);
    // Runs the named action (a switch's "Press"); false when it is not offered or refused.
    bool doAction(const Node& node, const QString& action);

    // The first node, depth first from the application, whose name and role match; role empty
    // matches any. Also one scrolled out of sight: a switch user reaches it all the same.
    [[nodiscard]] std::optional<Node> find(const QString& name, const QString& role = {});
    [[nodiscard]] std::optional<Node> findIf(const std::function<bool(const Node&)>& match);

    [[nodiscard]] const QList<Event>& events() const { return m_events; }
    void clearEvents() { m_events.clear(); }

private slots:
    void received(const QDBusMessage& message);

private:
    QDBusMessage call(const Node& node, const QString& interface, const QString& method,
                      const QVariantList& arguments = {});
    QVariant property(const Node& node, const QString& interface, const QString& name);
    std::optional<Node> search(const Node& from, const std::function<bool(const Node&)>& match, int depth);

    QDBusConnection m_bus;
    std::optional<Node> m_application;
    QList<Event> m_events;
};

} // namespace quorva::uitest
