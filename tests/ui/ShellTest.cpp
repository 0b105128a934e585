// The application shell: window size, life without a window, one instance and icons.
#include "UiHarness.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"

#include <QPointer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QScreen>
#include <QTemporaryDir>

namespace quorva::uitest {
namespace {

bool showsWindowAgain(UiHarness& ui)
{
    return ui.app().window() && QTest::qWaitForWindowExposed(ui.app().window());
}

// ctest runs this once more on a 1280 × 900 screen at double scale (ui.shell.small-screen).
TEST(Shell, WindowFitsTheScreenKeepsAReadableColumnWhenMaximisedAndDrawsEverySymbol)
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

    QQmlComponent probe(qmlEngine(ui.find("contentView")));
    probe.setData("import QtQuick\nimport Quorva.Bridge\nRow { z: 1000; Repeater { model: "
                  "Object.keys(Symbols.themeNames)"
                  "\nSymbolIcon { size: 48; color: \"#000000\"; symbol: modelData } } }",
                  QUrl(QStringLiteral("qrc:/qt/qml/Quorva/Bridge/IconProbe.qml")));
    std::unique_ptr<QObject> row(probe.create());
    ASSERT_NE(row, nullptr) << probe.errorString().toStdString();
    qobject_cast<QQuickItem*>(row.get())->setParentItem(ui.window().contentItem());
    QList<QQuickItem*> icons = qobject_cast<QQuickItem*>(row.get())->childItems();
    icons.removeIf([](QQuickItem* item) { return !item->property("symbol").isValid(); }); // the Repeater
    ASSERT_FALSE(icons.isEmpty());
    for (QQuickItem* icon : icons) {
        ASSERT_TRUE(UiHarness::waitFor([&] { return icon->property("status").toInt() != 2; })); // not Loading
        EXPECT_GT(ui.pixelsNear(icon, Qt::black, 60), 40)
            << icon->property("symbol").toString().toStdString();
    }
}

TEST(Shell, AQuietStartHasNoWindowAndAClosedWindowLetsGoOfItsSceneWhileTheTrayScans)
{
    UiHarness ui;
    ui.launch(QuorvaBridgeApp::Start::inBackground);
    EXPECT_EQ(ui.app().window(), nullptr);
    TrayIcon tray(ui.app());
    EXPECT_FALSE(tray.scanNowAction().isEnabled()) << "not paired";
    ui.app().showWindow();
    ASSERT_TRUE(showsWindowAgain(ui));
    EXPECT_TRUE(ui.shown("pairingCard"));
    EXPECT_FALSE(ui.shown("setupCard"));
    ui.pair();
    EXPECT_TRUE(ui.shown("chooserMessageText"));
    ui.chooseBackupFolder(ui.backup());
    ASSERT_TRUE(tray.scanNowAction().isEnabled());
    const long childrenRequests = ui.countReceived("children");

    QSignalSpy quitting(QCoreApplication::instance(), &QCoreApplication::aboutToQuit);
    QPointer<QQuickWindow> closed = &ui.window();
    closed->close();
    EXPECT_TRUE(UiHarness::waitFor([&] { return closed.isNull(); })) << "the closed window's scene is kept";
    EXPECT_EQ(quitting.count(), 0);
    EXPECT_TRUE(ui.state().hasAutomaticScanning());
    tray.scanNowAction().trigger();
    EXPECT_EQ(ui.state().phase(), Phase::scanning());
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));

    // Reopening builds the content anew over the same state; start-up does not run again.
    tray.openAction().trigger();
    ASSERT_TRUE(showsWindowAgain(ui));
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
