#include "KeyringControl.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace quorva::test {
namespace {

const QString kRoot = QStringLiteral("/org/freedesktop/secrets");
const QString kSecrets = QStringLiteral("org.freedesktop.Secret.Service");

QDBusMessage call(const QString& interface, const QString& method, const QVariantList& args)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.secrets"), kRoot, interface, method);
    message.setArguments(args);
    return QDBusConnection::sessionBus().call(message);
}

QString defaultCollection()
{
    const QDBusMessage reply = call(kSecrets, QStringLiteral("ReadAlias"), {QStringLiteral("default")});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return {};
    return qdbus_cast<QDBusObjectPath>(reply.arguments().value(0)).path();
}

} // namespace

int keyringItemCount(const QString& server, const QString& user)
{
    qDBusRegisterMetaType<QMap<QString, QString>>();
    const QDBusMessage reply =
        call(kSecrets, QStringLiteral("SearchItems"),
             {QVariant::fromValue(QMap<QString, QString>{{"user", user}, {"server", server}})});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return -1;
    return static_cast<int>(qdbus_cast<QList<QDBusObjectPath>>(reply.arguments().value(0)).size() +
                            qdbus_cast<QList<QDBusObjectPath>>(reply.arguments().value(1)).size());
}

bool lockKeyring()
{
    const QString collection = defaultCollection();
    const QDBusMessage reply =
        call(kSecrets, QStringLiteral("Lock"),
             {QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(collection)})});
    return !collection.isEmpty() && reply.type() == QDBusMessage::ReplyMessage;
}

bool unlockKeyring(const QString& password)
{
    const QString collection = defaultCollection();
    // A plain session carries the password unencrypted, which is all a test on a private bus needs.
    const QDBusMessage opened = call(kSecrets, QStringLiteral("OpenSession"),
                                     {QStringLiteral("plain"), QVariant::fromValue(QDBusVariant(QString()))});
    if (collection.isEmpty() || opened.type() != QDBusMessage::ReplyMessage)
        return false;
    // The secret: (session, parameters, value, content type).
    QDBusArgument master;
    master.beginStructure();
    master << qdbus_cast<QDBusObjectPath>(opened.arguments().value(1)) << QByteArray() << password.toUtf8()
           << QStringLiteral("text/plain");
    master.endStructure();
    const QDBusMessage reply =
        call(QStringLiteral("org.gnome.keyring.InternalUnsupportedGuiltRiddenInterface"),
             QStringLiteral("UnlockWithMasterPassword"),
             {QVariant::fromValue(QDBusObjectPath(collection)), QVariant::fromValue(master)});
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace quorva::test
