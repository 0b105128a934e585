// The "Scan now" command (Ctrl+R): enabled exactly when a scan may start.
#include "UiHarness.h"
#include "state/BridgeAppState.h"

#include <gtest/gtest.h>

namespace quorva::uitest {
namespace {

// The menu item and its shortcut agree, and follow canScan.
bool commandEnabled(const UiHarness& ui)
{
    const bool item = ui.find(QStringLiteral("scanNowMenuItem"))->property("enabled").toBool();
    const bool shortcut = ui.find(QStringLiteral("scanNowShortcut"))->property("enabled").toBool();
    EXPECT_EQ(item, shortcut);
    EXPECT_EQ(item, ui.find(QStringLiteral("scanNowAction"))->property("enabled").toBool());
    return item;
}

TEST(ScanNowCommand, DoesNothingWhenNotPairedOrWhileScanning)
{
    UiHarness ui;
    ui.launch();
    EXPECT_FALSE(commandEnabled(ui));
    EXPECT_EQ(ui.find("scanNowAction")->property("text").toString(), "Scan now");
    ui.pressScanNowShortcut();
    UiHarness::spin(std::chrono::milliseconds(200));
    EXPECT_EQ(ui.state().phase(), Phase::needsPairing());
    EXPECT_TRUE(ui.endpointsReceived().empty());

    ui.pair();
    ui.chooseBackupFolder(ui.writeBackup("backups"));
    ASSERT_TRUE(commandEnabled(ui));
    ui.pressScanNowShortcut();
    ASSERT_EQ(ui.state().phase(), Phase::scanning());
    EXPECT_FALSE(commandEnabled(ui));
    ui.pressScanNowShortcut(); // ignored: one cycle at a time
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));
    EXPECT_EQ(ui.state().phase(), Phase::ready()) << ui.state().phase().failureText().toStdString();
    EXPECT_EQ(ui.countReceived("devices"), 1) << "exactly one cycle registered the device";
    EXPECT_TRUE(commandEnabled(ui));
}

TEST(ScanNowCommand, StartsANewCycleAfterAFailedScan)
{
    UiHarness ui;
    ui.launch();
    ui.pair();
    const auto folder = ui.writeBackup("backups");
    ui.chooseBackupFolder(folder);
    UiHarness::hideManifest(folder, true);
    ui.scanAndWait();
    ASSERT_EQ(ui.state().phase().kind(), Phase::Kind::failed);
    ASSERT_TRUE(ui.shown("failureAlert"));
    EXPECT_TRUE(commandEnabled(ui)) << "a failure does not block scanning";

    // The command works while the alert is up.
    UiHarness::hideManifest(folder, false);
    const int registrations = ui.countReceived("devices");
    ui.pressScanNowShortcut();
    EXPECT_EQ(ui.state().phase(), Phase::scanning());
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));
    EXPECT_EQ(ui.state().phase(), Phase::ready());
    EXPECT_TRUE(ui.text("statusMessageText").startsWith("Scan complete."));
    EXPECT_EQ(ui.countReceived("devices"), registrations + 1);
}

} // namespace
} // namespace quorva::uitest
