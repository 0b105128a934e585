// Each control of the window calls its operation, as a person uses it.
#include "UiHarness.h"
#include "state/LoginItem.h"

namespace quorva::uitest {
namespace {

TEST(Controls, DisconnectAsksFirstAndLeavesLaunchAtLoginReachable)
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
    EXPECT_FALSE(ui.state().hasToken());
    EXPECT_TRUE(ui.shown("pairingCard"));
    EXPECT_FALSE(ui.shown("headerMenuButton"));

    // A parent who disconnected can still stop Bridge starting at login.
    ASSERT_TRUE(ui.shown("launchAtLoginSwitch"));
    EXPECT_TRUE(ui.find("launchAtLoginSwitch")->property("checked").toBool());
    ui.click("launchAtLoginSwitch");
    EXPECT_FALSE(ui.state().launchesAtLogin());
}

TEST(Controls, TheFolderDialogOpensAtTheLastChoiceAndCancellingKeepsTheBackup)
{
    UiHarness ui;
    ui.launch();
    ui.pair();
    EXPECT_TRUE(ui.shown("chooserMessageText"));
    const auto folder = ui.backup();
    ui.chooseBackupFolder(folder);
    ui.click("chooseBackupButton");
    QObject* dialog = ui.openFolderDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->property("currentFolder").toUrl().toLocalFile(),
              QString::fromStdString(folder.string()));
    ui.press(Qt::Key_Escape);
    EXPECT_TRUE(UiHarness::waitFor([&] { return !dialog->property("visible").toBool(); }));
    EXPECT_EQ(ui.text("backupDeviceName"), "Maya's iPhone") << "cancelling keeps the backup";
}

TEST(Controls, ARefusedLoginRegistrationLeavesTheSwitchOffAndSaysSo)
{
    UiHarness ui;
    ui.launch();
    ui.pair();
    const auto folder = LoginItem::defaultAutostartFolder();
    std::filesystem::remove_all(folder);
    QFile blocker(QString::fromStdString(folder.string()));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    ui.click("launchAtLoginSwitch");
    EXPECT_FALSE(ui.find("launchAtLoginSwitch")->property("checked").toBool());
    EXPECT_EQ(ui.state().phase().kind(), Phase::Kind::failed);
    EXPECT_TRUE(ui.shown("failureAlert"));
}

} // namespace
} // namespace quorva::uitest
