#pragma once

#include "DevService.h"
#include "Printers.h"
#include "app/QuorvaBridgeApp.h"
#include "model/BridgeChild.h"

#include <QColor>
#include <QNetworkAccessManager>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QQuickItem;
class QQuickWindow;

namespace quorva::uitest {

inline const std::string kPairingCode = "QRV482";
inline const std::string kMaya = "child-maya";
inline const std::string kLeo = "child-leo";

// A backup a test asks for: how many incoming messages, risky or not, and how it is stored.
struct BackupOptions {
    std::string deviceName = "Maya's iPhone";
    std::string udid = "00008110-001A2B3C4D5E801E";
    int benign = 3;
    int risky = 0;
    bool encrypted = false;
    bool dated = true; // with "Last Backup Date" and a status date
};

// The application as it launches — the same composition, window and folder dialog — against
// the development service on a free loopback port, with its own secret-store item.
class UiHarness {
public:
    explicit UiHarness(std::vector<BridgeChild> children = {{kMaya, "Maya"}},
                       devservice::IngestFaults faults = {});
    ~UiHarness();

    // Builds the application, shows its window (none when started in the background) and
    // waits until its start-up task finished.
    void launch(QuorvaBridgeApp::Start start = QuorvaBridgeApp::Start::withWindow);
    [[nodiscard]] QuorvaBridgeApp& app() { return *m_app; }
    [[nodiscard]] BridgeAppState& state() { return m_app->state(); }
    [[nodiscard]] QQuickWindow& window();

    // ---- Driving the state through its real operations ------------------------------------
    void pair(); // with kPairingCode, waiting for the set-up sequence that follows
    // Runs the window's "Choose backup folder" flow and answers the real dialog with `folder`.
    void chooseBackupFolder(const std::filesystem::path& folder);
    // The folder dialog once it is open; null if it does not open.
    [[nodiscard]] QObject* openFolderDialog();
    void scanAndWait();

    // ---- Sample backups -------------------------------------------------------------------
    std::filesystem::path writeBackup(const std::string& folderName, const BackupOptions& options = {});
    // Hides or restores the manifest, so discovery finds no backup in the folder for a while.
    static void hideManifest(const std::filesystem::path& backup, bool hidden);
    [[nodiscard]] std::filesystem::path path(const std::string& name) const;

    // ---- What a person sees ---------------------------------------------------------------
    // The object with this objectName anywhere in the window, popups included; null if none.
    [[nodiscard]] QObject* find(const QString& objectName) const;
    [[nodiscard]] QQuickItem* item(const QString& objectName) const;
    [[nodiscard]] QString text(const QString& objectName) const;
    // Shown on screen: the item and all its ancestors visible, or the popup open.
    [[nodiscard]] bool shown(const QString& objectName) const;
    [[nodiscard]] bool enabled(const QString& objectName) const;
    // How many pixels of the rendered item lie within `tolerance` of `colour` (per channel).
    [[nodiscard]] int pixelsNear(const QString& objectName, const QColor& colour, int tolerance = 30);
    [[nodiscard]] int pixelsNear(const QQuickItem* target, const QColor& colour, int tolerance = 30);
    // Saves the window under the build folder's snapshots/ for a person to look at.
    void snapshot(const std::string& name);

    // ---- What a person does ---------------------------------------------------------------
    void click(const QString& objectName);
    void clickItem(QQuickItem* target);
    // Clicks the visible button showing this text, in the window or one of its popups.
    void clickText(const QString& text);
    void typeInto(const QString& objectName, const QString& text);
    // Keys go to whatever has the keyboard focus, as they do for a person.
    void type(const QString& text);
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The objectName of the item with the keyboard focus.
    [[nodiscard]] QString focused() const;
    // Presses Tab until the named item has the focus; false after a full round without it.
    bool tabTo(const QString& objectName);
    void pressScanNowShortcut();

    // ---- What the service received --------------------------------------------------------
    // Endpoint names without the common prefix ("redeem", "children", "devices" …), in order.
    [[nodiscard]] std::vector<std::string> endpointsReceived();
    [[nodiscard]] int countReceived(const std::string& endpoint);

    // Runs the event loop until `done` holds or `timeout` passes; returns whether it holds.
    static bool waitFor(const std::function<bool()>& done,
                        std::chrono::milliseconds timeout = std::chrono::seconds(15));
    static void spin(std::chrono::milliseconds duration);

private:
    void scrollIntoView(QQuickItem* target);

    QTemporaryDir m_dir;
    QNetworkAccessManager m_network;
    std::unique_ptr<devservice::DevService> m_service;
    std::unique_ptr<QuorvaBridgeApp> m_app;
    bool m_startupFinished = false;
};

} // namespace quorva::uitest
