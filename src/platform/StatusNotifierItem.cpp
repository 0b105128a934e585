#include "platform/StatusNotifierItem.h"

#include "platform/DBusMenu.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusServiceWatcher>
#include <QImage>
#include <QtEndian>

namespace quorva {

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kMenuPath = QStringLiteral("/StatusNotifierItem/Menu");
// Themed, so it follows the desktop's style; every icon theme has it.
const QString kAttentionIcon = QStringLiteral("dialog-warning");

SniImages imagesOf(const QIcon& icon)
{
    SniImages images;
    for (const int size : {16, 22, 32, 48}) {
        const QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull())
            continue;
        SniImage sent{image.width(), image.height(), {}};
        sent.data.resize(static_cast<qsizetype>(image.sizeInBytes()));
        auto* out = reinterpret_cast<quint32*>(sent.data.data());
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const quint32*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                *out++ = qToBigEndian(line[x]);
        }
        images << sent;
    }
    return images;
}

} // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const SniImage& image)
{
    argument.beginStructure();
    argument << image.width << image.height << image.data;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SniImage& image)
{
    argument.beginStructure();
    argument >> image.width >> image.height >> image.data;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const SniToolTip& tip)
{
    argument.beginStructure();
    argument << tip.iconName << tip.images << tip.title << tip.text;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SniToolTip& tip)
{
    argument.beginStructure();
    argument >> tip.iconName >> tip.images >> tip.title >> tip.text;
    argument.endStructure();
    return argument;
}

StatusNotifierItem::StatusNotifierItem(QString id, QString iconName, QIcon fallback,
                                       std::vector<QAction*> menu, QObject* parent)
    : QObject(parent), m_bus(QDBusConnection::sessionBus()),
      m_service(QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid())),
      m_id(std::move(id)), m_iconName(std::move(iconName)), m_fallback(std::move(fallback)),
      m_menu(std::make_unique<DBusMenu>(std::move(menu)))
{
    qDBusRegisterMetaType<SniImage>();
    qDBusRegisterMetaType<SniImages>();
    qDBusRegisterMetaType<SniToolTip>();
    // A panel that restarts forgets its items: offer ours again.
    auto* watcher = new QDBusServiceWatcher(kWatcher, m_bus, QDBusServiceWatcher::WatchForRegistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &StatusNotifierItem::watcherAppeared);
}

StatusNotifierItem::~StatusNotifierItem()
{
    m_bus.unregisterObject(kItemPath);
    m_bus.unregisterObject(kMenuPath);
    m_bus.unregisterService(m_service);
}

bool StatusNotifierItem::isHostPresent(const QDBusConnection& bus)
{
    return bus.interface() && bus.interface()->isServiceRegistered(kWatcher).value();
}

bool StatusNotifierItem::registerWithHost()
{
    const auto exported = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                          QDBusConnection::ExportAllProperties;
    if (!m_bus.objectRegisteredAt(kItemPath)) {
        if (!m_bus.registerObject(kItemPath, this, exported) ||
            !m_bus.registerObject(kMenuPath, m_menu.get(), exported) || !m_bus.registerService(m_service))
            return false;
    }
    watcherAppeared();
    return true;
}

void StatusNotifierItem::watcherAppeared()
{
    if (!m_bus.objectRegisteredAt(kItemPath))
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kWatcher, QStringLiteral("/StatusNotifierWatcher"), kWatcher,
                                       QStringLiteral("RegisterStatusNotifierItem"));
    call.setArguments({m_service});
    m_bus.asyncCall(call);
}

void StatusNotifierItem::setTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    emit NewTitle();
}

void StatusNotifierItem::setNeedsAttention(bool needed)
{
    if (needed == m_needsAttention)
        return;
    m_needsAttention = needed;
    emit NewStatus(status());
    emit NewAttentionIcon();
}

void StatusNotifierItem::setToolTip(const QString& title, const QString& text)
{
    if (title == m_toolTipTitle && text == m_toolTipText)
        return;
    m_toolTipTitle = title;
    m_toolTipText = text;
    emit NewToolTip();
}

QString StatusNotifierItem::status() const
{
    return m_needsAttention ? QStringLiteral("NeedsAttention") : QStringLiteral("Active");
}

SniImages StatusNotifierItem::iconPixmap() const
{
    return imagesOf(QIcon::fromTheme(m_iconName, m_fallback));
}

QString StatusNotifierItem::attentionIconName() const
{
    return m_needsAttention ? kAttentionIcon : QString();
}

SniImages StatusNotifierItem::attentionIconPixmap() const
{
    return m_needsAttention ? imagesOf(QIcon::fromTheme(kAttentionIcon)) : SniImages{};
}

SniToolTip StatusNotifierItem::toolTip() const
{
    return {m_iconName, {}, m_toolTipTitle, m_toolTipText};
}

QDBusObjectPath StatusNotifierItem::menu() const
{
    return QDBusObjectPath(kMenuPath);
}

void StatusNotifierItem::Activate(int, int)
{
    // Not from inside the bus's call: it shows a window.
    QMetaObject::invokeMethod(this, &StatusNotifierItem::activated, Qt::QueuedConnection);
}

void StatusNotifierItem::SecondaryActivate(int x, int y)
{
    Activate(x, y);
}

void StatusNotifierItem::ContextMenu(int, int)
{
    // The menu goes over com.canonical.dbusmenu; a host that asks for it this way gets the window.
}

void StatusNotifierItem::Scroll(int, const QString&) {}

} // namespace quorva
