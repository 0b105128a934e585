// Each control of the window calls its operation, as a person uses it. The "Scan now" command
// (Ctrl+R) is enabled exactly when a scan may start; that it starts a new cycle while a failure
// is shown, the failure alert's test shows.
#include "SqliteFileObserver.h"
#include "UiHarness.h"
#include "platform/LoginItem.h"

#include <QAccessible>

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

// A picker decides whose messages are read: a key that strays onto the closed picker opens
// its list and changes nothing; only a choice in the open list does.
TEST(Controls, AStrayKeyOnAClosedPickerKeepsTheBindingAndOnlyAChoiceInTheOpenListChangesIt)
{
    UiHarness ui;
    ui.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(ui.familyBackups());
    ui.assign("AVA", kAva);
    ui.assign("BEN", kBen);
    const auto bindings = [&] { return ui.state().deviceBindings(); };
    const auto both = bindings();
    const QString picker = UiHarness::picker(kAva);
    QObject* box = ui.find(picker);
    auto* popup = box->property("popup").value<QObject*>();
    ASSERT_TRUE(
        UiHarness::waitFor([&] { return box->property("displayText").toString() == "Ava's iPhone"; }));
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(ui.item(picker));
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->text(QAccessible::Name), "iPhone of Ava: Ava's iPhone");

    ASSERT_TRUE(ui.tabTo(picker));
    const auto stray = [&](std::vector<Qt::Key> keys) {
        SCOPED_TRACE(testing::Message() << "key " << keys.front());
        for (const Qt::Key key : keys)
            ui.press(key);
        UiHarness::spin(std::chrono::milliseconds(50));
        EXPECT_EQ(bindings(), both);
        if (keys.front() != Qt::Key_B) {
            EXPECT_TRUE(popup->property("visible").toBool()) << "the list opens instead";
        }
        ui.press(Qt::Key_Escape);
        ASSERT_TRUE(UiHarness::waitFor([&] { return !popup->property("visible").toBool(); }));
        EXPECT_EQ(bindings(), both);
        EXPECT_EQ(box->property("displayText").toString(), "Ava's iPhone");
        EXPECT_EQ(ui.focused(), picker);
    };
    stray({Qt::Key_Down, Qt::Key_Down});
    for (const Qt::Key key :
         {Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_End, Qt::Key_Home, Qt::Key_B})
        stray({key});

    // Return in the open list: no iPhone for Ava.
    ui.pickByKeyboard(kAva, QString());
    ASSERT_TRUE(UiHarness::waitFor([&] { return bindings() != both; }));
    EXPECT_EQ(bindings(), (std::map<std::string, std::string>{{"BEN", kBen}}));
    // Space in the open list: hers again.
    ui.press(Qt::Key_Space);
    ASSERT_TRUE(UiHarness::waitFor([&] { return popup->property("opened").toBool(); }));
    ui.press(Qt::Key_Down);
    ui.press(Qt::Key_Space);
    ASSERT_TRUE(UiHarness::waitFor([&] { return bindings() == both; }));
    // A click on an entry: Dad's.
    ui.click(picker);
    ASSERT_TRUE(UiHarness::waitFor([&] { return popup->property("opened").toBool(); }));
    int dads = -1;
    QMetaObject::invokeMethod(box, "indexOfValue", Q_RETURN_ARG(int, dads),
                              Q_ARG(QVariant, QStringLiteral("PARENT")));
    QQuickItem* entry = nullptr;
    QMetaObject::invokeMethod(popup->property("contentItem").value<QObject*>(), "itemAtIndex",
                              Q_RETURN_ARG(QQuickItem*, entry), Q_ARG(int, dads));
    ASSERT_NE(entry, nullptr);
    QTest::mouseClick(&ui.window(), Qt::LeftButton, Qt::NoModifier,
                      entry->mapToScene(QPointF(entry->width() / 2, entry->height() / 2)).toPoint());
    ASSERT_TRUE(UiHarness::waitFor([&] { return bindings().contains("PARENT"); }));
    EXPECT_EQ(bindings().at("PARENT"), kAva);
}

// A parent who types the family folder's own path goes into it, where Qt's own dialog selects
// the first folder within; confirming must keep the folder on screen, as must confirming the
// dialog at once when it opens at the chosen folder.
TEST(Controls, ConfirmingTheFolderDialogKeepsTheFolderOnScreenNotTheFirstFolderInside)
{
    UiHarness ui;
    ui.launch();
    ui.pair();
    const auto family = ui.familyBackups();
    for (const bool typed : {true, false}) {
        SCOPED_TRACE(typed ? "typed" : "at once");
        ASSERT_TRUE(ui.tabTo("chooseBackupButton"));
        ui.press(Qt::Key_Space);
        ui.answerFolderDialogByKeyboard(typed ? std::optional(family) : std::nullopt);
        ASSERT_TRUE(UiHarness::waitFor([&] { return !ui.shown("backupFolderDialog"); }));
        UiHarness::spin(std::chrono::milliseconds(300)); // a folder inside would be taken by now
        EXPECT_EQ(ui.state().backupFolder(), family);
    }
    EXPECT_EQ(ui.state().devices().size(), 3);
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
    EXPECT_FALSE(commandEnabled(ui)) << "no iPhone assigned";
    ui.assign(BackupContent{}.udid);
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
