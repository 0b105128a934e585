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

// Paired (the only child chosen automatically) and a backup chosen through the dialog: its folder.
std::filesystem::path pairAndChooseBackup(UiHarness& ui, const BackupContent& content = {})
{
    ui.launch();
    ui.pair();
    const auto folder = ui.backup("backups", content);
    ui.chooseBackupFolder(folder);
    return folder;
}

TEST(WindowStates, ReadyShowsTheChildAndTheBackupThenAScanItsSpinnerAndCounts)
{
    UiHarness ui;
    const auto folder = pairAndChooseBackup(ui, {.candidates = 2, .benign = 1});
    EXPECT_FALSE(ui.shown("pairingCard"));
    EXPECT_TRUE(ui.shown("headerMenuButton"));
    EXPECT_EQ(ui.text("statusMessageText"), "Ready to scan Maya's iPhone");
    EXPECT_EQ(ui.find("childPicker")->property("currentText").toString(), "Ava");
    EXPECT_EQ(ui.text("backupDeviceName"), "Maya's iPhone");
    EXPECT_TRUE(ui.text("backupDateText").startsWith("Backed up "))
        << ui.text("backupDateText").toStdString();

    ui.click("scanButton"); // the scan has begun when the click returns; nothing ran the loop since
    ASSERT_EQ(ui.state().phase(), Phase::scanning());
    EXPECT_TRUE(ui.shown("scanSpinner"));
    EXPECT_FALSE(ui.enabled("scanButton"));

    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));
    ASSERT_EQ(ui.state().phase(), Phase::ready());
    EXPECT_FALSE(ui.shown("scanSpinner"));
    EXPECT_TRUE(ui.enabled("scanButton"));
    EXPECT_TRUE(ui.text("statusMessageText").startsWith("Scan complete."));
    EXPECT_EQ(ui.text("statusDetailText"),
              "Last checked " + abbreviatedDateTime(ui.state().lastScanAtForDisplay()) +
                  ". 3 recent incoming messages inspected locally. 2 new candidates sent for safety review.");

    // Choosing again starts at the last choice, and cancelling keeps the backup.
    ui.click("chooseBackupButton");
    QObject* dialog = ui.openFolderDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->property("currentFolder").toUrl().toLocalFile(),
              QString::fromStdString(folder.string()));
    ui.press(Qt::Key_Escape);
    EXPECT_TRUE(UiHarness::waitFor([&] { return !dialog->property("visible").toBool(); }));
    EXPECT_EQ(ui.text("backupDeviceName"), "Maya's iPhone");
}

TEST(WindowStates, AGermanDesktopReadsGermanWithGermanNumbersThroughout)
{
    const UiLanguage language({QStringLiteral("de-DE")});
    UiHarness ui;
    ui.launch();
    EXPECT_EQ(ui.text("pairingTitle"), "1. Diesen Computer koppeln");
    ui.pair();
    ui.chooseBackupFolder(ui.backup("backups", {.candidates = 1000, .benign = 200}));
    EXPECT_EQ(ui.text("statusMessageText"), "Bereit, Maya's iPhone zu scannen");
    QStringList shownWhileUploading;
    QObject::connect(&ui.state(), &BridgeAppState::uploadProgressChanged, &ui.window(),
                     [&] { shownWhileUploading << ui.text("statusMessageText"); });
    ui.scanAndWait();
    EXPECT_TRUE(shownWhileUploading.contains("3 von 10 Paketen an Quorva gesendet"))
        << shownWhileUploading.join('|').toStdString();

    ASSERT_EQ(ui.state().phase(), Phase::ready());
    // The status line and the line below it write their numbers alike, as German does.
    EXPECT_EQ(ui.text("statusMessageText"),
              "Scan abgeschlossen. 1.000 gezielte Kandidaten von Quorva geprüft.");
    const QString when = abbreviatedDateTime(ui.state().lastScanAtForDisplay(), language.locale());
    EXPECT_EQ(ui.text("statusDetailText"),
              "Zuletzt geprüft: " + when +
                  ". Kürzlich eingegangene Nachrichten, lokal geprüft: 1.200. Neue Kandidaten zur "
                  "Sicherheitsprüfung gesendet: 1.000.");
}

TEST(WindowStates, AFamilyAssignsEachChildsIPhoneByKeyboard)
{
    UiHarness ui;
    ui.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(ui.familyBackups());
    ASSERT_TRUE(ui.shown("deviceAssignments"));
    EXPECT_EQ(ui.text("unassignedText"),
              "Not assigned, never read: Dad's iPhone, Ava's iPhone, Ben's iPhone");
    const QString avaPicker = QStringLiteral("devicePicker-") + QString::fromStdString(kAva);
    EXPECT_EQ(ui.find(avaPicker)->property("currentText").toString(), "Not on this computer");

    // Down twice from "Not on this computer": past the parent's iPhone to Ava's.
    ASSERT_TRUE(ui.tabTo(avaPicker));
    ui.press(Qt::Key_Down);
    ui.press(Qt::Key_Down);
    EXPECT_EQ(ui.state().deviceBindings(), (std::map<std::string, std::string>{{"AVA", kAva}}));
    EXPECT_TRUE(ui.find(avaPicker)->property("currentText").toString().startsWith("Ava's iPhone"));
    EXPECT_EQ(ui.text("unassignedText"), "Not assigned, never read: Dad's iPhone, Ben's iPhone");

    ui.scanAndWait();
    const auto devices = test::bodiesOf(ui.received(), "devices");
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0]["externalDeviceId"], "AVA");
}

TEST(WindowStates, AConnectedIPhoneIsBackedUpFromTheSetupCardByKeyboard)
{
    test::FakeUsbmuxd usbmuxd;
    QTemporaryDir bin;
    QFile tool(bin.filePath("idevicebackup2"));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\necho \"$2\" > \"" + bin.filePath("asked").toUtf8() +
               "\"\nprintf '\\r[=====     ]  50%% Finished'\nsleep 0.2\nexit 1\n");
    tool.close();
    tool.setPermissions(tool.permissions() | QFile::ExeOwner);
    UiHarness ui;
    ui.deviceWatcher =
        std::make_shared<DeviceWatcher>(DeviceWatcherOptions{.serviceAddress = usbmuxd.address()});
    ui.backupTool = tool.fileName();
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(ui.backup()); // backed up an hour ago: nothing is due by itself
    ui.scanAndWait();                   // the folder's one iPhone becomes Ava's
    const QString udid = QString::fromStdString(BackupContent{}.udid);
    usbmuxd.attach(udid);

    const QString button = QStringLiteral("backUpButton-") + udid;
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown(button); }));
    EXPECT_EQ(ui.text(QStringLiteral("deviceActivity-") + udid),
              "Maya's iPhone is connected to this computer.");
    ASSERT_TRUE(ui.tabTo(button));
    ui.press(Qt::Key_Space);
    ASSERT_TRUE(UiHarness::waitFor([&] { return QFile::exists(bin.filePath("asked")); }))
        << "the tool never ran";
    EXPECT_TRUE(UiHarness::waitFor([&] {
        return ui.text(QStringLiteral("deviceActivity-") + udid) ==
               texts::backupRunOutcome(
                   QStringLiteral("Maya's iPhone"),
                   {.result = BackupRunOutcome::Result::failed, .exitStatus = 1, .percent = 50});
    })) << ui.text(QStringLiteral("deviceActivity-") + udid).toStdString();
}

TEST(WindowStates, AnEncryptedBackupWarnsAndTextsFromBackupsAndTheServiceAreShownVerbatim)
{
    UiHarness ui;
    ui.config.children = {{kAva, "<b>Ava</b>"}, {kBen, "Ben"}};
    const QString markup = QStringLiteral("<i>Maya</i> <img src=\"http://127.0.0.1:1/x.png\">");
    ui.launch();
    ui.pair();
    EXPECT_EQ(ui.find("childPicker")->property("displayText").toString(), "Choose a child");
    ui.state().setSelectedChildID(kAva);
    EXPECT_EQ(ui.find("childPicker")->property("displayText").toString(), "<b>Ava</b>");
    ui.chooseBackupFolder(ui.backup("backups", {.deviceName = markup.toStdString(), .encrypted = true}));

    // Rich text would drop the markup (and fetch the image): plain text keeps every character.
    auto* name = ui.item("backupDeviceName");
    ASSERT_EQ(ui.text("backupDeviceName"), markup);
    const QFontMetricsF metrics(name->property("font").value<QFont>());
    EXPECT_NEAR(name->property("contentWidth").toReal(), metrics.horizontalAdvance(markup), 2);
    for (const char* icon : {"phaseIcon", "backupStateIcon"})
        EXPECT_EQ(ui.find(icon)->property("symbol").toString(), "lock.trianglebadge.exclamationmark") << icon;
    EXPECT_TRUE(ui.enabled("scanButton")); // the scan itself refuses it
}

} // namespace
} // namespace quorva::uitest
