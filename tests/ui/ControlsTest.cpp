// Each control of the window calls its operation, as a person uses it.
#include "UiHarness.h"
#include "model/PlatformWords.h"
#include "state/BridgeAppState.h"
#include "state/LoginItem.h"
#include "state/StateTexts.h"

#include <QQuickItem>
#include <QQuickWindow>

#include <gtest/gtest.h>

namespace quorva::uitest {
namespace {

// Some visible text in the window or its popups reads exactly `text`.
bool showsText(UiHarness& ui, const QString& text)
{
    const std::function<bool(QQuickItem*)> shows = [&](QQuickItem* item) {
        if (!item->isVisible())
            return false;
        if (item->inherits("QQuickText") && item->property("text").toString() == text)
            return true;
        const auto children = item->childItems();
        return std::any_of(children.begin(), children.end(), shows);
    };
    return shows(ui.window().contentItem());
}

TEST(Controls, ARefusedCodeIsShownEachTimeAndDismissedWithoutReloading)
{
    UiHarness ui;
    ui.launch();
    ui.typeInto("pairingCodeField", "12");
    ui.click("pairButton");
    ASSERT_TRUE(ui.shown("failureAlert"));
    EXPECT_EQ(ui.text("failureAlertText"), "Enter the pairing code shown in Quorva Family.");
    EXPECT_EQ(ui.text("pairingCodeField"), "12") << "the typed code stays for correcting";
    ui.snapshot("pairing-refused");

    ui.clickText("OK");
    ASSERT_TRUE(UiHarness::waitFor([&] { return !ui.shown("failureAlert"); }));
    EXPECT_EQ(ui.state().phase().kind(), Phase::Kind::failed);

    // The same too-short code once more: the same failure, and the alert comes back.
    ui.typeInto("pairingCodeField", "3");
    ui.press(Qt::Key_Return);
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.shown("failureAlert"); }));
    EXPECT_TRUE(ui.endpointsReceived().empty());
}

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
    ASSERT_TRUE(ui.tabTo("headerMenuButton"));
    EXPECT_TRUE(UiHarness::waitFor([&] { return showsText(ui, "More options"); })) << "a tooltip";
    askToDisconnect();
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return !ui.shown("disconnectConfirmation"); }));
    EXPECT_TRUE(ui.state().hasToken()) << "Return keeps the pairing";

    askToDisconnect();
    ui.snapshot("disconnect-confirmation");
    QQuickItem* defaultButton = ui.window().activeFocusItem();
    EXPECT_EQ(defaultButton->property("text").toString(), "Cancel");
    EXPECT_TRUE(defaultButton->findChild<QQuickItem*>("focusRing")->isVisible()) << "it shows the focus";
    ASSERT_TRUE(ui.tabTo("disconnectConfirmationButton"));
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() == Phase::needsPairing(); }));
    EXPECT_FALSE(ui.state().hasToken());
    EXPECT_TRUE(ui.shown("pairingCard"));
    EXPECT_FALSE(ui.shown("headerMenuButton"));
    EXPECT_EQ(ui.text("statusMessageText"), QString::fromUtf8(words::pairFromFamilyApp));

    // A parent who disconnected can still stop Bridge starting at login.
    ASSERT_TRUE(ui.shown("launchAtLoginSwitch"));
    EXPECT_TRUE(ui.find("launchAtLoginSwitch")->property("checked").toBool());
    ui.click("launchAtLoginSwitch");
    EXPECT_FALSE(ui.state().launchesAtLogin());
}

TEST(Controls, TheFolderDialogOpensAtTheLastChoiceWithItsMessageBesideTheButton)
{
    UiHarness ui;
    ui.launch();
    ui.pair();
    EXPECT_TRUE(ui.shown("chooserMessageText"));
    EXPECT_EQ(ui.text("chooserMessageText"), texts::chooserMessage());

    const auto folder = ui.writeBackup("backups");
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

TEST(Controls, TheLaunchAtLoginSwitchShowsTheRegistration)
{
    UiHarness ui;
    ui.launch();
    ui.pair();
    const LoginItem entry(LoginItem::defaultAutostartFolder(), {QCoreApplication::applicationFilePath()});
    ASSERT_FALSE(ui.find("launchAtLoginSwitch")->property("checked").toBool());

    ui.click("launchAtLoginSwitch");
    EXPECT_TRUE(ui.state().launchesAtLogin());
    EXPECT_EQ(entry.status(), LoginItem::Status::enabled);
    EXPECT_TRUE(ui.find("launchAtLoginSwitch")->property("checked").toBool());

    ui.click("launchAtLoginSwitch");
    EXPECT_FALSE(ui.state().launchesAtLogin());
    EXPECT_EQ(entry.status(), LoginItem::Status::notRegistered);

    // The platform's answer wins over the click: a refused registration leaves the switch off.
    std::filesystem::remove_all(entry.entryPath().parent_path());
    {
        QFile blocker(QString::fromStdString(entry.entryPath().parent_path().string()));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    }
    ui.click("launchAtLoginSwitch");
    EXPECT_FALSE(ui.find("launchAtLoginSwitch")->property("checked").toBool());
    EXPECT_EQ(ui.state().phase().kind(), Phase::Kind::failed);
    EXPECT_TRUE(ui.shown("failureAlert"));
}

} // namespace
} // namespace quorva::uitest
