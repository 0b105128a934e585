#pragma once

#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>

#include <vector>

class QAction;

namespace quorva {

// One entry of a menu as com.canonical.dbusmenu sends it, with its entries below.
struct DBusMenuLayout {
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayout> children;
};

struct DBusMenuItemProperties {
    int id = 0;
    QVariantMap properties;
};

// A flat menu of actions for a tray item, over com.canonical.dbusmenu, so the desktop's panel
// draws it in its own style (and on Wayland, where we may not place a popup ourselves). A null
// action is a separator. The actions' text and enabled state are read at each request.
class DBusMenu : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    // clang-format off
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)
    // clang-format on

public:
    explicit DBusMenu(std::vector<QAction*> actions, QObject* parent = nullptr);

    [[nodiscard]] uint version() const { return 3; }
    [[nodiscard]] QString textDirection() const;
    [[nodiscard]] QString status() const { return QStringLiteral("normal"); }
    [[nodiscard]] QStringList iconThemePath() const { return {}; }

public slots:
    // The bus finds the types by the names written here: in full.
    uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                   quorva::DBusMenuLayout& layout);
    QList<quorva::DBusMenuItemProperties> GetGroupProperties(const QList<int>& ids,
                                                             const QStringList& propertyNames);
    QDBusVariant GetProperty(int id, const QString& name);
    void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
    bool AboutToShow(int id);

signals:
    void LayoutUpdated(uint revision, int parent);

private:
    [[nodiscard]] QVariantMap propertiesOf(int id) const;
    void changed();

    std::vector<QPointer<QAction>> m_actions; // entry i has the id i + 1; the root is 0
    uint m_revision = 1;
};

void registerDBusMenuTypes();

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayout& layout);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayout& layout);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemProperties& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemProperties& item);

} // namespace quorva

Q_DECLARE_METATYPE(quorva::DBusMenuLayout)
Q_DECLARE_METATYPE(quorva::DBusMenuItemProperties)
