#include "KeyringControl.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace quorva::test::keyring {

// The Secret Service's secret: (session, parameters, value, content type).
struct Secret {
    QDBusObjectPath session;
    QByteArray parameters;
    QByteArray value;
    QString contentType;
};

QDBusArgument& operator<<(QDBusArgument& out, const Secret& secret)
{
    out.beginStructure();
    out << secret.session << secret.parameters << secret.value << secret.contentType;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, Secret& secret)
{
    in.beginStructure();
    in >> secret.session >> secret.parameters >> secret.value >> secret.contentType;
    in.endStructure();
    return in;
}

} // namespace quorva::test::keyring

Q_DECLARE_METATYPE(quorva::test::keyring::Secret)

namespace quorva::test {
namespace {

using keyring::Secret;

const QString kService = QStringLiteral("org.freedesktop.secrets");
const QString kRoot = QStringLiteral("/org/freedesktop/secrets");

QDBusMessage call(const QString& path, const QString& interface, const QString& method, const QVariantList& args)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, method);
    message.setArguments(args);
    return QDBusConnection::sessionBus().call(message);
}

QString defaultCollection()
{
    const QDBusMessage reply =
        call(kRoot, QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("ReadAlias"), {QStringLiteral("default")});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return {};
    return qdbus_cast<QDBusObjectPath>(reply.arguments().value(0)).path();
}

} // namespace

bool lockKeyring()
{
    const QString collection = defaultCollection();
    const QDBusMessage reply = call(kRoot, QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("Lock"),
                                    {QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(collection)})});
    return !collection.isEmpty() && reply.type() == QDBusMessage::ReplyMessage;
}

bool unlockKeyring(const QString& password)
{
    qDBusRegisterMetaType<Secret>();
    const QString collection = defaultCollection();
    // A plain session carries the password unencrypted, which is all a test on a private bus needs.
    const QDBusMessage opened =
        call(kRoot, QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("OpenSession"),
             {QStringLiteral("plain"), QVariant::fromValue(QDBusVariant(QString()))});
    if (collection.isEmpty() || opened.type() != QDBusMessage::ReplyMessage)
        return false;
    const Secret master{qdbus_cast<QDBusObjectPath>(opened.arguments().value(1)), {}, password.toUtf8(),
                        QStringLiteral("text/plain")};
    const QDBusMessage reply =
        call(kRoot, QStringLiteral("org.gnome.keyring.InternalUnsupportedGuiltRiddenInterface"),
             QStringLiteral("UnlockWithMasterPassword"),
             {QVariant::fromValue(QDBusObjectPath(collection)), QVariant::fromValue(master)});
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace quorva::test
