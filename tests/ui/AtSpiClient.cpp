#include "AtSpiClient.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusReply>
#include <QDBusVariant>

namespace quorva::uitest {

namespace {

const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString kRegistry = QStringLiteral("org.a11y.atspi.Registry");

// The accessibility bus is a bus of its own, whose address the session bus hands out.
QString accessibilityBusAddress()
{
    const QDBusReply<QString> address = QDBusConnection::sessionBus().call(
        QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                       QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
    return address.isValid() ? address.value() : QString();
}

QList<AtSpiClient::Node> references(const QDBusMessage& reply)
{
    QList<AtSpiClient::Node> nodes;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return nodes;
    const auto array = reply.arguments().constFirst().value<QDBusArgument>();
    array.beginArray();
    while (!array.atEnd()) {
        AtSpiClient::Node node;
        array.beginStructure();
        array >> node.service >> node.path;
        array.endStructure();
        nodes << node;
    }
    array.endArray();
    return nodes;
}

// The bit of each state in AT-SPI's state set (atspi-constants.h).
const std::pair<const char*, int> kStates[] = {
    {"checked", 4},  {"focusable", 11}, {"focused", 12}, {"enabled", 8},
    {"pressed", 20}, {"sensitive", 24}, {"showing", 25}, {"visible", 30},
};

} // namespace

AtSpiClient::AtSpiClient()
    : m_bus(QDBusConnection::connectToBus(accessibilityBusAddress(), QStringLiteral("quorva-atspi-client")))
{
    if (!m_bus.isConnected())
        return;
    const Node desktop{kRegistry, QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))};
    const auto pid = QCoreApplication::applicationPid();
    for (const Node& application : children(desktop)) {
        const QDBusReply<uint> owner =
            m_bus.call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                      QStringLiteral("/org/freedesktop/DBus"),
                                                      QStringLiteral("org.freedesktop.DBus"),
                                                      QStringLiteral("GetConnectionUnixProcessID"))
                       << application.service);
        if (owner.isValid() && owner.value() == pid)
            m_application = application;
    }
}

AtSpiClient::~AtSpiClient()
{
    QDBusConnection::disconnectFromBus(m_bus.name());
}

void AtSpiClient::listen()
{
    m_bus.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"), QString(), this,
                  SLOT(received(QDBusMessage)));
    for (const char* event : {"object:property-change:accessible-name", "object:text-changed",
                              "object:state-changed", "object:children-changed"}) {
        m_bus.call(QDBusMessage::createMethodCall(kRegistry, QStringLiteral("/org/a11y/atspi/registry"),
                                                  kRegistry, QStringLiteral("RegisterEvent"))
                   << QString::fromLatin1(event) << QStringList() << QString()); // from every application
    }
    // The bridge asks the registry again when told of a new listener.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
}

QDBusMessage AtSpiClient::call(const Node& node, const QString& interface, const QString& method,
                               const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(node.service, node.path.path(), interface, method);
    message.setArguments(arguments);
    return m_bus.call(message, QDBus::BlockWithGui, 5000);
}

QVariant AtSpiClient::property(const Node& node, const QString& interface, const QString& name)
{
    const QDBusMessage reply = call(node, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("Get"), {interface, name});
    return reply.arguments().isEmpty() ? QVariant()
                                       : reply.arguments().constFirst().value<QDBusVariant>().variant();
}

QString AtSpiClient::name(const Node& node)
{
    return property(node, kAccessible, QStringLiteral("Name")).toString();
}

QString AtSpiClient::roleName(const Node& node)
{
    const QDBusReply<QString> role = call(node, kAccessible, QStringLiteral("GetRoleName"));
    return role.isValid() ? role.value() : QString();
}

QList<AtSpiClient::Node> AtSpiClient::children(const Node& node)
{
    return references(call(node, kAccessible, QStringLiteral("GetChildren")));
}

QStringList AtSpiClient::states(const Node& node)
{
    const QDBusMessage reply = call(node, kAccessible, QStringLiteral("GetState"));
    if (reply.arguments().isEmpty())
        return {};
    const auto words = qdbus_cast<QList<uint>>(reply.arguments().constFirst());
    QStringList names;
    for (const auto& [state, bit] : kStates)
        if (bit / 32 < words.size() && (words.at(bit / 32) >> (bit % 32)) & 1U)
            names << QString::fromLatin1(state);
    return names;
}

QStringList AtSpiClient::actions(const Node& node)
{
    const QString action = QStringLiteral("org.a11y.atspi.Action");
    const int n = property(node, action, QStringLiteral("NActions")).toInt();
    QStringList names;
    for (int i = 0; i < n; ++i) {
        const QDBusReply<QString> actionName = call(node, action, QStringLiteral("GetName"), {i});
        names << (actionName.isValid() ? actionName.value() : QString());
    }
    return names;
}

bool AtSpiClient::doAction(const Node& node, const QString& action)
{
    const auto index = actions(node).indexOf(action);
    if (index < 0)
        return false;
    const QDBusReply<bool> done =
        call(node, QStringLiteral("org.a11y.atspi.Action"), QStringLiteral("DoAction"), {int(index)});
    return done.isValid() && done.value();
}

std::optional<AtSpiClient::Node> AtSpiClient::find(const QString& wanted, const QString& role)
{
    return findIf(
        [&](const Node& node) { return name(node) == wanted && (role.isEmpty() || roleName(node) == role); });
}

std::optional<AtSpiClient::Node> AtSpiClient::findIf(const std::function<bool(const Node&)>& match)
{
    return m_application ? search(*m_application, match, 0) : std::nullopt;
}

std::optional<AtSpiClient::Node> AtSpiClient::search(const Node& from,
                                                     const std::function<bool(const Node&)>& match, int depth)
{
    if (depth > 40)
        return std::nullopt;
    for (const Node& child : children(from)) {
        if (match(child))
            return child;
        if (auto found = search(child, match, depth + 1))
            return found;
    }
    return std::nullopt;
}

void AtSpiClient::received(const QDBusMessage& message)
{
    const QVariantList arguments = message.arguments();
    m_events << Event{message.member() + u':' +
                          (arguments.isEmpty() ? QString() : arguments.constFirst().toString()),
                      message.path()};
}

} // namespace quorva::uitest
