// The window in each state a family meets, checked through what a person would see.
#include "FakeUsbmuxd.h"
#include "UiHarness.h"
#include "app/Formats.h"
#include "state/StateTexts.h"
#include "state/UiLanguage.h"

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
    ui.state().setSelectedChildID(kAva);
    EXPECT_EQ(ui.find("childPicker")->property("displayText").toString(), "<b>Ava</b>");
    ui.chooseBackupFolder(ui.backup());
    EXPECT_FALSE(ui.shown("pairingCard"));

    ui.click("scanButton"); // the scan has begun when the click returns; nothing ran the loop since
    ASSERT_EQ(ui.state().phase(), Phase::scanning());
    EXPECT_TRUE(ui.shown("scanSpinner"));
    EXPECT_FALSE(ui.enabled("scanButton"));

    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));
    ASSERT_EQ(ui.state().phase(), Phase::ready());
    EXPECT_FALSE(ui.shown("scanSpinner"));
    EXPECT_TRUE(ui.enabled("scanButton"));

    // Rich text would drop the markup (and fetch the image): plain text keeps every character.
    const QString markup = QStringLiteral("<i>Maya</i> <img src=\"http://127.0.0.1:1/x.png\">");
    ui.chooseBackupFolder(ui.backup("locked", {.deviceName = markup.toStdString(), .encrypted = true}));
    auto* name = ui.item("backupDeviceName");
    ASSERT_EQ(ui.text("backupDeviceName"), markup);
    const QFontMetricsF metrics(name->property("font").value<QFont>());
    EXPECT_NEAR(name->property("contentWidth").toReal(), metrics.horizontalAdvance(markup), 2);
    for (const char* icon : {"phaseIcon", "backupStateIcon"})
        EXPECT_EQ(ui.find(icon)->property("symbol").toString(), "lock.trianglebadge.exclamationmark") << icon;
}

TEST(WindowStates, AGermanDesktopReadsGermanWithGermanNumbersThroughout)
{
    const UiLanguage language({QStringLiteral("de-DE")});
    UiHarness ui;
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(ui.backup("backups", {.candidates = 1000, .benign = 200}));
    ui.scanAndWait();

    // The status line and the line below it write their numbers alike, as German does.
    EXPECT_EQ(ui.text("statusMessageText"),
              "Scan abgeschlossen. 1.000 gezielte Kandidaten von Quorva geprüft.");
    const QString when = abbreviatedDateTime(ui.state().lastScanAtForDisplay(), language.locale());
    EXPECT_EQ(ui.text("statusDetailText"),
              "Zuletzt geprüft: " + when +
                  ". Kürzlich eingegangene Nachrichten, lokal geprüft: 1.200. Neue Kandidaten zur "
                  "Sicherheitsprüfung gesendet: 1.000.");
}

TEST(WindowStates, AFamilyAssignsEachChildsIPhoneByKeyboardAndBacksUpAConnectedOneFromTheSetupCard)
{
    test::FakeUsbmuxd usbmuxd;
    QTemporaryDir bin;
    QFile tool(bin.filePath("idevicebackup2"));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\nprintf '\\r[=====     ]  50%% Finished'\nsleep 0.2\nexit 1\n");
    tool.close();
    tool.setPermissions(tool.permissions() | QFile::ExeOwner);
    UiHarness ui;
    ui.deviceWatcher =
        std::make_shared<DeviceWatcher>(DeviceWatcherOptions{.serviceAddress = usbmuxd.address()});
    ui.backupTool = tool.fileName();
    ui.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(ui.familyBackups());
    ASSERT_TRUE(ui.shown("deviceAssignments"));
    const QString avaPicker = QStringLiteral("devicePicker-") + QString::fromStdString(kAva);

    // Down twice from "Not on this computer": past the parent's iPhone to Ava's.
    ASSERT_TRUE(ui.tabTo(avaPicker));
    ui.press(Qt::Key_Down);
    ui.press(Qt::Key_Down);
    EXPECT_EQ(ui.state().deviceBindings(), (std::map<std::string, std::string>{{"AVA", kAva}}));
    EXPECT_EQ(ui.text("unassignedText"), "Not assigned, never read: Dad's iPhone, Ben's iPhone");

    // Her iPhone, backed up an hour ago, is connected: nothing is due by itself.
    usbmuxd.attach(QStringLiteral("AVA"));
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("backUpButton-AVA"); }));
    ASSERT_TRUE(ui.tabTo("backUpButton-AVA"));
    ui.press(Qt::Key_Space);
    const QString failed =
        texts::backupRunOutcome(QStringLiteral("Ava's iPhone"),
                                {.result = BackupRunOutcome::Result::failed, .exitStatus = 1, .percent = 50});
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.text("deviceActivity-AVA") == failed; }))
        << ui.text("deviceActivity-AVA").toStdString();
}

} // namespace
} // namespace quorva::uitest
