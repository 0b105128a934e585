#pragma once

#include <QQmlApplicationEngine>

#include <memory>

class QQuickWindow;

namespace quorva {

class BridgeAppState;
class FolderChooser;

// The main window over one state object: loads the QML scene and hands it the state and the
// folder chooser. The window is created hidden; show it with QWindow::show().
class MainWindow {
public:
    MainWindow(BridgeAppState& state, FolderChooser& chooser);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Null only when the QML failed to load, which the engine has already reported.
    [[nodiscard]] QQuickWindow* window() const { return m_window; }
    // Gives the item of this name the keyboard focus (the content scrolls to it), once it exists
    // (a new window builds its rows from the state first).
    void reveal(const QString& objectName, int attempts = 40);

private:
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    QQuickWindow* m_window = nullptr;
};

} // namespace quorva
