#include "platform/DBusMenu.h"

#include <QAction>
#include <QDBusMetaType>
#include <QGuiApplication>

namespace quorva {

void registerDBusMenuTypes()
{
    qDBusRegisterMetaType<DBusMenuLayout>();
    qDBusRegisterMetaType<DBusMenuItemProperties>();
    qDBusRegisterMetaType<QList<DBusMenuItemProperties>>();
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayout& layout)
{
    argument.beginStructure();
    argument << layout.id << layout.properties;
    argument.beginArray(qMetaTypeId<QDBusVariant>());
    for (const DBusMenuLayout& child : layout.children)
        argument << QDBusVariant(QVariant::fromValue(child));
    argument.endArray();
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayout& layout)
{
    argument.beginStructure();
    argument >> layout.id >> layout.properties;
    argument.beginArray();
    layout.children.clear();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        layout.children << qdbus_cast<DBusMenuLayout>(child.variant());
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemProperties& item)
{
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemProperties& item)
{
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.endStructure();
    return argument;
}

DBusMenu::DBusMenu(std::vector<QAction*> actions, QObject* parent) : QObject(parent)
{
    registerDBusMenuTypes();
    for (QAction* action : actions) {
        m_actions.emplace_back(action);
        if (action)
            connect(action, &QAction::changed, this, &DBusMenu::changed);
    }
}

QString DBusMenu::textDirection() const
{
    return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl")
                                                                 : QStringLiteral("ltr");
}

QVariantMap DBusMenu::propertiesOf(int id) const
{
    if (id == 0)
        return {{QStringLiteral("children-display"), QStringLiteral("submenu")}};
    const std::size_t index = static_cast<std::size_t>(id - 1);
    if (index >= m_actions.size())
        return {};
    const QAction* action = m_actions[index];
    if (!action)
        return {{QStringLiteral("type"), QStringLiteral("separator")}};
    return {{QStringLiteral("label"), action->text()},
            {QStringLiteral("enabled"), action->isEnabled()},
            {QStringLiteral("visible"), action->isVisible()}};
}

uint DBusMenu::GetLayout(int parentId, int, const QStringList&, quorva::DBusMenuLayout& layout)
{
    layout = {parentId, propertiesOf(parentId), {}};
    if (parentId == 0)
        for (int id = 1; id <= static_cast<int>(m_actions.size()); ++id)
            layout.children << DBusMenuLayout{id, propertiesOf(id), {}};
    return m_revision;
}

QList<quorva::DBusMenuItemProperties> DBusMenu::GetGroupProperties(const QList<int>& ids, const QStringList&)
{
    QList<DBusMenuItemProperties> items;
    for (const int id : ids)
        items << DBusMenuItemProperties{id, propertiesOf(id)};
    return items;
}

QDBusVariant DBusMenu::GetProperty(int id, const QString& name)
{
    return QDBusVariant(propertiesOf(id).value(name));
}

void DBusMenu::Event(int id, const QString& eventId, const QDBusVariant&, uint)
{
    const std::size_t index = static_cast<std::size_t>(id - 1);
    if (eventId != QStringLiteral("clicked") || id < 1 || index >= m_actions.size())
        return;
    // Not from inside the bus's call: an action may open a window or quit.
    if (QAction* action = m_actions[index]; action && action->isEnabled())
        QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
}

bool DBusMenu::AboutToShow(int)
{
    return false; // the layout is the same at every opening
}

void DBusMenu::changed()
{
    emit LayoutUpdated(++m_revision, 0);
}

} // namespace quorva
