#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <set>
#include <vector>

class QLocalSocket;

namespace quorva::test {

// Enough of usbmuxd's plist protocol for libusbmuxd to list phones and follow them coming and
// going; every other request is refused, so lockdown and pairing fail as with a phone that
// refuses this computer.
class FakeUsbmuxd : public QObject {
public:
    FakeUsbmuxd();
    ~FakeUsbmuxd() override;

    // What libusbmuxd's USBMUXD_SOCKET_ADDRESS names.
    [[nodiscard]] QString address() const;

    enum class Lockdown {
        refuses, // the connection to the phone is refused at once
        silent,  // connected, and then the phone never says a word
    };
    void attach(const QString& udid, Lockdown lockdown = Lockdown::refuses);
    void detach(const QString& udid);
    // As when usbmuxd exits and comes back at the same address.
    void stop();
    bool start();

private:
    void serve(QLocalSocket* client);
    void answer(QLocalSocket* client, quint32 tag, const QByteArray& plist);
    [[nodiscard]] static QByteArray attachedMessage(const QString& udid, int id);

    QTemporaryDir m_dir;
    QLocalServer m_server;
    std::map<QString, int> m_devices;  // udid -> device id
    std::set<int> m_silent;            // device ids whose lockdown never answers
    std::set<QLocalSocket*> m_tunnels; // connected to a silent phone: read and dropped
    std::vector<QLocalSocket*> m_listeners;
    int m_nextId = 1;
};

} // namespace quorva::test
