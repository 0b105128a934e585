#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <vector>

class QLocalSocket;

namespace quorva::test {

// Enough of usbmuxd's plist protocol on a UNIX socket for libusbmuxd to list phones and follow
// them coming and going: ListDevices, Listen (then Attached and Detached), and a refused Connect,
// so that anything past the device list (lockdown, pairing) fails as with a phone that does not
// answer. Each message is a 16-byte little-endian header {length, version 1, type 8 = plist,
// tag} and an XML property list.
class FakeUsbmuxd : public QObject {
public:
    FakeUsbmuxd();
    ~FakeUsbmuxd() override;

    // What libusbmuxd's USBMUXD_SOCKET_ADDRESS names.
    [[nodiscard]] QString address() const;
    [[nodiscard]] bool isListening() const { return m_server.isListening(); }

    void attach(const QString& udid);
    void detach(const QString& udid);
    // Closes every connection and stops listening, as when usbmuxd exits; start() listens again
    // at the same address, as when it comes back.
    void stop();
    bool start();

private:
    void serve(QLocalSocket* client);
    void answer(QLocalSocket* client, quint32 tag, const QByteArray& plist);
    [[nodiscard]] static QByteArray attachedMessage(const QString& udid, int id);

    QTemporaryDir m_dir;
    QLocalServer m_server;
    std::map<QString, int> m_devices; // udid -> device id
    std::vector<QLocalSocket*> m_listeners;
    int m_nextId = 1;
};

} // namespace quorva::test
