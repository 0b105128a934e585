#pragma once

#include <QAction>
#include <QObject>

#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace quorva {

class QuorvaBridgeApp;
class StatusNotifierItem;

// The application's icon in the desktop's tray with Open, Scan now and Quit, so a closed window
// leaves a visible way back, and which asks for the parent's attention while something needs
// them. Our own StatusNotifier item where the panel takes one; Qt's icon (XEmbed) on an older
// X11 tray; elsewhere the actions exist unseen.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    explicit TrayIcon(QuorvaBridgeApp& app, QObject* parent = nullptr);
    ~TrayIcon() override;

    // Puts the icon in the tray where the desktop has one. Qt asks the desktop only once per
    // process whether it has a StatusNotifier tray, so ask once the desktop is up. The XEmbed
    // icon needs a QApplication: its menu is a widget.
    void showWhereAvailable();
    [[nodiscard]] bool isShown() const { return m_item || m_icon; }

    [[nodiscard]] QAction& openAction() { return m_open; }
    // Enabled exactly when a scan may start.
    [[nodiscard]] QAction& scanNowAction() { return m_scanNow; }
    [[nodiscard]] QAction& quitAction() { return m_quit; }
    // The application's name over the state's status, so an old backup is seen without the window.
    [[nodiscard]] QString toolTip() const;
    // A failure or anything the status card lists for the parent to do.
    [[nodiscard]] bool needsAttention() const;

private:
    void refresh();

    QuorvaBridgeApp& m_app;
    QAction m_open;
    QAction m_scanNow;
    QAction m_quit;
    std::unique_ptr<StatusNotifierItem> m_item;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace quorva
