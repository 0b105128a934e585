#pragma once

#include "BridgeFixture.h"
#include "app/QuorvaBridgeApp.h"

#include <QColor>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

namespace quorva::uitest {

using test::BackupContent;
using test::kAva;
using test::kBen;

// The application as it launches — the same composition, window and folder dialog — over the
// shared fixture's service and secret-store item. Edit `config` before launch().
class UiHarness : public test::BridgeFixture {
public:
    // Starts the service, builds the application, shows its window (none when started in the
    // background) and waits until its start-up task finished.
    void launch(QuorvaBridgeApp::Start start = QuorvaBridgeApp::Start::withWindow);
    [[nodiscard]] QuorvaBridgeApp& app() { return *m_app; }
    [[nodiscard]] BridgeAppState& state() { return m_app->state(); }
    [[nodiscard]] QQuickWindow& window() const { return *m_app->window(); }

    void pair() { BridgeFixture::pair(state()); }
    std::filesystem::path backup(const std::string& name = "backups", const BackupContent& content = {})
    {
        return writeBackup(path(name), content);
    }
    // A folder of three iPhones' backups: a parent's, backed up last, Ava's and Ben's. Only an id
    // of a phone's shape for Ava's reaches a backup tool.
    std::filesystem::path familyBackups(double bensAgeHours = 2, const std::string& avasId = "AVA")
    {
        const auto folder = path("family");
        writeBackup(folder / "PARENT", {.udid = "PARENT", .deviceName = "Dad's iPhone", .ageHours = 0.1});
        writeBackup(folder / avasId, {.udid = avasId, .deviceName = "Ava's iPhone", .candidates = 1});
        writeBackup(folder / "BEN", {.udid = "BEN", .deviceName = "Ben's iPhone", .ageHours = bensAgeHours});
        return folder;
    }
    // Runs the window's "Choose folder…" flow and answers the real dialog with `folder`.
    void chooseBackupFolder(const std::filesystem::path& folder);
    [[nodiscard]] QObject* openFolderDialog();
    // Answers the open folder dialog by keyboard alone, as on a desktop without a chooser of its
    // own: Ctrl+L edits the path to the folder that holds `folder` (when one is given), Return
    // goes there, where the list offers `folder`; Tab reaches the confirm button, Space presses it.
    void answerFolderDialogByKeyboard(const std::optional<std::filesystem::path>& folder);
    // What the parent does on the set-up card, without the card: this iPhone is this child's.
    void assign(const std::string& deviceId, const std::string& childId = kAva)
    {
        ASSERT_TRUE(state().assignDevice(deviceId, childId));
    }
    [[nodiscard]] static QString picker(const std::string& childId)
    {
        return QStringLiteral("devicePicker-") + QString::fromStdString(childId);
    }
    // Chooses the iPhone in the child's picker by keyboard: Tab to it, Space opens the list,
    // the arrows go to the iPhone, Return takes it.
    void pickByKeyboard(const std::string& childId, const QString& deviceId);
    void scanAndWait() { QCoro::waitFor(state().scanNow()); }
    long countReceived(const std::string& endpoint)
    {
        return std::ranges::count(test::endpoints(received()), endpoint);
    }

    // The object with this objectName anywhere in the window, popups included; null if none.
    [[nodiscard]] QObject* find(const QString& objectName) const;
    QQuickItem* item(const QString& name) const { return qobject_cast<QQuickItem*>(find(name)); }
    QString text(const QString& name) const
    {
        return find(name) ? find(name)->property("text").toString() : "";
    }
    bool enabled(const QString& name) const { return find(name) && find(name)->property("enabled").toBool(); }
    // Shown on screen: the item and all its ancestors visible, or the popup open.
    [[nodiscard]] bool shown(const QString& objectName) const;
    // How many pixels of the rendered `area` (in the scene, less `skip`) lie within `tolerance`
    // of `colour` (per channel).
    [[nodiscard]] int pixelsNear(const QRect& area, const QColor& colour, int tolerance = 30,
                                 const QRect& skip = {});
    [[nodiscard]] int pixelsNear(const QQuickItem* target, const QColor& colour, int tolerance = 30)
    {
        return pixelsNear(target->mapRectToScene(target->boundingRect()).toAlignedRect(), colour, tolerance);
    }
    // Wholly within the visible part of the scrolling column.
    [[nodiscard]] bool inView(const QQuickItem* target) const;
    [[nodiscard]] bool inView(const QString& objectName) const { return inView(item(objectName)); }
    // Closes the window as its close button does, and waits until its scene is gone.
    void closeWindow();

    // Keys go to whatever has the keyboard focus.
    void click(const QString& objectName);
    void type(const QString& text)
    {
        for (const QChar character : text)
            QTest::keyClick(&window(), character.toLatin1());
    }
    void press(Qt::Key key, Qt::KeyboardModifiers with = {}) { QTest::keyClick(&window(), key, with); }
    QString focused() const
    {
        return window().activeFocusItem() ? window().activeFocusItem()->objectName() : "";
    }
    bool tabTo(const QString& objectName);
    // With QUORVA_PICTURE_DIR set, saves the window there as <name>-<QUORVA_PICTURE_SUFFIX>.png
    // (scripts/screenshot --new-states makes the packaging's pictures of new states this way).
    void savePicture(const QString& name);

private:
    std::unique_ptr<QuorvaBridgeApp> m_app;
};

} // namespace quorva::uitest
