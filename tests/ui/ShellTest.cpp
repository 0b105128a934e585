// The application shell: window size, life without a window, and one instance.
#include "UiHarness.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"

#include <QScreen>
#include <QTemporaryDir>

namespace quorva::uitest {
namespace {

// ctest runs this once more on a 1280 × 900 screen at double scale (ui.shell.small-screen).
TEST(Shell, WindowFitsTheScreenAndKeepsAReadableColumnWhenMaximised)
{
    UiHarness ui;
    ui.launch();
    const QRect screen = ui.window().screen()->availableGeometry();
    const QSize size = ui.window().size();
    EXPECT_EQ(size.boundedTo(screen.size()), size) << "larger than the screen";

    ui.window().resize(screen.size());
    UiHarness::spin(std::chrono::milliseconds(50));
    const QRectF card = ui.item("statusCard")->mapRectToScene(ui.item("statusCard")->boundingRect());
    EXPECT_LE(card.width(), 800);
    EXPECT_NEAR(card.center().x(), screen.width() / 2.0, 20) << "centred";
}

TEST(Shell, AQuietStartHasNoWindowAndAClosedWindowLetsGoOfItsSceneWhileTheTrayScans)
{
    UiHarness ui;
    ui.launch(QuorvaBridgeApp::Start::inBackground);
    EXPECT_EQ(ui.app().window(), nullptr);
    TrayIcon tray(ui.app());
    EXPECT_FALSE(tray.scanNowAction().isEnabled()) << "not paired";
    ui.app().showWindow();
    ASSERT_TRUE(ui.app().window() && QTest::qWaitForWindowExposed(ui.app().window()));
    ui.pair();
    ui.chooseBackupFolder(ui.backup());
    EXPECT_FALSE(tray.scanNowAction().isEnabled()) << "no iPhone assigned";
    const QString news = QStringLiteral("Maya's iPhone is in the backup folder and not assigned to anyone.");
    EXPECT_TRUE(tray.toolTip().contains(news)) << tray.toolTip().toStdString();
    ui.assign(BackupContent{}.udid);
    ASSERT_TRUE(tray.scanNowAction().isEnabled());
    EXPECT_FALSE(tray.toolTip().contains(news));
    const long childrenRequests = ui.countReceived("children");

    QSignalSpy quitting(QCoreApplication::instance(), &QCoreApplication::aboutToQuit);
    ui.closeWindow();
    EXPECT_EQ(quitting.count(), 0);
    EXPECT_TRUE(ui.state().hasAutomaticScanning());
    tray.scanNowAction().trigger();
    EXPECT_EQ(ui.state().phase(), Phase::scanning());
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));

    // Reopening builds the content anew over the same state; start-up does not run again.
    tray.openAction().trigger();
    ASSERT_TRUE(ui.app().window() && QTest::qWaitForWindowExposed(ui.app().window()));
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.shown("setupCard"); }));
    EXPECT_TRUE(ui.text("statusMessageText").startsWith("Scan complete."));
    EXPECT_EQ(ui.countReceived("children"), childrenRequests);
}

TEST(Shell, ASecondLaunchShowsTheRunningInstanceAndADeadOnesNameIsTakenOver)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("instance"));
    SingleInstance second(name);
    EXPECT_FALSE(second.activateRunningInstance()) << "nobody runs yet";
    {
        QFile leftover(name); // as a process that died leaves it
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    }
    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    EXPECT_TRUE(second.activateRunningInstance());
    EXPECT_TRUE(activations.wait(2000));
}

} // namespace
} // namespace quorva::uitest
