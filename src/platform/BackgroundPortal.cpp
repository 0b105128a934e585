#include "platform/BackgroundPortal.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

namespace quorva {

void requestRunningInBackground(const QString& reason)
{
    const QString portal = QStringLiteral("org.freedesktop.portal.Desktop");
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Only a portal that runs already: starting one for this would cost more than it gives.
    if (!bus.interface() || !bus.interface()->isServiceRegistered(portal).value())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        portal, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Background"), QStringLiteral("RequestBackground"));
    // No autostart: launch at login is the parent's own choice, made in the window.
    call.setArguments(
        {QString(), QVariantMap{{QStringLiteral("reason"), reason}, {QStringLiteral("autostart"), false}}});
    bus.asyncCall(call);
}

} // namespace quorva
