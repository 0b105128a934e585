// The window in each state a family meets, checked through what a person would see.
#include "FakeBackupTool.h"
#include "FakeUsbmuxd.h"
#include "UiHarness.h"
#include "app/Formats.h"
#include "platform/UiLanguage.h"
#include "state/StateTexts.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QTemporaryDir>

namespace quorva::uitest {
namespace {

TEST(WindowStates, ReadyThenScanningAndTextsFromTheServiceAndFromBackupsAreShownVerbatim)
{
    UiHarness ui;
    ui.config.children = {{kAva, "<b>Ava</b>"}, {kBen, "Ben"}};
    ui.launch();
    ui.pair();
    // Rich text would drop the markup (and fetch the image): plain text keeps every character.
    const QString markup = QStringLiteral("<i>Maya</i> <img src=\"http://127.0.0.1:1/x.png\">");
    const auto folder = ui.path("family");
    ui.writeBackup(folder / "AVA", {.udid = "AVA", .deviceName = "Ava's iPhone"});
    ui.writeBackup(folder / "LOCKED",
                   {.udid = "LOCKED", .deviceName = markup.toStdString(), .encrypted = true});
    ui.chooseBackupFolder(folder);
    EXPECT_FALSE(ui.shown("pairingCard"));
    ui.assign("AVA");

    ui.click("scanButton"); // the scan has begun when the click returns; nothing ran the loop since
    ASSERT_EQ(ui.state().phase(), Phase::scanning());
    EXPECT_TRUE(ui.shown("scanSpinner"));
    EXPECT_FALSE(ui.enabled("scanButton"));

    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));
    ASSERT_EQ(ui.state().phase(), Phase::ready());
    EXPECT_FALSE(ui.shown("scanSpinner"));
    EXPECT_TRUE(ui.enabled("scanButton"));

    const auto drawnWhole = [&](const QString& objectName, const QString& text) {
        SCOPED_TRACE(objectName.toStdString());
        auto* label = ui.item(objectName);
        ASSERT_NE(label, nullptr);
        ASSERT_TRUE(ui.text(objectName).startsWith(text)) << ui.text(objectName).toStdString();
        const QFontMetricsF metrics(label->property("font").value<QFont>());
        // The natural width, before wrapping: markup drawn as markup would be narrower. A long row
        // wraps onto a second line, as after midnight, when its backup's age reads "yesterday".
        EXPECT_NEAR(label->implicitWidth(), metrics.horizontalAdvance(ui.text(objectName)), 2);
    };
    drawnWhole(QStringLiteral("childName-") + QString::fromStdString(kAva), QStringLiteral("<b>Ava</b>"));
    drawnWhole(QStringLiteral("unassigned-LOCKED"), markup);
}

TEST(WindowStates, AGermanDesktopReadsGermanWithGermanNumbersThroughout)
{
    const UiLanguage language({QStringLiteral("de-DE")});
    UiHarness ui;
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(ui.backup("backups", {.candidates = 1000, .benign = 200}));
    ui.assign(BackupContent{}.udid);
    ui.scanAndWait();

    // The status line and the line below it write their numbers alike, as German does.
    EXPECT_EQ(ui.text("statusMessageText"),
              "Scan abgeschlossen. 1.000 gezielte Kandidaten von Quorva geprüft.");
    const QString when = abbreviatedDateTime(ui.state().lastScanAtForDisplay(), language.locale());
    EXPECT_EQ(ui.text("statusDetailText"),
              "Zuletzt geprüft: " + when +
                  ". Kürzlich eingegangene Nachrichten, lokal geprüft: 1.200. Neue Kandidaten zur "
                  "Sicherheitsprüfung gesendet: 1.000.");
    // A backup's day as German writes it.
    const QDateTime day(QDate(2026, 1, 10), QTime(12, 0));
    EXPECT_EQ(backupAge(day, day.addDays(3), language.locale()), QStringLiteral("10. Jan., vor 3 Tagen"));
}

// Without usbmuxd no connected iPhone can be seen, so none is backed up when plugged in: the
// set-up card says so in one line, and no longer once it runs.
TEST(WindowStates, ConnectedIPhonesThatCannotBeSeenAreSaid)
{
    test::FakeUsbmuxd usbmuxd;
    usbmuxd.stop();
    UiHarness ui;
    ui.deviceWatcher = std::make_shared<DeviceWatcher>(DeviceWatcherOptions{
        .serviceAddress = usbmuxd.address(), .retryInterval = std::chrono::milliseconds(100)});
    ui.launch();
    ui.pair();
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("deviceServiceText"); }));
    EXPECT_EQ(ui.text("deviceServiceText"),
              QStringLiteral(
                  "No connection to the iPhone service (usbmuxd): Bridge cannot see connected iPhones."));

    ASSERT_TRUE(usbmuxd.start());
    EXPECT_TRUE(UiHarness::waitFor([&] { return !ui.shown("deviceServiceText"); }));
}

TEST(WindowStates, AFamilyAssignsEachChildsIPhoneByKeyboardAndBacksUpAConnectedOneFromTheSetupCard)
{
    test::FakeUsbmuxd usbmuxd;
    QTemporaryDir bin;
    const QString tool =
        test::writeBackupTool(bin, "printf '\\r[=====     ]  50%% Finished'\nsleep 0.2\nexit 1\n");
    UiHarness ui;
    ui.useDevices(usbmuxd.address(), tool);
    ui.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    ui.launch();
    ui.pair();
    const std::string avasPhone = BackupContent{}.udid;
    ui.chooseBackupFolder(ui.familyBackups(2, avasPhone));
    ASSERT_TRUE(ui.shown("familyRows"));

    ui.pickByKeyboard(kAva, QString::fromStdString(avasPhone));
    ASSERT_TRUE(UiHarness::waitFor([&] { return !ui.state().deviceBindings().empty(); }));
    EXPECT_EQ(ui.state().deviceBindings(), (std::map<std::string, std::string>{{avasPhone, kAva}}));
    for (const char* unread : {"unassigned-PARENT", "unassigned-BEN"})
        EXPECT_TRUE(ui.shown(unread)) << unread;
    EXPECT_FALSE(ui.shown(QString::fromStdString("unassigned-" + avasPhone)));

    // Her iPhone, backed up an hour ago, is connected: nothing is due by itself.
    const QString backUp = QStringLiteral("backUpButton-") + QString::fromStdString(kAva);
    const QString activity = QStringLiteral("deviceStateText-") + QString::fromStdString(kAva);
    usbmuxd.attach(QString::fromStdString(avasPhone));
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown(backUp); }));
    ASSERT_TRUE(ui.tabTo(backUp));
    ui.press(Qt::Key_Space);
    const QString failed =
        texts::backupRunOutcome(QStringLiteral("Ava's iPhone"),
                                {.result = BackupRunOutcome::Result::failed, .exitStatus = 1, .percent = 50});
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.text(activity) == failed; }))
        << ui.text(activity).toStdString();
}

// One child and one iPhone in the folder, which is Dad's: the set-up card offers it, and
// nothing of it is read until the parent says it is the child's.
TEST(WindowStates, ALoneIPhoneIsOnlyProposedAndReadOnceTheParentAssignsIt)
{
    UiHarness ui;
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(
        ui.backup("dad", {.udid = "PARENT", .deviceName = "Dad's iPhone", .candidates = 1}));
    const QString confirm = QStringLiteral("confirmProposal-") + QString::fromStdString(kAva);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown(confirm); }));
    EXPECT_EQ(ui.find(UiHarness::picker(kAva))->property("displayText").toString(), "Dad's iPhone");
    EXPECT_TRUE(ui.state().deviceBindings().empty());
    EXPECT_FALSE(ui.enabled("scanButton"));
    ui.scanAndWait(); // as the automatic loop would
    EXPECT_TRUE(ui.state().deviceBindings().empty());
    EXPECT_EQ(ui.countReceived("ingest/batch"), 0) << "read before it was assigned";

    // The alert says what is missing; the parent answers it, then assigns.
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("failureAlert"); }));
    EXPECT_TRUE(ui.text("failureAlertText").contains("Dad's iPhone"))
        << ui.text("failureAlertText").toStdString();
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return !ui.shown("failureAlert"); }));
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown(confirm); }));
    ui.click(confirm);
    ASSERT_TRUE(UiHarness::waitFor([&] { return !ui.state().deviceBindings().empty(); }));
    EXPECT_EQ(ui.state().deviceBindings(), (std::map<std::string, std::string>{{"PARENT", kAva}}));
    EXPECT_FALSE(ui.shown(confirm));
    ui.click("scanButton");
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() == Phase::ready(); }));
    EXPECT_EQ(ui.countReceived("ingest/batch"), 1);
}

// Ava's iPhone was last backed up 20 days ago: what the scan read is old news, and the window
// says so rather than showing everything fine.
TEST(WindowStates, AnOldBackupTurnsTheStatusIntoAWarningThatNamesTheChild)
{
    UiHarness ui;
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(ui.backup("backups", {.candidates = 1, .ageHours = 480}));
    ui.assign(BackupContent{}.udid);
    ui.click("scanButton");
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() == Phase::ready(); }));
    UiHarness::spin(std::chrono::milliseconds(50));

    EXPECT_EQ(ui.find("phaseIcon")->property("symbol").toString(), "exclamationmark.triangle.fill");
    EXPECT_TRUE(ui.text("attentionLine-0").startsWith("Ava's iPhone was last backed up on"))
        << ui.text("attentionLine-0").toStdString();
    const QString lastBackup = QStringLiteral("lastBackupText-") + QString::fromStdString(kAva);
    EXPECT_TRUE(ui.text(lastBackup).endsWith("20 days ago")) << ui.text(lastBackup).toStdString();
    // Drawn in the warning's colour, as the status icon is.
    const QColor warning = ui.find("phaseIcon")->property("color").value<QColor>();
    EXPECT_GT(ui.pixelsNear(ui.item(lastBackup), warning, 20), 40);
    EXPECT_GT(ui.pixelsNear(ui.item("phaseIcon"), warning, 20), 40);
}

} // namespace
} // namespace quorva::uitest
