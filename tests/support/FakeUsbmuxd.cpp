#include "FakeUsbmuxd.h"

#include <QLocalSocket>
#include <QRegularExpression>
#include <QtEndian>

#include <algorithm>

namespace quorva::test {

namespace {

constexpr quint32 kPlistMessage = 8;
constexpr int kHeaderSize = 16;

QByteArray plist(const QByteArray& dictBody)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\"><dict>" +
           dictBody + "</dict></plist>\n";
}

QByteArray key(const char* name)
{
    return QByteArray("<key>") + name + "</key>";
}
QByteArray integer(int value)
{
    return "<integer>" + QByteArray::number(value) + "</integer>";
}
QByteArray string(const QString& value)
{
    return "<string>" + value.toHtmlEscaped().toUtf8() + "</string>";
}

QByteArray result(int number)
{
    return plist(key("MessageType") + string("Result") + key("Number") + integer(number));
}

} // namespace

FakeUsbmuxd::FakeUsbmuxd()
{
    start();
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server.nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, this, [this, client] { serve(client); });
            connect(client, &QLocalSocket::disconnected, this, [this, client] {
                std::erase(m_listeners, client);
                m_tunnels.erase(client);
                client->deleteLater();
            });
        }
    });
}

FakeUsbmuxd::~FakeUsbmuxd()
{
    stop();
}

QString FakeUsbmuxd::address() const
{
    return QStringLiteral("UNIX:") + m_dir.filePath(QStringLiteral("usbmuxd"));
}

QByteArray FakeUsbmuxd::attachedMessage(const QString& udid, int id)
{
    return key("DeviceID") + integer(id) + key("MessageType") + string("Attached") + key("Properties") +
           "<dict>" + key("ConnectionType") + string("USB") + key("DeviceID") + integer(id) +
           key("SerialNumber") + string(udid) + key("ConnectionSpeed") + integer(480000000) +
           key("LocationID") + integer(0) + key("ProductID") + integer(0x12a8) + "</dict>";
}

void FakeUsbmuxd::attach(const QString& udid, Lockdown lockdown)
{
    const int id = m_devices[udid] = m_nextId++;
    if (lockdown == Lockdown::silent)
        m_silent.insert(id);
    for (QLocalSocket* listener : m_listeners)
        answer(listener, 0, plist(attachedMessage(udid, id)));
}

void FakeUsbmuxd::detach(const QString& udid)
{
    const int id = m_devices.at(udid);
    m_devices.erase(udid);
    for (QLocalSocket* listener : m_listeners)
        answer(listener, 0, plist(key("DeviceID") + integer(id) + key("MessageType") + string("Detached")));
}

bool FakeUsbmuxd::start()
{
    return m_server.isListening() || m_server.listen(m_dir.filePath(QStringLiteral("usbmuxd")));
}

void FakeUsbmuxd::stop()
{
    m_server.close();
    for (QLocalSocket* client : m_server.findChildren<QLocalSocket*>())
        client->abort();
    m_listeners.clear();
    m_tunnels.clear();
}

void FakeUsbmuxd::answer(QLocalSocket* client, quint32 tag, const QByteArray& body)
{
    QByteArray header(kHeaderSize, '\0');
    qToLittleEndian<quint32>(quint32(kHeaderSize + body.size()), header.data());
    qToLittleEndian<quint32>(1, header.data() + 4);
    qToLittleEndian<quint32>(kPlistMessage, header.data() + 8);
    qToLittleEndian<quint32>(tag, header.data() + 12);
    client->write(header + body);
    client->flush();
}

void FakeUsbmuxd::serve(QLocalSocket* client)
{
    static const QRegularExpression messageType(
        QStringLiteral("<key>MessageType</key>\\s*<string>([^<]*)</string>"));
    static const QRegularExpression deviceId(
        QStringLiteral("<key>DeviceID</key>\\s*<integer>(\\d+)</integer>"));
    if (m_tunnels.contains(client)) {
        client->readAll();
        return;
    }
    while (client->bytesAvailable() >= kHeaderSize) {
        const QByteArray header = client->peek(kHeaderSize);
        const quint32 length = qFromLittleEndian<quint32>(header.constData());
        const quint32 tag = qFromLittleEndian<quint32>(header.constData() + 12);
        if (client->bytesAvailable() < length)
            return;
        const QByteArray message = client->read(length).mid(kHeaderSize);
        const QString type = messageType.match(QString::fromUtf8(message)).captured(1);
        if (type == QLatin1String("ListDevices")) {
            QByteArray list;
            for (const auto& [udid, id] : m_devices)
                list += "<dict>" + attachedMessage(udid, id) + "</dict>";
            answer(client, tag, plist(key("DeviceList") + "<array>" + list + "</array>"));
        } else if (type == QLatin1String("Listen")) {
            answer(client, tag, result(0));
            m_listeners.push_back(client);
            for (const auto& [udid, id] : m_devices)
                answer(client, 0, plist(attachedMessage(udid, id)));
        } else if (type == QLatin1String("Connect") &&
                   m_silent.contains(deviceId.match(QString::fromUtf8(message)).captured(1).toInt())) {
            answer(client, tag, result(0));
            m_tunnels.insert(client);
            client->readAll();
            return;
        } else {
            // Connect and the pair-record requests: refused, as by a phone that does not answer.
            answer(client, tag, result(3));
        }
    }
}

} // namespace quorva::test
