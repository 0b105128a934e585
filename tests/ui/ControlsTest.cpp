// Each control of the window calls its operation, as a person uses it. The "Scan now" command
// (Ctrl+R) is enabled exactly when a scan may start; that it starts a new cycle while a failure
// is shown, the failure alert's test shows.
#include "SqliteFileObserver.h"
#include "UiHarness.h"
#include "state/LoginItem.h"

namespace quorva::uitest {
namespace {

TEST(Controls, DisconnectAsksFirstAndLeavesLaunchAtLoginReachableWhichSaysWhenItIsRefused)
{
    UiHarness ui;
    ui.launch();
    ui.pair();
    ui.click("launchAtLoginSwitch");
    ASSERT_TRUE(ui.state().launchesAtLogin());

    // By keyboard: the ⋮ menu, its item, then the question, whose default is to keep the pairing.
    const auto askToDisconnect = [&] {
        ASSERT_TRUE(ui.tabTo("headerMenuButton"));
        ui.press(Qt::Key_Space);
        ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("headerMenu"); }));
        ui.press(Qt::Key_Down);
        ui.press(Qt::Key_Return);
        ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("disconnectConfirmation"); }));
    };
    askToDisconnect();
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return !ui.shown("disconnectConfirmation"); }));
    EXPECT_TRUE(ui.state().hasToken()) << "Return keeps the pairing";

    askToDisconnect();
    ASSERT_TRUE(ui.tabTo("disconnectConfirmationButton"));
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() == Phase::needsPairing(); }));
    EXPECT_FALSE(ui.shown("headerMenuButton"));

    // A parent who disconnected can still stop Bridge starting at login.
    ui.click("launchAtLoginSwitch");
    EXPECT_FALSE(ui.state().launchesAtLogin());

    const auto folder = LoginItem::defaultAutostartFolder();
    std::filesystem::remove_all(folder);
    QFile blocker(QString::fromStdString(folder.string()));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    ui.click("launchAtLoginSwitch");
    EXPECT_FALSE(ui.find("launchAtLoginSwitch")->property("checked").toBool());
}

// The menu item and its shortcut agree, and follow canScan.
bool commandEnabled(const UiHarness& ui)
{
    EXPECT_EQ(ui.enabled("scanNowMenuItem"), ui.enabled("scanNowShortcut"));
    EXPECT_EQ(ui.enabled("scanNowMenuItem"), ui.enabled("scanNowAction"));
    return ui.enabled("scanNowMenuItem");
}

// The backup on a slow disk: while it is read, the window still answers a person.
TEST(ScanNowCommand, DoesNothingWhenNotPairedOrWhileScanningAndTheWindowAnswersMeanwhile)
{
    UiHarness ui;
    ui.launch();
    EXPECT_FALSE(commandEnabled(ui));

    ui.pair();
    ui.chooseBackupFolder(ui.backup("backups", {.candidates = 400, .benign = 2000}));
    ASSERT_TRUE(commandEnabled(ui));
    test::SqliteFileObserver::install().setReadDelay(std::chrono::milliseconds(20));
    ui.press(Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(ui.state().phase(), Phase::scanning());
    EXPECT_FALSE(commandEnabled(ui));
    ui.press(Qt::Key_R, Qt::ControlModifier); // ignored: one cycle at a time
    ui.click("headerMenuButton");
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.shown("headerMenu"); }));
    EXPECT_EQ(ui.state().phase(), Phase::scanning()) << "the menu opened while the backup was read";
    ui.press(Qt::Key_Escape);
    test::SqliteFileObserver::install().setReadDelay({});
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));
    EXPECT_EQ(ui.state().phase(), Phase::ready()) << ui.state().phase().failureText().toStdString();
    EXPECT_EQ(ui.countReceived("devices"), 1) << "exactly one cycle registered the device";
    EXPECT_TRUE(commandEnabled(ui));
}

} // namespace
} // namespace quorva::uitest
