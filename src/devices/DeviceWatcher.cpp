#include "devices/DeviceWatcher.h"

#include "platform/Published.h"
#include "platform/WorkerThread.h"

#include "platform/WhileAlive.h"

#include <libimobiledevice/libimobiledevice.h>
#include <libimobiledevice/lockdown.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace quorva {

namespace {

// The watcher that receives libimobiledevice's events: it has one callback for the whole process.
std::mutex g_watcherMutex;
DeviceWatcher* g_watcher = nullptr;

struct DeviceList {
    bool reachable = false;
    std::vector<QString> usb;
};

// Blocking: on a worker thread.
DeviceList listDevices()
{
    idevice_info_t* list = nullptr;
    int count = 0;
    // Fails only when usbmuxd cannot be reached; no phone is an empty list.
    if (idevice_get_device_list_extended(&list, &count) != IDEVICE_E_SUCCESS)
        return {};
    DeviceList devices{.reachable = true, .usb = {}};
    for (int i = 0; i < count; ++i) {
        // A phone seen over Wi-Fi is not one to back up: the backup needs the cable.
        if (list[i] && list[i]->udid && list[i]->conn_type == CONNECTION_USBMUXD)
            devices.usb.push_back(QString::fromUtf8(list[i]->udid));
    }
    idevice_device_list_extended_free(list);
    return devices;
}

struct Device {
    idevice_t handle = nullptr;
    explicit Device(const QByteArray& udid)
    {
        idevice_new_with_options(&handle, udid.constData(), IDEVICE_LOOKUP_USBMUX);
    }
    ~Device()
    {
        if (handle)
            idevice_free(handle);
    }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
};

struct Lockdown {
    lockdownd_client_t client = nullptr;
    ~Lockdown()
    {
        if (client)
            lockdownd_client_free(client);
    }
};

QString stringValue(lockdownd_client_t client, const char* key)
{
    plist_t node = nullptr;
    QString value;
    if (lockdownd_get_value(client, nullptr, key, &node) == LOCKDOWN_E_SUCCESS && node &&
        plist_get_node_type(node) == PLIST_STRING) {
        char* text = nullptr;
        plist_get_string_val(node, &text);
        if (text)
            value = QString::fromUtf8(text);
        free(text);
    }
    if (node)
        plist_free(node);
    return value;
}

struct Identity {
    QString name;
    QString iosVersion;
};

// Without a session: the name and the iOS version are answered to any host, and the phone shows
// nothing.
Identity readIdentity(const QByteArray& udid, const QByteArray& label)
{
    const Device device(udid);
    Lockdown lockdown;
    if (!device.handle ||
        lockdownd_client_new(device.handle, &lockdown.client, label.constData()) != LOCKDOWN_E_SUCCESS)
        return {};
    return {stringValue(lockdown.client, "DeviceName"), stringValue(lockdown.client, "ProductVersion")};
}

TrustOutcome::Result refusal(lockdownd_error_t error)
{
    using R = TrustOutcome::Result;
    switch (error) {
    case LOCKDOWN_E_PASSWORD_PROTECTED:
        return R::unlockFirst;
    case LOCKDOWN_E_USER_DENIED_PAIRING:
        return R::denied;
    case LOCKDOWN_E_PAIRING_DIALOG_RESPONSE_PENDING:
        return R::waitingForAnswer;
    case LOCKDOWN_E_INVALID_HOST_ID:
        return R::pairAgain;
    default:
        return R::failed;
    }
}

TrustOutcome pair(const QByteArray& udid, const QByteArray& label)
{
    const Device device(udid);
    if (!device.handle)
        return {.result = TrustOutcome::Result::notConnected, .willEncrypt = {}};
    Lockdown lockdown;
    const lockdownd_error_t error =
        lockdownd_client_new_with_handshake(device.handle, &lockdown.client, label.constData());
    if (error != LOCKDOWN_E_SUCCESS)
        return {.result = refusal(error), .willEncrypt = {}, .lockdownError = error};

    TrustOutcome outcome{.result = TrustOutcome::Result::trusted, .willEncrypt = {}};
    plist_t node = nullptr;
    // Readable only in a paired session. A phone that never turned encryption on has no value.
    if (lockdownd_get_value(lockdown.client, "com.apple.mobile.backup", "WillEncrypt", &node) ==
        LOCKDOWN_E_SUCCESS) {
        uint8_t on = 0;
        if (node && plist_get_node_type(node) == PLIST_BOOLEAN)
            plist_get_bool_val(node, &on);
        outcome.willEncrypt = on != 0;
    }
    if (node)
        plist_free(node);
    return outcome;
}

template <typename Devices> auto findPhone(Devices& devices, const QString& udid)
{
    return std::find_if(devices.begin(), devices.end(), [&](const ConnectedIPhone& phone) {
        return phone.udid.compare(udid, Qt::CaseInsensitive) == 0;
    });
}

} // namespace

// Runs on libusbmuxd's thread: copies the event and hands it to the main thread.
struct DeviceEventRelay {
    static void onEvent(const idevice_event_t* event, void* /*userData*/)
    {
        if (!event || !event->udid || event->conn_type != CONNECTION_USBMUXD)
            return;
        const QString udid = QString::fromUtf8(event->udid);
        const idevice_event_type kind = event->event;
        const std::lock_guard lock(g_watcherMutex);
        DeviceWatcher* watcher = g_watcher;
        if (!watcher)
            return;
        // Dropped by Qt if the watcher is gone by the time the main thread gets to it.
        QMetaObject::invokeMethod(
            watcher,
            [watcher, udid, kind] {
                if (kind == IDEVICE_DEVICE_ADD)
                    watcher->onAdded(udid);
                else if (kind == IDEVICE_DEVICE_REMOVE)
                    watcher->onRemoved(udid);
            },
            Qt::QueuedConnection);
    }
};

DeviceWatcher::DeviceWatcher(DeviceWatcherOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options))
{
    m_retry.setInterval(m_options.retryInterval);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (!m_subscribed)
            m_subscribed = idevice_event_subscribe(&DeviceEventRelay::onEvent, nullptr) == IDEVICE_E_SUCCESS;
        refreshList();
    });
}

DeviceWatcher::~DeviceWatcher()
{
    bool owner = false;
    {
        const std::lock_guard lock(g_watcherMutex);
        owner = g_watcher == this;
        if (owner)
            g_watcher = nullptr;
    }
    // Outside the lock: unsubscribing waits for libusbmuxd's thread, which may be in the callback.
    if (owner && m_subscribed)
        idevice_event_unsubscribe();
}

bool DeviceWatcher::start()
{
    {
        const std::lock_guard lock(g_watcherMutex);
        if (g_watcher)
            return g_watcher == this;
        g_watcher = this;
    }
    if (!m_options.serviceAddress.isEmpty())
        qputenv("USBMUXD_SOCKET_ADDRESS", m_options.serviceAddress.toUtf8());
    // libusbmuxd keeps trying to reach usbmuxd on its own thread, so this succeeds without one.
    m_subscribed = idevice_event_subscribe(&DeviceEventRelay::onEvent, nullptr) == IDEVICE_E_SUCCESS;
    refreshList();
    return true;
}

std::vector<ConnectedIPhone> DeviceWatcher::connected() const
{
    return m_devices;
}

std::optional<ConnectedIPhone> DeviceWatcher::device(const QString& udid) const
{
    const auto found = findPhone(m_devices, udid);
    if (found == m_devices.end())
        return std::nullopt;
    return *found;
}

std::vector<ConnectedIPhone>::iterator DeviceWatcher::find(const QString& udid)
{
    return findPhone(m_devices, udid);
}

QCoro::Task<> DeviceWatcher::refreshList()
{
    if (m_listing)
        co_return;
    m_listing = true;
    const quint64 eventsBefore = m_events;
    QCoro::Task<std::optional<DeviceList>> listing = onDeviceThread(&listDevices, m_options.answerWithin);
    const std::optional<std::optional<DeviceList>> listed = co_await whileAlive(this, std::move(listing));
    if (!listed)
        co_return;
    // A usbmuxd that does not answer sensibly in time is as good as none.
    const DeviceList list = listed->value_or(DeviceList{});
    m_listing = false;

    if (!list.reachable) {
        // Whatever was connected can no longer be reached through it.
        while (!m_devices.empty())
            onRemoved(m_devices.front().udid);
        setServiceState(DeviceServiceState::unavailable);
        m_retry.start();
        co_return;
    }
    m_retry.stop();
    setServiceState(DeviceServiceState::available);
    // Events that came while the list was read are newer than it.
    if (m_events != eventsBefore)
        co_return;
    std::vector<QString> gone;
    for (const ConnectedIPhone& phone : m_devices)
        if (std::find(list.usb.begin(), list.usb.end(), phone.udid) == list.usb.end())
            gone.push_back(phone.udid);
    for (const QString& udid : gone)
        removeDevice(udid);
    for (const QString& udid : list.usb)
        addDevice(udid);
}

void DeviceWatcher::onAdded(const QString& udid)
{
    ++m_events;
    m_retry.stop();
    setServiceState(DeviceServiceState::available);
    addDevice(udid);
}

void DeviceWatcher::onRemoved(const QString& udid)
{
    ++m_events;
    removeDevice(udid);
    // usbmuxd ending also reads as every phone leaving.
    refreshList();
}

void DeviceWatcher::addDevice(const QString& udid)
{
    if (device(udid))
        return;
    m_devices.push_back({.udid = udid, .name = {}, .iosVersion = {}, .notAnswering = false});
    emit deviceConnected(udid);
    if (m_options.identify)
        identify(udid);
}

void DeviceWatcher::removeDevice(const QString& udid)
{
    const auto found = find(udid);
    if (found == m_devices.end())
        return;
    m_devices.erase(found);
    emit deviceDisconnected(udid);
}

QCoro::Task<> DeviceWatcher::identify(QString udid)
{
    // Named, not a temporary inside co_await: g++ 12 destroys such a temporary twice.
    auto read = [udid = udid.toUtf8(), label = m_options.label.toUtf8()] {
        return readIdentity(udid, label);
    };
    QCoro::Task<std::optional<Identity>> reading = onDeviceThread(std::move(read), m_options.answerWithin);
    ++m_identifying;
    const std::optional<std::optional<Identity>> identified = co_await whileAlive(this, std::move(reading));
    if (!identified)
        co_return;
    --m_identifying;
    const auto found = find(udid);
    if (found == m_devices.end())
        co_return; // left meanwhile
    if (!*identified) {
        found->notAnswering = true;
        emit deviceNotAnswering(udid);
        co_return;
    }
    const Identity& identity = **identified;
    if (identity.name.isEmpty() && identity.iosVersion.isEmpty())
        co_return;
    found->name = identity.name;
    found->iosVersion = identity.iosVersion;
    emit deviceIdentified(udid);
}

QCoro::Task<TrustOutcome> DeviceWatcher::trust(QString udid)
{
    if (!device(udid))
        co_return TrustOutcome{.result = TrustOutcome::Result::notConnected, .willEncrypt = {}};
    auto ask = [udid = udid.toUtf8(), label = m_options.label.toUtf8()] { return pair(udid, label); };
    QCoro::Task<std::optional<TrustOutcome>> asking = onDeviceThread(std::move(ask), m_options.answerWithin);
    const std::optional<TrustOutcome> answered = co_await std::move(asking);
    co_return answered.value_or(TrustOutcome{.result = TrustOutcome::Result::failed, .willEncrypt = {}});
}

void DeviceWatcher::setServiceState(DeviceServiceState state)
{
    publish(this, m_serviceState, state, &DeviceWatcher::serviceStateChanged);
}

} // namespace quorva
