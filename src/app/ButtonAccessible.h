#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleObject>

class QQuickItem;

namespace quorva {

// A push button or menu item of the window as screen readers and switch access get it. Qt 6.4 reports every
// Qt Quick item enabled, so a button that cannot act sounds like one that can, and its Press
// action answers without clicking; this one says when the button is disabled and clicks it.
// Everything else is as Qt Quick gives it: the names the QML sets, the same place in the tree.
class ButtonAccessible : public QAccessibleObject, public QAccessibleActionInterface {
public:
    ButtonAccessible(QQuickItem* button, QAccessible::Role role);

    // For QAccessible::installFactory: this interface for every push button and menu item.
    static QAccessibleInterface* create(const QString& className, QObject* object);

    [[nodiscard]] QWindow* window() const override;
    [[nodiscard]] QAccessibleInterface* parent() const override;
    [[nodiscard]] QAccessibleInterface* child(int) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    [[nodiscard]] QString text(QAccessible::Text kind) const override;
    [[nodiscard]] QRect rect() const override;
    [[nodiscard]] QAccessible::Role role() const override { return m_role; }
    [[nodiscard]] QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    [[nodiscard]] QStringList actionNames() const override;
    void doAction(const QString& action) override;
    [[nodiscard]] QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    [[nodiscard]] QQuickItem* button() const;

    QAccessible::Role m_role;
};

} // namespace quorva
