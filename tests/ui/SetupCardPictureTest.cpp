// The set-up card of a family after a scan, as the README and the packaging show it: every text
// whole and the window within the screen, in whatever palette, language and scale the
// environment gives. With QUORVA_PICTURE set, the window is saved there as a PNG
// (scripts/screenshot --setup-family makes the packaging's pictures this way).
#include "UiHarness.h"
#include "platform/UiLanguage.h"

#include <QCoreApplication>
#include <QScreen>

namespace quorva::uitest {
namespace {

// Texts under `item` cut off by their width (elided or clipped to fewer lines).
void cutTexts(QQuickItem* item, QStringList& cut)
{
    if (!item->isVisible())
        return;
    if (item->inherits("QQuickText") && item->property("truncated").toBool())
        cut << item->property("text").toString();
    for (QQuickItem* child : item->childItems())
        cutTexts(child, cut);
}

TEST(SetupCard, AFamilysIPhonesAfterAScanAreShownWhole)
{
    const UiLanguage language; // the environment's, as the application takes it
    // The harness answers Qt's own folder dialog, also where the platform theme has a native one.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    UiHarness ui;
    const std::string maya = "child-maya";
    const std::string leo = "child-leo";
    ui.config.children = {{maya, "Maya"}, {leo, "Leo"}};
    const auto folder = ui.path("Backup");
    ui.writeBackup(folder / "MAYA",
                   {.udid = "MAYA", .deviceName = "Maya's iPhone", .candidates = 3, .benign = 40});
    ui.writeBackup(
        folder / "LEO",
        {.udid = "LEO", .deviceName = "Leo's iPhone", .candidates = 1, .benign = 25, .ageHours = 20});
    ui.writeBackup(folder / "DAD",
                   {.udid = "DAD", .deviceName = "Dad's iPhone", .benign = 60, .ageHours = 0.5});
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(folder);
    ui.assign("MAYA", maya);
    ui.assign("LEO", leo);
    ui.scanAndWait();
    ASSERT_EQ(ui.state().phase(), Phase::ready()) << ui.state().phase().failureText().toStdString();

    const QRect screen = ui.window().screen()->availableGeometry();
    EXPECT_EQ(ui.window().size().boundedTo(screen.size()), ui.window().size()) << "larger than the screen";
    // The card from its top, as far as the window shows it.
    QQuickItem* card = ui.item(QStringLiteral("setupCard"));
    QQuickItem* scroller = ui.item(QStringLiteral("contentScroller"));
    const qreal top = card->mapToItem(scroller->property("contentItem").value<QQuickItem*>(), QPointF()).y();
    const qreal bottom = scroller->property("contentHeight").toReal() - scroller->height();
    scroller->setProperty("contentY", std::clamp(top - 16, 0.0, std::max(0.0, bottom)));
    QTest::mouseMove(&ui.window(), QPoint(ui.window().width() - 1, ui.window().height() - 1));
    UiHarness::spin(std::chrono::milliseconds(300));

    QStringList cut;
    cutTexts(ui.window().contentItem(), cut);
    EXPECT_TRUE(cut.isEmpty()) << "cut off: " << cut.join(" | ").toStdString();
    for (const char* shown : {"unassigned-DAD", "lastScanText-child-maya", "lastScanText-child-leo"})
        EXPECT_TRUE(ui.shown(shown)) << shown;

    if (const QString picture = qEnvironmentVariable("QUORVA_PICTURE"); !picture.isEmpty()) {
        EXPECT_TRUE(ui.window().grabWindow().save(picture)) << picture.toStdString();
    }
}

} // namespace
} // namespace quorva::uitest
