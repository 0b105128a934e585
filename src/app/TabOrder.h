#pragma once

#include <QObject>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

namespace quorva {

// The keyboard's order among sibling items, which follows their order as children: what QML
// in Qt 6.4 cannot change, since QQuickItem::stackBefore is not offered to it.
class TabOrder : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // Tab reaches `item` just before `sibling`; nothing when they are no siblings.
    Q_INVOKABLE void placeBefore(QQuickItem* item, QQuickItem* sibling) const
    {
        if (item && sibling && item != sibling && item->parentItem() == sibling->parentItem())
            item->stackBefore(sibling);
    }
};

} // namespace quorva
