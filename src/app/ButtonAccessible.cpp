#include "ButtonAccessible.h"

#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWindow>

namespace quorva {

namespace {

// What the QML says through the Accessible attached property.
QVariant accessible(QObject* item, const char* property)
{
    return QQmlProperty::read(item, QStringLiteral("Accessible.") + QLatin1String(property),
                              qmlContext(item));
}

} // namespace

ButtonAccessible::ButtonAccessible(QQuickItem* button, QAccessible::Role role)
    : QAccessibleObject(button), m_role(role)
{
}

QAccessibleInterface* ButtonAccessible::create(const QString& className, QObject* object)
{
    // Asked once for each class of the object's chain: answer at the first, as Qt Quick would.
    // By class, not by the Accessible attached property: reading it here would create it, which
    // asks for this interface again.
    auto* item = qobject_cast<QQuickItem*>(object);
    if (!item || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (item->inherits("QQuickButton"))
        return new ButtonAccessible(item, QAccessible::Button);
    if (item->inherits("QQuickMenuItem"))
        return new ButtonAccessible(item, QAccessible::MenuItem);
    return nullptr;
}

QQuickItem* ButtonAccessible::button() const
{
    return static_cast<QQuickItem*>(object());
}

QWindow* ButtonAccessible::window() const
{
    return button()->window();
}

QAccessibleInterface* ButtonAccessible::parent() const
{
    // The nearest item Qt Quick offers, or the window for an item at the top of the scene.
    for (QQuickItem* above = button()->parentItem(); above; above = above->parentItem()) {
        if (button()->window() && above == button()->window()->contentItem())
            return QAccessible::queryAccessibleInterface(button()->window());
        if (QAccessibleInterface* offered = QAccessible::queryAccessibleInterface(above))
            return offered;
    }
    return nullptr;
}

QString ButtonAccessible::text(QAccessible::Text kind) const
{
    switch (kind) {
    case QAccessible::Name:
        return accessible(button(), "name").toString();
    case QAccessible::Description:
        return accessible(button(), "description").toString();
    default:
        return {};
    }
}

QRect ButtonAccessible::rect() const
{
    QQuickWindow* shownIn = button()->window();
    if (!shownIn || !button()->isVisible())
        return {};
    const QRectF inScene = button()->mapRectToScene(QRectF(0, 0, button()->width(), button()->height()));
    return QRect(shownIn->mapToGlobal(inScene.topLeft().toPoint()), inScene.size().toSize());
}

QAccessible::State ButtonAccessible::state() const
{
    QAccessible::State state;
    QQuickWindow* shownIn = button()->window();
    state.invisible =
        !shownIn || !shownIn->isVisible() || !button()->isVisible() || qFuzzyIsNull(button()->opacity());
    state.offscreen =
        shownIn && !QRect(QPoint(), shownIn->size())
                        .intersects(button()->mapRectToScene(button()->boundingRect()).toAlignedRect());
    state.focusable = button()->activeFocusOnTab();
    state.focused = button()->hasActiveFocus();
    state.pressed = button()->property("down").toBool();
    state.disabled = !button()->isEnabled();
    return state;
}

void* ButtonAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return QAccessibleObject::interface_cast(type);
}

QStringList ButtonAccessible::actionNames() const
{
    return {pressAction(), setFocusAction()};
}

void ButtonAccessible::doAction(const QString& action)
{
    if (action == setFocusAction())
        button()->forceActiveFocus(Qt::OtherFocusReason);
    if (action != pressAction() || !button()->isEnabled())
        return;
    // A control bound to an action runs it; a menu item is triggered, which closes its menu.
    auto* command = button()->property("action").value<QObject*>();
    if (command)
        QMetaObject::invokeMethod(command, "trigger", Q_ARG(QObject*, button()));
    if (m_role == QAccessible::MenuItem)
        QMetaObject::invokeMethod(button(), "triggered");
    else if (!command)
        QMetaObject::invokeMethod(button(), "clicked");
}

} // namespace quorva
