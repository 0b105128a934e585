#pragma once

#include "FolderChooser.h"
#include "MainWindow.h"
#include "state/BridgeAppState.h"
#include "state/BridgePlatform.h"

#include <QNetworkAccessManager>
#include <QObject>

#include <functional>
#include <memory>

class QQuickWindow;

namespace quorva {

class AttentionNotifier;
class DesktopNotifications;

// The application: builds the collaborators once and owns the one state object for the life
// of the process. The main window over it exists only while it is open: closing it releases
// its scene, and showing it again builds a new one. start() runs once per process, when the
// first window's content is first shown, or at once when started in the background.
class QuorvaBridgeApp : public QObject {
    Q_OBJECT

public:
    // Builds the state object around the given network session and platform services.
    using StateFactory =
        std::function<std::unique_ptr<BridgeAppState>(QNetworkAccessManager&, BridgePlatform)>;

    // withWindow: the window is built (hidden; show it with showWindow()) and start-up waits
    // for its first frame. inBackground: no window until asked for one; start-up runs at once.
    enum class Start { withWindow, inBackground };

    // The application's own collaborators, as at launch.
    [[nodiscard]] static StateFactory defaultStateFactory();

    explicit QuorvaBridgeApp(const StateFactory& makeState = defaultStateFactory(),
                             Start start = Start::withWindow, QObject* parent = nullptr);
    ~QuorvaBridgeApp() override;

    [[nodiscard]] BridgeAppState& state() { return *m_state; }
    // The open (or built but not yet shown) window; null when there is none or its QML failed
    // to load.
    [[nodiscard]] QQuickWindow* window() const { return m_window ? m_window->window() : nullptr; }

    // Shows the window raised and active, building it first when it was closed.
    void showWindow();
    // The same, with the item of this name in view and holding the keyboard focus, where there
    // is one: where a notification's cause is.
    void showWindowAt(const QString& objectName);

signals:
    // The start-up task's start() has returned.
    void startupFinished();
    // A window was built; a closed one was released.
    void windowCreated(QQuickWindow* window);
    void windowReleased();

private:
    void createWindow();
    void releaseWindowIfClosed();
    void requestStartup();
    QCoro::Task<> runStartup();

    QNetworkAccessManager m_network;
    FolderChooser m_folderChooser;
    std::unique_ptr<BridgeAppState> m_state;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<DesktopNotifications> m_notifications;
    std::unique_ptr<AttentionNotifier> m_notifier;
    QMetaObject::Connection m_firstFrame;
    bool m_startRequested = false;
};

} // namespace quorva
