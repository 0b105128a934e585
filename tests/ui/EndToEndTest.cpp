// The application end to end, driven only through its window and only by keyboard, as a
// parent who uses no mouse: pair, choose the family's backup folder, say whose iPhone a backup
// is, scan, and read the outcome.
#include "UiHarness.h"

#include <QDir>
#include <QQmlProperty>

namespace quorva::uitest {
namespace {

TEST(EndToEnd, AParentWithOnlyAKeyboardPairsChoosesAndScans)
{
    UiHarness ui;
    ui.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    // The family's folder in the home folder: Dad's iPhone, Ava's and Ben's.
    const auto backups = std::filesystem::path(QDir::homePath().toStdString()) / "iPhone backups";
    ui.writeBackup(backups / "PARENT", {.udid = "PARENT", .deviceName = "Dad's iPhone", .candidates = 5});
    ui.writeBackup(backups / "AVA", {.udid = "AVA", .deviceName = "Ava's iPhone", .candidates = 1});
    ui.writeBackup(backups / "BEN",
                   {.udid = "BEN", .deviceName = "Ben's iPhone", .candidates = 2, .benign = 4});

    ui.launch();
    // The smallest window, where the lower controls start out of sight.
    ui.window().resize(ui.window().minimumSize());
    EXPECT_EQ(ui.focused(), "pairingCodeField") << "the code field is ready for typing";
    ui.type("abc-123");
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() == Phase::needsSetup(); }));

    // Set-up starts at the folder.
    EXPECT_EQ(ui.focused(), "chooseBackupButton");
    auto* ring = ui.item("chooseBackupButton")->findChild<QQuickItem*>("focusRing");
    ASSERT_NE(ring, nullptr);
    EXPECT_TRUE(ring->isVisible());
    EXPECT_GT(ui.pixelsNear(ring, QQmlProperty::read(ring, "border.color").value<QColor>()), 100);
    ui.press(Qt::Key_Return);
    EXPECT_EQ(ui.openFolderDialog()->property("currentFolder").toUrl(), QUrl::fromLocalFile(QDir::homePath()))
        << "nothing chosen yet: the dialog opens at home";
    ui.answerFolderDialogByKeyboard(backups);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().devices().size() == 3; }));
    EXPECT_EQ(ui.text("statusMessageText"), "Choose whose iPhone each backup is");
    EXPECT_FALSE(ui.enabled("scanButton")) << "nothing is read before the parent says whose it is";
    UiHarness::spin(std::chrono::milliseconds(50)); // a person's pause, in which the column lays out anew

    // Only Ben's iPhone is his; Ava's and Dad's stay unread.
    ui.pickByKeyboard(kBen, QStringLiteral("BEN"));
    ASSERT_TRUE(UiHarness::waitFor([&] { return !ui.state().deviceBindings().empty(); }));
    EXPECT_EQ(ui.state().deviceBindings(), (std::map<std::string, std::string>{{"BEN", kBen}}));
    EXPECT_EQ(ui.find(UiHarness::picker(kBen))->property("displayText").toString(), "Ben's iPhone");

    ASSERT_TRUE(ui.tabTo("scanButton"));
    EXPECT_TRUE(ui.inView("scanButton")) << "the view follows the focus";
    EXPECT_EQ(ui.text("scanButton"), "Scan now");
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.text("statusMessageText").startsWith("Scan complete."); }))
        << ui.state().phase().failureText().toStdString();
    EXPECT_TRUE(ui.text("statusDetailText").contains("2 new candidates"))
        << ui.text("statusDetailText").toStdString();

    // The switch at the bottom comes into view before Space turns it on.
    ASSERT_TRUE(ui.tabTo("launchAtLoginSwitch"));
    EXPECT_TRUE(ui.inView("launchAtLoginSwitch"));
    const auto* handle = ui.find("contentScrollBar")->property("contentItem").value<QQuickItem*>();
    EXPECT_GT(handle->opacity(), 0) << "the scroll bar shows that there is more";
    ui.press(Qt::Key_Space);
    EXPECT_TRUE(ui.state().launchesAtLogin());
}

} // namespace
} // namespace quorva::uitest
