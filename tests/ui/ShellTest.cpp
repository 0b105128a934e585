// The application shell: window size, life without a window, one instance, icons and dates.
#include "UiHarness.h"
#include "app/Formats.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"
#include "state/BridgeAppState.h"

#include <QGuiApplication>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace quorva::uitest {
namespace {

// ctest runs this once more on a 1280 × 900 screen at double scale (ui.shell.small-screen).
TEST(Shell, WindowOpensAt860By700AndKeepsItsMinimumWhereTheScreenHasRoom)
{
    UiHarness ui;
    ui.launch();
    const QSize screen = ui.window().screen()->availableGeometry().size();
    EXPECT_EQ(ui.window().size(), QSize(860, 700).boundedTo(screen));
    EXPECT_EQ(ui.window().minimumSize(), QSize(760, 620).boundedTo(screen));
    EXPECT_EQ(ui.window().title(), "Quorva Bridge");

    // Maximised, the column keeps a readable width, centred.
    ui.window().resize(screen);
    UiHarness::spin(std::chrono::milliseconds(50));
    const QRectF card = ui.item("statusCard")->mapRectToScene(ui.item("statusCard")->boundingRect());
    EXPECT_LE(card.width(), 800);
    EXPECT_NEAR(card.center().x(), screen.width() / 2.0, 20);
}

TEST(Shell, ClosingTheWindowReleasesItsSceneAndKeepsTheProcessAndItsLoop)
{
    UiHarness ui;
    ui.launch();
    ui.pair();
    ASSERT_TRUE(ui.state().hasAutomaticScanning());
    const int childrenRequests = ui.countReceived("children");

    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());
    QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
    QPointer<QQuickWindow> closed = &ui.window();
    closed->close();
    // The memory of a closed window goes back; the process, its state and its loop stay.
    EXPECT_TRUE(UiHarness::waitFor([&] { return closed.isNull(); })) << "the closed window's scene is kept";
    EXPECT_EQ(ui.app().window(), nullptr);
    EXPECT_EQ(quitting.count(), 0);
    EXPECT_TRUE(ui.state().hasAutomaticScanning());

    // Reopening builds the content anew over the same state; start-up does not run again.
    ui.app().showWindow();
    ASSERT_NE(ui.app().window(), nullptr);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.window().isExposed(); }));
    UiHarness::spin(std::chrono::milliseconds(300));
    EXPECT_TRUE(ui.shown("setupCard"));
    EXPECT_EQ(ui.countReceived("children"), childrenRequests);
}

TEST(Shell, AQuietStartRunsStartUpWithoutAWindowUntilOneIsAskedFor)
{
    UiHarness ui;
    ui.launch(QuorvaBridgeApp::Start::inBackground);
    EXPECT_EQ(ui.app().window(), nullptr);
    EXPECT_EQ(ui.state().phase(), Phase::needsPairing()) << "start-up ran";

    ui.app().showWindow();
    ASSERT_NE(ui.app().window(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.app().window()));
    EXPECT_TRUE(ui.shown("pairingCard"));
}

TEST(Shell, TheTrayScansWithTheWindowClosedAndOpensItAgain)
{
    UiHarness ui;
    ui.launch();
    TrayIcon tray(ui.app());
    EXPECT_FALSE(tray.scanNowAction().isEnabled()) << "not paired";
    ui.pair();
    ui.chooseBackupFolder(ui.writeBackup("backups"));
    ASSERT_TRUE(tray.scanNowAction().isEnabled());

    ui.window().close();
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.app().window() == nullptr; }));
    tray.scanNowAction().trigger();
    EXPECT_EQ(ui.state().phase(), Phase::scanning());
    EXPECT_FALSE(tray.scanNowAction().isEnabled()) << "one scan at a time";
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));
    EXPECT_EQ(ui.state().phase(), Phase::ready());
    EXPECT_TRUE(tray.scanNowAction().isEnabled());

    tray.openAction().trigger();
    ASSERT_NE(ui.app().window(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.app().window()));
    EXPECT_TRUE(ui.text("statusMessageText").startsWith("Scan complete."));
}

TEST(Shell, ASecondLaunchShowsTheRunningInstance)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("instance"));
    SingleInstance second(name);
    EXPECT_FALSE(second.activateRunningInstance()) << "nobody runs yet";

    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    EXPECT_TRUE(second.activateRunningInstance());
    EXPECT_TRUE(activations.wait(2000));

    // A name left behind by a process that died is taken over.
    QTemporaryDir other;
    const QString stale = other.filePath(QStringLiteral("instance"));
    {
        QFile leftover(stale);
        ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    }
    SingleInstance restarted(stale);
    EXPECT_TRUE(restarted.listen());
}

TEST(Shell, EverySymbolDrawsAnIcon)
{
    UiHarness ui;
    ui.launch();
    QQmlEngine* engine = qmlEngine(ui.find("contentView"));
    ASSERT_NE(engine, nullptr);
    QQmlComponent symbols(engine);
    symbols.setData("import QtQuick\nimport Quorva.Bridge\nQtObject { readonly property var names: "
                    "Object.keys(Symbols.themeNames) }",
                    QUrl(QStringLiteral("qrc:/qt/qml/Quorva/Bridge/SymbolProbe.qml")));
    std::unique_ptr<QObject> table(symbols.create());
    ASSERT_NE(table, nullptr) << symbols.errorString().toStdString();
    const QStringList names = table->property("names").toStringList();
    EXPECT_EQ(names.size(), 11);

    QQmlComponent iconComponent(engine);
    iconComponent.setData(
        "import QtQuick\nimport Quorva.Bridge\nSymbolIcon { size: 48; color: \"#000000\"; z: 1000 }",
        QUrl(QStringLiteral("qrc:/qt/qml/Quorva/Bridge/IconProbe.qml")));
    for (const QString& symbol : names) {
        std::unique_ptr<QObject> created(iconComponent.createWithInitialProperties({{"symbol", symbol}}));
        auto* icon = qobject_cast<QQuickItem*>(created.get());
        ASSERT_NE(icon, nullptr) << iconComponent.errorString().toStdString();
        icon->setParentItem(ui.window().contentItem());
        icon->setObjectName(QStringLiteral("iconProbe"));
        ASSERT_TRUE(UiHarness::waitFor([&] { return icon->property("status").toInt() != 2; })); // not Loading
        EXPECT_GT(ui.pixelsNear("iconProbe", Qt::black, 60), 40) << symbol.toStdString() << " draws nothing";
    }
}

TEST(Shell, DatesAreAbbreviatedInTheUsersLocale)
{
    const QDateTime when(QDate(2025, 12, 6), QTime(15, 4), Qt::UTC);
    const QString american = abbreviatedDateTime(when, QLocale(QLocale::English, QLocale::UnitedStates));
    const QString german = abbreviatedDateTime(when, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_TRUE(american.contains("Dec") && american.contains("2025")) << american.toStdString();
    EXPECT_TRUE(german.contains("2025") && german != american) << german.toStdString();
    EXPECT_TRUE(abbreviatedDateTime(QDateTime()).isEmpty());
}

} // namespace
} // namespace quorva::uitest
