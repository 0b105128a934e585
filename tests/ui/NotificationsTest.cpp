// Desktop notifications, as a notification server on the session bus receives them: what needs
// the parent while no window shows it, told once until it clears, and a click that opens the
// window where the cause is.
#include "FakeBackupTool.h"
#include "FakeDesktop.h"
#include "FakeUsbmuxd.h"
#include "UiHarness.h"
#include "devices/DeviceBackups.h"
#include "platform/DesktopNotifications.h"
#include "state/StateTexts.h"

namespace quorva::uitest {
namespace {

constexpr const char* kAppId = QUORVA_APP_ID;

void expectOpenedAt(UiHarness& ui, const QString& focused)
{
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.app().window() && ui.app().window()->isVisible(); }))
        << "no window";
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.focused() == focused; }))
        << "focus on " << ui.focused().toStdString() << ", not " << focused.toStdString();
}

TEST(Notifications, AFailureWhileNoWindowIsShownIsToldOnceUntilItClearsAndItsClickShowsIt)
{
    FakeDesktop desktop({});
    UiHarness ui;
    const auto folder = ui.backup("backups", {.candidates = 2});
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(folder);
    ui.assign(BackupContent{}.udid);
    ui.scanAndWait();
    std::filesystem::rename(folder / "Manifest.db", folder / "Manifest.away");
    ui.scanAndWait();
    ASSERT_EQ(ui.state().phase().kind(), Phase::Kind::failed);
    EXPECT_TRUE(desktop.notified().empty()) << "the window's alert says it";

    // The same failure once the window is closed: the parent saw it, so nothing more.
    ui.closeWindow();
    ui.scanAndWait();
    UiHarness::spin(std::chrono::milliseconds(200));
    EXPECT_TRUE(desktop.notified().empty());

    // Cleared by a good scan, then failing with no window: told once, however often it repeats.
    std::filesystem::rename(folder / "Manifest.away", folder / "Manifest.db");
    ui.scanAndWait();
    ASSERT_EQ(ui.state().phase(), Phase::ready());
    std::filesystem::rename(folder / "Manifest.db", folder / "Manifest.away");
    ui.scanAndWait();
    ui.scanAndWait();
    ASSERT_TRUE(UiHarness::waitFor([&] { return !desktop.notified().empty(); })) << "no Notify";
    UiHarness::spin(std::chrono::milliseconds(200));
    ASSERT_EQ(desktop.notified().size(), 1U);
    const Notified told = desktop.notified().front();
    EXPECT_EQ(told.summary, QStringLiteral("Scan needs attention"));
    EXPECT_EQ(told.body, ui.state().phase().failureText());
    EXPECT_EQ(told.icon, kAppId);
    EXPECT_EQ(told.hints.value("desktop-entry").toString(), kAppId);
    EXPECT_TRUE(told.actions.contains("default"));
    EXPECT_FALSE(told.body.contains("keep this secret")) << "never a message's content";

    // A good scan clears it: the notification is withdrawn.
    std::filesystem::rename(folder / "Manifest.away", folder / "Manifest.db");
    ui.scanAndWait();
    EXPECT_TRUE(UiHarness::waitFor([&] { return std::ranges::count(desktop.closed(), told.id) == 1; }));

    // Failing again is news again, and its click shows the window with the failure.
    std::filesystem::rename(folder / "Manifest.db", folder / "Manifest.away");
    ui.scanAndWait();
    ASSERT_TRUE(UiHarness::waitFor([&] { return desktop.notified().size() == 2; }));
    desktop.invokeAction(desktop.notified().back().id, QStringLiteral("default"));
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.app().window() && ui.shown("failureAlert"); }));
}

TEST(Notifications, ABackupThatFailsWithNoWindowIsToldOnceUntilOneFinishes)
{
    FakeDesktop desktop({});
    test::FakeUsbmuxd usbmuxd;
    QTemporaryDir bin;
    const QString tool = test::writeBackupTool(bin, "printf '\\r[=====     ]  50%% Finished'\nexit 1\n");
    UiHarness ui;
    ui.useDevices(usbmuxd.address(), tool);
    const std::string phone = BackupContent{}.udid;
    const auto folder = ui.backup();
    ui.launch(QuorvaBridgeApp::Start::inBackground);
    ui.pair();
    ui.assign(phone);
    QCoro::waitFor(ui.state().useBackupFolder(folder));
    usbmuxd.attach(QString::fromStdString(phone));
    ASSERT_TRUE(UiHarness::waitFor(
        [&] { return ui.state().deviceBackups()->status(QString::fromStdString(phone)).connected; }));
    for (int run = 0; run < 2; ++run)
        QCoro::waitFor(ui.state().backUpAndScan(QString::fromStdString(phone)));
    UiHarness::spin(std::chrono::milliseconds(200));
    const QString failed =
        texts::backupRunOutcome(QStringLiteral("Maya's iPhone"),
                                {.result = BackupRunOutcome::Result::failed, .exitStatus = 1, .percent = 50});
    const auto told = desktop.notified();
    ASSERT_EQ(std::ranges::count_if(told, [&](const Notified& n) { return n.body == failed; }), 1);
}

TEST(Notifications, AnOldBackupAndAnIPhoneWaitingToBeAssignedAreToldOnceEachAndOpenTheWindowThere)
{
    FakeDesktop desktop({});
    UiHarness ui;
    const auto folder = ui.path("family");
    ui.writeBackup(folder / "PARENT", {.udid = "PARENT", .deviceName = "Dad's iPhone", .ageHours = 0.1});
    ui.writeBackup(folder / "AVA", {.udid = "AVA", .deviceName = "Ava's iPhone", .ageHours = 24 * 5});
    ui.launch(QuorvaBridgeApp::Start::inBackground);
    ui.pair();
    ui.assign("AVA");
    QCoro::waitFor(ui.state().useBackupFolder(folder));
    ui.scanAndWait();
    QCoro::waitFor(ui.state().restoreBackupSelection());
    UiHarness::spin(std::chrono::milliseconds(200));

    const auto told = desktop.notified();
    const auto about = [&](const QString& words) {
        return std::ranges::count_if(told, [&](const Notified& n) { return n.body.contains(words); });
    };
    EXPECT_EQ(about("Dad's iPhone is in the backup folder and not assigned to anyone."), 1);
    EXPECT_EQ(about("Ava's iPhone was last backed up on"), 1);
    EXPECT_EQ(about("Ava's iPhone is in the backup folder"), 0) << "it is Ava's";
    ASSERT_EQ(told.size(), 2U);

    struct Case {
        const char* words;
        QString focused;
    };
    for (const Case& cause :
         {Case{"Dad's iPhone", "noOnesButton-PARENT"}, Case{"Ava's iPhone", UiHarness::picker(test::kAva)}}) {
        SCOPED_TRACE(cause.words);
        const auto notice =
            std::ranges::find_if(told, [&](const Notified& n) { return n.body.contains(cause.words); });
        ASSERT_TRUE(notice->actions.contains("default"));
        desktop.invokeAction(notice->id, QStringLiteral("default"));
        expectOpenedAt(ui, cause.focused);
        ui.closeWindow();
    }

    // Still so at the next look: nothing new to tell.
    ui.scanAndWait();
    QCoro::waitFor(ui.state().restoreBackupSelection());
    UiHarness::spin(std::chrono::milliseconds(200));
    EXPECT_EQ(desktop.notified().size(), 2U);
}

TEST(Notifications, WithoutATrayAClosedWindowSaysOnceThatBridgeKeepsCheckingAndAsksThePortal)
{
    for (const bool tray : {false, true}) {
        SCOPED_TRACE(tray ? "with a tray" : "without a tray");
        FakeDesktop desktop({.tray = tray, .portal = true});
        UiHarness ui;
        ui.launch();
        ui.closeWindow();
        ui.app().showWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.app().window()));
        ui.closeWindow();
        UiHarness::spin(std::chrono::milliseconds(300));
        const auto told = desktop.notified();
        if (tray) {
            EXPECT_TRUE(told.empty()) << "the tray shows it";
            EXPECT_TRUE(desktop.backgroundRequests().isEmpty());
            continue;
        }
        ASSERT_EQ(told.size(), 1U);
        EXPECT_EQ(told.front().summary, QStringLiteral("Quorva Bridge keeps checking in the background"));
        EXPECT_TRUE(told.front().body.contains(QStringLiteral("Start Quorva Bridge again")));
        EXPECT_EQ(desktop.backgroundRequests().size(), 1);
    }
}

// In a sandbox the notification server is out of reach; the portal takes the notification.
TEST(Notifications, InASandboxTheyGoThroughThePortalWithTheirActions)
{
    FakeDesktop desktop({.portal = true});
    DesktopNotifications notifications(QDBusConnection::sessionBus(), DesktopNotifications::Route::portal);
    QSignalSpy clicked(&notifications, &DesktopNotifications::actionInvoked);
    notifications.show(QStringLiteral("failure"), QStringLiteral("Scan needs attention"),
                       QStringLiteral("Why"),
                       {{QStringLiteral("default"), QStringLiteral("Open Quorva Bridge")}});
    const auto ours = [&] {
        std::vector<PortalNotified> sent;
        std::ranges::copy_if(
            desktop.portalNotifications(), std::back_inserter(sent),
            [](const PortalNotified& n) { return n.sender == QDBusConnection::sessionBus().baseService(); });
        return sent;
    };
    ASSERT_TRUE(UiHarness::waitFor([&] { return ours().size() == 1; }));
    const PortalNotified told = ours().front();
    EXPECT_EQ(told.id, "failure");
    EXPECT_EQ(told.notification.value("title").toString(), "Scan needs attention");
    EXPECT_EQ(told.notification.value("body").toString(), "Why");
    EXPECT_EQ(told.notification.value("default-action").toString(), "default");

    desktop.invokePortalAction(QStringLiteral("failure"), QStringLiteral("default"));
    ASSERT_TRUE(clicked.wait(2000));
    EXPECT_EQ(clicked.front(), (QVariantList{QStringLiteral("failure"), QStringLiteral("default")}));
    notifications.withdraw(QStringLiteral("failure"));
    EXPECT_TRUE(UiHarness::waitFor([&] { return desktop.portalRemoved().contains("failure"); }));
}

} // namespace
} // namespace quorva::uitest
