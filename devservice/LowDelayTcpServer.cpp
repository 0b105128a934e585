#include "LowDelayTcpServer.h"

#include <QTcpSocket>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace quorva::devservice {
namespace {

// Quick-ACK mode does not stick: the kernel leaves it again on its own, so it is re-armed
// whenever data arrives, which also sends an ACK that is still pending.
void acknowledgeAtOnce(qintptr descriptor)
{
#ifdef TCP_QUICKACK
    const int on = 1;
    ::setsockopt(static_cast<int>(descriptor), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
#else
    (void)descriptor;
#endif
}

} // namespace

void LowDelayTcpServer::incomingConnection(qintptr socketDescriptor)
{
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(socketDescriptor)) {
        delete socket;
        return;
    }
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    acknowledgeAtOnce(socketDescriptor);
    connect(socket, &QTcpSocket::readyRead, socket, [socket] { acknowledgeAtOnce(socket->socketDescriptor()); });
    addPendingConnection(socket);
}

} // namespace quorva::devservice
