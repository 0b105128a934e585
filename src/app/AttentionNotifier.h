#pragma once

#include <QDate>
#include <QObject>
#include <QSet>
#include <QString>

#include <map>
#include <string>

namespace quorva {

struct DeviceActivity;
class DesktopNotifications;
class QuorvaBridgeApp;

// Tells the parent, through the desktop's notifications, what needs them while no window shows
// it: a failed scan or backup, a child's backup that turned old, an iPhone that waits to be
// assigned. Each condition is told once, and again only after it cleared (an old backup at most
// once a day); one that arises while the window is open is seen there. Clicking a notification
// opens the window at its cause. Never anything of a message: only states, names and dates.
class AttentionNotifier : public QObject {
    Q_OBJECT

public:
    AttentionNotifier(QuorvaBridgeApp& app, DesktopNotifications& notifications, QObject* parent = nullptr);

    // The window closed on a desktop without a tray: once per run, that Bridge goes on.
    void tellKeepsRunning();

private:
    void failureRaised();
    void phaseChanged();
    void familyChanged();
    void backupEnded(const QString& deviceId, const DeviceActivity& ended);
    // Tells it unless the window shows it; either way it is told until clear() ends it.
    void raise(const QString& key, const QString& summary, const QString& body);
    void clear(const QString& key);
    void open(const QString& key);
    // Where the parent sees the iPhone's backups: its child's row.
    [[nodiscard]] QString childPickerOf(const QString& deviceId) const;
    [[nodiscard]] bool windowShown() const;

    QuorvaBridgeApp& m_app;
    DesktopNotifications& m_notifications;
    QSet<QString> m_raised;
    std::map<std::string, QDate> m_oldToldOn; // child to the day its old backup was last told
    bool m_toldKeepsRunning = false;
};

} // namespace quorva
