#include "LoopbackServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <stdexcept>

namespace quorva::test {

LoopbackServer::LoopbackServer()
{
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("the loopback server could not listen");
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_pending.erase(socket);
                socket->deleteLater();
            });
        }
    });
}

QUrl LoopbackServer::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void LoopbackServer::answer(int status, const QByteArray& body, const QByteArray& contentType)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + " Scripted Reason\r\n";
    if (!contentType.isEmpty())
        head += "Content-Type: " + contentType + "\r\n";
    answerRaw(head + "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
}

// Writes the rest at once, or a byte every `interval`; then closes.
void LoopbackServer::write(QTcpSocket* socket, QByteArray rest, std::chrono::milliseconds interval)
{
    if (rest.isEmpty() || socket->state() != QAbstractSocket::ConnectedState) {
        socket->disconnectFromHost();
        return;
    }
    const qsizetype now = interval.count() > 0 ? 1 : rest.size();
    socket->write(rest.left(now));
    QTimer::singleShot(interval, this, [this, alive = QPointer(socket), rest = rest.mid(now), interval] {
        if (alive)
            write(alive, rest, interval);
    });
}

void LoopbackServer::read(QTcpSocket* socket)
{
    QByteArray& buffer = m_pending[socket];
    buffer += socket->readAll();
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;

    RecordedRequest request;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.front().trimmed().split(' ');
    request.method = requestLine.value(0);
    request.target = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        // Keep trailing spaces: "Bearer " with an empty token must stay visible.
        QByteArray value = lines[i].mid(colon + 1);
        value.chop(value.endsWith('\r') ? 1 : 0);
        while (value.startsWith(' '))
            value.remove(0, 1);
        if (colon > 0)
            request.headers[lines[i].left(colon).trimmed().toLower()] = value;
    }
    const qsizetype length = request.header("content-length").toLongLong();
    if (buffer.size() < headEnd + 4 + length)
        return; // the body is still on its way
    request.body = buffer.mid(headEnd + 4, length);
    buffer.clear();
    m_requests.push_back(std::move(request));

    if (m_script.empty())
        answer(599, R"({"error":"no reply was scripted for this request"})");
    const Reply reply = m_script.front();
    m_script.pop_front();
    if (reply.bytes.isEmpty())
        return;
    const qsizetype bodyStart = reply.trickle.count() > 0 ? reply.bytes.indexOf("\r\n\r\n") + 4 : 0;
    socket->write(reply.bytes.left(bodyStart));
    write(socket, reply.bytes.mid(bodyStart), reply.trickle);
}

} // namespace quorva::test
