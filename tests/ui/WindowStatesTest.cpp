// The window in each state a family meets, checked through what a person would see.
#include "UiHarness.h"
#include "app/Formats.h"
#include "model/PlatformWords.h"
#include "state/BridgeAppState.h"
#include "state/UiLanguage.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

#include <gtest/gtest.h>

namespace quorva::uitest {
namespace {

const QString kExplanation = QString::fromUtf8(words::explanation);

QString phaseSymbol(const UiHarness& ui)
{
    return ui.find(QStringLiteral("phaseIcon"))->property("symbol").toString();
}

QStringList pickerEntries(const UiHarness& ui)
{
    QObject* picker = ui.find(QStringLiteral("childPicker"));
    QStringList names;
    for (int i = 0; i < picker->property("count").toInt(); ++i) {
        QString name;
        QMetaObject::invokeMethod(picker, "textAt", Q_RETURN_ARG(QString, name), Q_ARG(int, i));
        names << name;
    }
    return names;
}

// The rendered symbol has the check mark of our shield: open where the check runs, filled beside it.
bool showsCheckMark(UiHarness& ui, const QString& objectName)
{
    QQuickItem* icon = ui.item(objectName);
    if (!icon)
        return false;
    const QImage image = ui.window().grabWindow();
    // In the 16-unit drawing: the check's stroke passes (7.4, 9.5); (8, 4) is solid shield.
    const auto at = [&](qreal x, qreal y) {
        const QPointF point = icon->mapToScene(QPointF(x * icon->width() / 16, y * icon->height() / 16));
        return image.pixelColor((point * image.devicePixelRatio()).toPoint());
    };
    return at(7.4, 9.5) != at(8, 4);
}

// Paired with one child (chosen automatically) and a backup chosen through the dialog.
void pairAndChooseBackup(UiHarness& ui, const BackupOptions& options = {})
{
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(ui.writeBackup("backups", options));
}

TEST(WindowStates, FirstLaunchAsksForPairingWithoutMenu)
{
    UiHarness ui;
    ui.launch();
    ui.snapshot("first-launch");

    EXPECT_EQ(ui.state().phase(), Phase::needsPairing());
    EXPECT_TRUE(ui.shown("pairingCard"));
    EXPECT_FALSE(ui.shown("setupCard"));
    EXPECT_TRUE(ui.shown("privacyCard"));
    EXPECT_FALSE(ui.shown("headerMenuButton"));
    EXPECT_EQ(ui.text("appTitle"), "Quorva Bridge");
    EXPECT_TRUE(showsCheckMark(ui, "headerShield")) << "the shield carries a check";
    EXPECT_EQ(ui.text("statusMessageText"), QString::fromUtf8(words::pairFromFamilyApp));
    EXPECT_EQ(ui.text("statusDetailText"), kExplanation);
    EXPECT_EQ(phaseSymbol(ui), "circle.dotted");
    EXPECT_GT(ui.pixelsNear("phaseIcon", QColor(120, 120, 120), 40), 10) << "grey dots";
    EXPECT_FALSE(ui.shown("scanSpinner"));
    EXPECT_FALSE(ui.shown("failureAlert"));
    EXPECT_EQ(ui.find("pairingCodeField")->property("placeholderText").toString(), "PAIRING CODE");
    EXPECT_TRUE(ui.enabled("pairButton")); // always, even with an empty code
    EXPECT_EQ(ui.countReceived("children"), 0);
}

TEST(WindowStates, PairedAndReadyBeforeAnyScanKeepsTheExplanation)
{
    UiHarness ui;
    pairAndChooseBackup(ui);
    ui.snapshot("paired-ready");

    EXPECT_EQ(ui.state().phase(), Phase::ready());
    EXPECT_FALSE(ui.shown("pairingCard"));
    EXPECT_TRUE(ui.shown("setupCard"));
    EXPECT_TRUE(ui.shown("headerMenuButton"));
    EXPECT_EQ(ui.text("statusMessageText"), "Ready to scan Maya's iPhone");
    EXPECT_EQ(ui.text("statusDetailText"), kExplanation);
    EXPECT_EQ(phaseSymbol(ui), "checkmark.circle.fill");
    EXPECT_TRUE(ui.enabled("scanButton"));
    EXPECT_EQ(ui.find("childPicker")->property("currentText").toString(), "Maya");
    EXPECT_TRUE(ui.shown("backupSummary"));
    EXPECT_EQ(ui.text("backupDeviceName"), "Maya's iPhone");
    EXPECT_TRUE(ui.text("backupDateText").startsWith("Backed up "))
        << ui.text("backupDateText").toStdString();
    EXPECT_EQ(ui.find("backupStateIcon")->property("symbol").toString(), "checkmark.circle.fill");
    EXPECT_EQ(ui.text("chooseBackupButton"), "Choose a different backup");
}

TEST(WindowStates, ScanningShowsSpinnerAndDisablesTheScanButton)
{
    // The service takes its time with each batch, as a slow connection would.
    UiHarness ui({{kMaya, "Maya"}}, {.delayPerBatch = std::chrono::milliseconds(1500)});
    pairAndChooseBackup(ui, {.risky = 1});

    ui.click("scanButton");
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.countReceived("devices") == 1; }));
    ASSERT_EQ(ui.state().phase(), Phase::scanning());
    ui.snapshot("scanning");
    EXPECT_EQ(ui.text("statusMessageText"), QString::fromUtf8(words::scanning));
    EXPECT_EQ(phaseSymbol(ui), "arrow.triangle.2.circlepath.circle.fill");
    EXPECT_GT(ui.pixelsNear("phaseIcon", QColor("#007aff")), 20) << "blue arrows";
    EXPECT_TRUE(ui.shown("scanSpinner"));
    EXPECT_FALSE(ui.enabled("scanButton"));

    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));
    EXPECT_EQ(ui.state().phase(), Phase::ready());
    EXPECT_FALSE(ui.shown("scanSpinner"));
    EXPECT_TRUE(ui.enabled("scanButton"));
}

TEST(WindowStates, AfterAScanTheSummaryReportsTheCounts)
{
    UiHarness ui;
    pairAndChooseBackup(ui, {.benign = 3});
    ui.scanAndWait();
    ui.snapshot("after-scan");

    ASSERT_EQ(ui.state().phase(), Phase::ready()) << ui.state().phase().failureText().toStdString();
    const QString when = abbreviatedDateTime(ui.state().lastScanAtForDisplay());
    ASSERT_FALSE(when.isEmpty());
    EXPECT_EQ(ui.text("statusDetailText"),
              "Last checked " + when +
                  ". 3 recent incoming messages inspected locally. 0 new candidates sent for safety review.");
    EXPECT_TRUE(ui.text("statusMessageText").startsWith("Scan complete."));
    EXPECT_EQ(phaseSymbol(ui), "checkmark.circle.fill");
    EXPECT_GT(ui.pixelsNear("phaseIcon", QColor("#248a3d")), 20) << "a green check";
}

TEST(WindowStates, AGermanDesktopReadsGermanWithGermanNumbersThroughout)
{
    const UiLanguage language({QStringLiteral("de-DE")});
    UiHarness ui;
    ui.launch();
    EXPECT_EQ(ui.text("pairingTitle"), "1. Diesen Computer koppeln");
    ui.pair();
    ui.chooseBackupFolder(ui.writeBackup("backups", {.benign = 200, .risky = 1000}));
    EXPECT_EQ(ui.text("statusMessageText"), "Bereit, Maya's iPhone zu scannen");
    ui.scanAndWait();
    ui.snapshot("after-scan-german");

    ASSERT_EQ(ui.state().phase(), Phase::ready()) << ui.state().phase().failureText().toStdString();
    // The status line and the line below it write their numbers alike, as German does.
    EXPECT_EQ(ui.text("statusMessageText"), "Scan abgeschlossen. 1.000 gezielte Kandidaten von Quorva geprüft.");
    const QString when = abbreviatedDateTime(ui.state().lastScanAtForDisplay(), language.locale());
    EXPECT_EQ(ui.text("statusDetailText"),
              "Zuletzt geprüft: " + when +
                  ". Kürzlich eingegangene Nachrichten, lokal geprüft: 1.200. Neue Kandidaten zur "
                  "Sicherheitsprüfung gesendet: 1.000.");
}

TEST(WindowStates, BackupWithoutDateAndEncryptedBackup)
{
    UiHarness ui;
    pairAndChooseBackup(ui, {.deviceName = "Leo's iPhone", .encrypted = true});
    ui.snapshot("encrypted-backup");
    EXPECT_EQ(ui.text("backupDeviceName"), "Leo's iPhone");
    EXPECT_EQ(ui.find("backupStateIcon")->property("symbol").toString(),
              "lock.trianglebadge.exclamationmark");
    EXPECT_GT(ui.pixelsNear("backupStateIcon", QColor("#b35900")), 10) << "an orange lock";
    EXPECT_EQ(ui.text("statusMessageText"), QString::fromUtf8(words::encryptedBackupChosen));
    EXPECT_EQ(phaseSymbol(ui), "lock.trianglebadge.exclamationmark") << "a warning, not a green check";
    EXPECT_GT(ui.pixelsNear("phaseIcon", QColor("#b35900")), 10);
    EXPECT_TRUE(ui.enabled("scanButton")); // the scan itself refuses it

    // Discovery dates every backup (the folder's own date at worst), so a summary without a date
    // is shown with the state's display form of such a backup.
    QQmlEngine* engine = qmlEngine(ui.find("contentView"));
    QQmlComponent component(engine, QUrl(QStringLiteral("qrc:/qt/qml/Quorva/Bridge/BackupSummary.qml")));
    const QVariantMap undated{
        {"deviceName", "Maya's iPhone"}, {"lastBackupAt", QDateTime()}, {"isEncrypted", false}};
    std::unique_ptr<QObject> summary(component.createWithInitialProperties({{"backup", undated}}));
    ASSERT_NE(summary, nullptr) << component.errorString().toStdString();
    qobject_cast<QQuickItem*>(summary.get())->setParentItem(ui.item("setupCard"));
    EXPECT_EQ(summary->findChild<QObject*>("backupDateText")->property("text").toString(),
              "Backup date unavailable");
    EXPECT_EQ(summary->findChild<QObject*>("backupStateIcon")->property("symbol").toString(),
              "checkmark.circle.fill");
}

TEST(WindowStates, EmptyChildrenLeaveOnlyChooseAChild)
{
    UiHarness ui(std::vector<BridgeChild>{});
    ui.launch();
    ui.pair();
    ui.snapshot("empty-children");

    EXPECT_EQ(ui.state().phase(), Phase::needsSetup());
    EXPECT_EQ(pickerEntries(ui), QStringList{"Choose a child"});
    EXPECT_EQ(ui.find("childPicker")->property("currentText").toString(), "Choose a child");
    EXPECT_FALSE(ui.shown("backupSummary"));
    EXPECT_EQ(ui.text("chooseBackupButton"), "Choose backup folder");
    EXPECT_FALSE(ui.enabled("scanButton"));
}

TEST(WindowStates, TextsFromBackupsAndTheServiceAreShownVerbatim)
{
    UiHarness ui({{kMaya, "<b>Maya</b>"}, {kLeo, "Leo"}});
    pairAndChooseBackup(ui, {.deviceName = "<i>Maya</i> <img src=\"http://127.0.0.1:1/x.png\">"});

    // Rich text would drop the markup (and fetch the image): plain text keeps every character.
    auto* name = ui.item("backupDeviceName");
    ASSERT_NE(name, nullptr);
    const QFontMetricsF metrics(name->property("font").value<QFont>());
    EXPECT_NEAR(name->property("contentWidth").toReal(),
                metrics.horizontalAdvance(ui.text("backupDeviceName")), 2);
    EXPECT_EQ(pickerEntries(ui), (QStringList{"Choose a child", "<b>Maya</b>", "Leo"}));
}

} // namespace
} // namespace quorva::uitest
