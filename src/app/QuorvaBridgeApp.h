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

// The application: builds the collaborators once, owns the one state object for the life of
// the process and the main window over it, and runs start() when the window's content is
// first shown.
class QuorvaBridgeApp : public QObject {
    Q_OBJECT

public:
    // Builds the state object around the given network session and platform services.
    using StateFactory =
        std::function<std::unique_ptr<BridgeAppState>(QNetworkAccessManager&, BridgePlatform)>;

    // The application's own collaborators, as at launch.
    [[nodiscard]] static StateFactory defaultStateFactory();

    explicit QuorvaBridgeApp(const StateFactory& makeState = defaultStateFactory(),
                             QObject* parent = nullptr);
    ~QuorvaBridgeApp() override;

    [[nodiscard]] BridgeAppState& state() { return *m_state; }
    // Null only when the window's QML failed to load.
    [[nodiscard]] QQuickWindow* window() const { return m_window->window(); }

    // Shows the window raised and active (it may have been closed to the background).
    void showWindow();

signals:
    // The start-up task's start() has returned.
    void startupFinished();

private:
    QCoro::Task<> runStartup();

    QNetworkAccessManager m_network;
    FolderChooser m_folderChooser;
    std::unique_ptr<BridgeAppState> m_state;
    std::unique_ptr<MainWindow> m_window;
    QMetaObject::Connection m_firstFrame;
    bool m_startRequested = false;
};

} // namespace quorva
