#include "SingleInstance.h"

#include <QLocalSocket>
#include <QStandardPaths>

namespace quorva {

namespace {

constexpr int connectTimeoutMs = 500;
const QByteArray activateMessage = QByteArrayLiteral("activate\n");

} // namespace

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), m_name(std::move(name))
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(activateMessage.trimmed()))
                    emit activationRequested();
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool SingleInstance::activateRunningInstance() const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    socket.write(activateMessage);
    return socket.waitForBytesWritten(connectTimeoutMs);
}

bool SingleInstance::listen()
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(m_name))
        return true;
    // Nobody answered a moment ago, so a name still taken was left by a process that died.
    QLocalServer::removeServer(m_name);
    return m_server.listen(m_name);
}

QString SingleInstance::defaultName()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QString name = QStringLiteral(QUORVA_APP_ID ".instance");
    return runtime.isEmpty() ? name : runtime + QLatin1Char('/') + name;
}

} // namespace quorva
