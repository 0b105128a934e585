// The "Scan now" command (Ctrl+R): enabled exactly when a scan may start. (That it starts a
// new cycle while a failure is shown, the failure alert's test shows.)
#include "SqliteFileObserver.h"
#include "UiHarness.h"

namespace quorva::uitest {
namespace {

// The menu item and its shortcut agree, and follow canScan.
bool commandEnabled(const UiHarness& ui)
{
    EXPECT_EQ(ui.enabled("scanNowMenuItem"), ui.enabled("scanNowShortcut"));
    EXPECT_EQ(ui.enabled("scanNowMenuItem"), ui.enabled("scanNowAction"));
    return ui.enabled("scanNowMenuItem");
}

TEST(ScanNowCommand, DoesNothingWhenNotPairedOrWhileScanning)
{
    UiHarness ui;
    ui.launch();
    EXPECT_FALSE(commandEnabled(ui));
    ui.press(Qt::Key_R, Qt::ControlModifier);
    UiHarness::spin(std::chrono::milliseconds(200));
    EXPECT_EQ(ui.state().phase(), Phase::needsPairing());
    EXPECT_TRUE(ui.received().empty());

    ui.pair();
    ui.chooseBackupFolder(ui.backup());
    ASSERT_TRUE(commandEnabled(ui));
    ui.press(Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(ui.state().phase(), Phase::scanning());
    EXPECT_FALSE(commandEnabled(ui));
    ui.press(Qt::Key_R, Qt::ControlModifier); // ignored: one cycle at a time
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));
    EXPECT_EQ(ui.state().phase(), Phase::ready()) << ui.state().phase().failureText().toStdString();
    EXPECT_EQ(ui.countReceived("devices"), 1) << "exactly one cycle registered the device";
    EXPECT_TRUE(commandEnabled(ui));
}

// A backup on a slow disk: while it is read, the window still answers a person.
TEST(ScanNowCommand, TheWindowAnswersWhileABackupIsRead)
{
    UiHarness ui;
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(ui.backup("backups", {.candidates = 400, .benign = 2000}));
    test::SqliteFileObserver::install().setReadDelay(std::chrono::milliseconds(20));
    ui.press(Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(ui.state().phase(), Phase::scanning());
    ui.click("headerMenuButton");
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.shown("headerMenu"); }));
    EXPECT_EQ(ui.state().phase(), Phase::scanning()) << "the menu opened while the backup was read";
    ui.press(Qt::Key_Escape);
    test::SqliteFileObserver::install().setReadDelay({});
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));
    EXPECT_EQ(ui.state().phase(), Phase::ready()) << ui.state().phase().failureText().toStdString();
}

} // namespace
} // namespace quorva::uitest
