#pragma once

#include <QCoroTask>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace quorva {

// An iPhone connected by USB, as usbmuxd announces it.
struct ConnectedIPhone {
    QString udid; // the backup folder's name
    // Read without pairing; empty until read, and when the phone did not answer.
    QString name;
    QString iosVersion;
    // Its lockdown took longer than DeviceWatcherOptions::answerWithin to answer: it hangs, and
    // unplugging it is what helps.
    bool notAnswering = false;

    friend bool operator==(const ConnectedIPhone&, const ConnectedIPhone&) = default;
};

enum class DeviceServiceState {
    notStarted,
    available,
    // No usbmuxd to ask: nothing is known about connected phones. Asked again now and then.
    unavailable,
};

// What asking a phone to trust this computer came to.
struct TrustOutcome {
    enum class Result {
        trusted,
        unlockFirst,      // the phone has a passcode and is locked: unlock it
        denied,           // the parent tapped Don't Trust
        waitingForAnswer, // "Trust this computer?" is on the phone's screen
        pairAgain,        // the phone no longer knows this computer's pairing
        notConnected,
        failed,
    };

    Result result = Result::failed;
    // With `trusted`: whether the phone encrypts its backups (Encrypt local backup), when it said.
    std::optional<bool> willEncrypt;
    int lockdownError = 0; // libimobiledevice's code, for logs

    friend bool operator==(const TrustOutcome&, const TrustOutcome&) = default;
};

struct DeviceWatcherOptions {
    // libusbmuxd's USBMUXD_SOCKET_ADDRESS ("UNIX:/path" or "host:port"); empty for the system's.
    // It is the process's environment, like the event subscription: one watcher per process.
    QString serviceAddress;
    // How often an unavailable usbmuxd is asked again.
    std::chrono::milliseconds retryInterval = std::chrono::seconds(5);
    // The name this computer gives when it talks to a phone.
    QString label = QStringLiteral("quorva-bridge");
    // How long one question to usbmuxd or a phone is waited for. A phone that hangs keeps the
    // library waiting far longer; its thread is left to it.
    std::chrono::milliseconds answerWithin = std::chrono::seconds(5);
    // Whether each connected phone is asked its name. A process that does not stay to back a
    // phone up leaves it alone: usbmuxd alone tells that it is connected.
    bool identify = true;
};

// Which iPhones are connected by USB now. libimobiledevice delivers its events on libusbmuxd's
// thread; they are handed to the main thread, where every signal is emitted. Reading a phone's
// name never pairs with it: only trust() puts "Trust this computer?" on its screen.
//
// libimobiledevice 1.3.0 has one event callback per process, so only one watcher may be started
// at a time; a second start() answers false.
class DeviceWatcher : public QObject {
    Q_OBJECT

public:
    explicit DeviceWatcher(DeviceWatcherOptions options = {}, QObject* parent = nullptr);
    ~DeviceWatcher() override;

    bool start();

    [[nodiscard]] DeviceServiceState serviceState() const { return m_serviceState; }
    // No connected phone is being asked its name: each has answered, refused or missed the deadline.
    [[nodiscard]] bool settled() const { return m_identifying == 0; }
    [[nodiscard]] std::chrono::milliseconds answerWithin() const { return m_options.answerWithin; }
    // In the order they were connected.
    [[nodiscard]] std::vector<ConnectedIPhone> connected() const;
    // Matched without regard to case: usbmuxd and a backup's Info.plist do not always agree.
    [[nodiscard]] std::optional<ConnectedIPhone> device(const QString& udid) const;

    // Pairs with the phone, which asks its user to trust this computer, then reads whether it
    // encrypts its backups. Never throws.
    QCoro::Task<TrustOutcome> trust(QString udid);

signals:
    void deviceConnected(const QString& udid);
    void deviceIdentified(const QString& udid); // its name and iOS version were read
    void deviceNotAnswering(const QString& udid);
    void deviceDisconnected(const QString& udid);
    void serviceStateChanged(quorva::DeviceServiceState state);

private:
    friend struct DeviceEventRelay;
    void onAdded(const QString& udid);
    void onRemoved(const QString& udid);
    void addDevice(const QString& udid);
    void removeDevice(const QString& udid);
    QCoro::Task<> refreshList();
    QCoro::Task<> identify(QString udid);
    void setServiceState(DeviceServiceState state);
    [[nodiscard]] std::vector<ConnectedIPhone>::iterator find(const QString& udid);

    DeviceWatcherOptions m_options;
    bool m_subscribed = false;
    DeviceServiceState m_serviceState = DeviceServiceState::notStarted;
    std::vector<ConnectedIPhone> m_devices;
    QTimer m_retry;
    bool m_listing = false;
    quint64 m_events = 0; // device events handled, to tell a list older than them
    int m_identifying = 0;
};

} // namespace quorva
