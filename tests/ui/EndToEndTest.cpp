// The application end to end, driven only through its window: pair, choose a child, choose
// the backup in the folder dialog, scan, and read the outcome.
#include "UiHarness.h"
#include "state/BridgeAppState.h"

#include <QDir>
#include <QQuickItem>

#include <gtest/gtest.h>

namespace quorva::uitest {
namespace {

TEST(EndToEnd, PairChooseScanThroughTheWindow)
{
    UiHarness ui({{kMaya, "Maya"}, {kLeo, "Leo"}});
    // Where the platform keeps device backups: the dialog opens there.
    const std::filesystem::path mobileSync = std::filesystem::path(QDir::homePath().toStdString()) /
                                             "Library/Application Support/MobileSync/Backup";
    const auto backup = std::filesystem::path(mobileSync / "00008110-001A2B3C4D5E801E");
    std::filesystem::create_directories(mobileSync);
    std::filesystem::rename(ui.writeBackup("staged", {.benign = 4, .risky = 2}), backup);

    ui.launch();
    ASSERT_TRUE(ui.shown("pairingCard"));
    ui.typeInto("pairingCodeField", "qrv-482");
    EXPECT_EQ(ui.state().pairingCode(), "qrv-482");
    ui.click("pairButton");
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() == Phase::needsSetup(); }))
        << ui.state().phase().failureText().toStdString();
    EXPECT_TRUE(ui.shown("setupCard"));
    EXPECT_TRUE(ui.state().pairingCode().isEmpty());
    EXPECT_EQ(ui.text("pairingCodeField"), "");

    ui.click("childPicker");
    ASSERT_TRUE(UiHarness::waitFor([&] {
        return ui.find("childPicker")->property("popup").value<QObject*>()->property("opened").toBool();
    }));
    ui.clickText("Leo");
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().selectedChildID() == kLeo; }));

    ui.click("chooseBackupButton");
    QObject* dialog = nullptr;
    ASSERT_TRUE(UiHarness::waitFor([&] {
        dialog = ui.find("backupFolderDialog");
        return dialog && dialog->property("visible").toBool();
    }));
    EXPECT_EQ(dialog->property("title").toString(), "Choose the iPhone backup folder");
    EXPECT_EQ(dialog->property("acceptLabel").toString(), "Choose Backup");
    EXPECT_EQ(dialog->property("currentFolder").toUrl(),
              QUrl::fromLocalFile(QString::fromStdString(mobileSync.string())));
    UiHarness::spin(std::chrono::milliseconds(300));
    ui.snapshot("end-to-end-folder-dialog");
    ui.clickText("Choose Backup");
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().selectedBackup().has_value(); }))
        << ui.state().phase().failureText().toStdString();
    EXPECT_EQ(ui.text("statusMessageText"), "Ready to scan Maya's iPhone");

    ui.click("scanButton");
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.text("statusMessageText").startsWith("Scan complete."); }))
        << ui.text("statusMessageText").toStdString() << " / "
        << ui.state().phase().failureText().toStdString();
    ui.snapshot("end-to-end-done");
    EXPECT_TRUE(
        ui.text("statusDetailText")
            .endsWith(
                "6 recent incoming messages inspected locally. 2 new candidates sent for safety review."))
        << ui.text("statusDetailText").toStdString();
    const auto endpoints = ui.endpointsReceived();
    EXPECT_EQ(std::count(endpoints.begin(), endpoints.end(), "ingest/batch"), 1);
    EXPECT_EQ(endpoints.front(), "redeem");
}

} // namespace
} // namespace quorva::uitest
