#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QAction;

namespace quorva {

class DBusMenu;

// An image as the StatusNotifier protocol sends it: ARGB32 in network byte order.
struct SniImage {
    int width = 0;
    int height = 0;
    QByteArray data;
};
using SniImages = QList<SniImage>;

struct SniToolTip {
    QString iconName;
    SniImages images;
    QString title;
    QString text;
};

// Our item in the desktop's tray over the StatusNotifier protocol, registered with the panel's
// StatusNotifierWatcher. Unlike Qt's own tray icon it can say that something needs the parent
// (Status NeedsAttention with its own icon) and carries our title, id and themed icon name.
class StatusNotifierItem : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    // clang-format off
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconName READ iconName)
    Q_PROPERTY(quorva::SniImages IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ overlayIconName)
    Q_PROPERTY(quorva::SniImages OverlayIconPixmap READ overlayIconPixmap)
    Q_PROPERTY(QString AttentionIconName READ attentionIconName)
    Q_PROPERTY(quorva::SniImages AttentionIconPixmap READ attentionIconPixmap)
    Q_PROPERTY(quorva::SniToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
    // clang-format on

public:
    // The icons come from the theme by name; `fallback` draws them where the theme lacks them.
    StatusNotifierItem(QString id, QString iconName, QIcon fallback, std::vector<QAction*> menu,
                       QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    // Whether the desktop has a tray that takes such items.
    [[nodiscard]] static bool isHostPresent(const QDBusConnection& bus = QDBusConnection::sessionBus());
    // Offers the item to the watcher; false when the bus refused it.
    bool registerWithHost();

    void setTitle(const QString& title);
    void setNeedsAttention(bool needed);
    void setToolTip(const QString& title, const QString& text);

    [[nodiscard]] QString category() const { return QStringLiteral("ApplicationStatus"); }
    [[nodiscard]] QString id() const { return m_id; }
    [[nodiscard]] QString title() const { return m_title; }
    [[nodiscard]] QString status() const;
    [[nodiscard]] int windowId() const { return 0; }
    [[nodiscard]] QString iconName() const { return m_iconName; }
    [[nodiscard]] SniImages iconPixmap() const;
    [[nodiscard]] QString overlayIconName() const { return {}; }
    [[nodiscard]] SniImages overlayIconPixmap() const { return {}; }
    [[nodiscard]] QString attentionIconName() const;
    [[nodiscard]] SniImages attentionIconPixmap() const;
    [[nodiscard]] SniToolTip toolTip() const;
    [[nodiscard]] bool itemIsMenu() const { return false; }
    [[nodiscard]] QDBusObjectPath menu() const;

public slots:
    void Activate(int x, int y);
    void SecondaryActivate(int x, int y);
    void ContextMenu(int x, int y);
    void Scroll(int delta, const QString& orientation);

signals:
    // The parent clicked the item.
    void activated();

    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString& status);

private:
    void watcherAppeared();

    QDBusConnection m_bus;
    QString m_service;
    QString m_id;
    QString m_iconName;
    QIcon m_fallback;
    QString m_title;
    bool m_needsAttention = false;
    QString m_toolTipTitle;
    QString m_toolTipText;
    std::unique_ptr<DBusMenu> m_menu;
};

QDBusArgument& operator<<(QDBusArgument& argument, const SniImage& image);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniImage& image);
QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& tip);

} // namespace quorva

Q_DECLARE_METATYPE(quorva::SniImage)
Q_DECLARE_METATYPE(quorva::SniToolTip)
