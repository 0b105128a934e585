#include "stores/SecretServiceState.h"

#include <QCoroDBusPendingReply>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace quorva {
namespace {

const QString kService = QStringLiteral("org.freedesktop.secrets");

QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                  const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, method);
    message.setArguments(arguments);
    return message;
}

} // namespace

QCoro::Task<bool> secretStoreIsLocked()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        co_return false;
    QDBusPendingReply<QDBusObjectPath> alias = bus.asyncCall(
        call(QStringLiteral("/org/freedesktop/secrets"), QStringLiteral("org.freedesktop.Secret.Service"),
             QStringLiteral("ReadAlias"), {QStringLiteral("default")}));
    co_await alias;
    if (alias.isError() || alias.value().path() == QStringLiteral("/"))
        co_return false;
    QDBusPendingReply<QDBusVariant> locked = bus.asyncCall(
        call(alias.value().path(), QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
             {QStringLiteral("org.freedesktop.Secret.Collection"), QStringLiteral("Locked")}));
    co_await locked;
    co_return !locked.isError() && locked.value().variant().toBool();
}

} // namespace quorva
