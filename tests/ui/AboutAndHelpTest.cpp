// The Help menu: the help page the metainfo names, the About window, and the hint for a family
// that has no child profiles yet.
#include "UiHarness.h"

#include <QDesktopServices>

namespace quorva::uitest {
namespace {

// Stands in for the browser: QDesktopServices hands web addresses to it.
class Browser : public QObject {
    Q_OBJECT

public:
    Browser() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~Browser() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened << url; }
};

bool inView(UiHarness& ui, const QString& name)
{
    QQuickItem* scroller = ui.item(QStringLiteral("contentScroller"));
    QQuickItem* target = ui.item(name);
    const QRectF area = target->mapRectToItem(scroller, target->boundingRect());
    return area.top() >= 0 && area.top() < scroller->height();
}

TEST(Help, F1OpensTheHelpPageAndAboutSaysVersionAndLicenceAndLeadsToThePrivacyNote)
{
    Browser browser;
    UiHarness ui;
    ui.launch();
    ui.press(Qt::Key_F1);
    ASSERT_TRUE(UiHarness::waitFor([&] { return !browser.opened.isEmpty(); })) << "no help page";
    EXPECT_EQ(browser.opened.constFirst(), QUrl(QStringLiteral("https://quorva.app/help/bridge")));

    ui.window().resize(860, 500); // the privacy note below the fold
    QMetaObject::invokeMethod(ui.find("helpMenu"), "open");
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("aboutMenuItem"); }));
    ui.click("aboutMenuItem");
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("aboutDialog"); }));
    EXPECT_TRUE(ui.text("aboutVersionText").contains(QRegularExpression("\\d+\\.\\d+\\.\\d+")))
        << ui.text("aboutVersionText").toStdString();
    EXPECT_TRUE(ui.text("aboutLicenceText").contains("All rights reserved"));
    EXPECT_FALSE(inView(ui, "privacyCard"));
    ui.savePicture(QStringLiteral("about"));

    // By keyboard: Tab to the privacy note's button, Space follows it.
    ASSERT_TRUE(ui.tabTo("aboutPrivacyButton")) << ui.focused().toStdString();
    ui.press(Qt::Key_Space);
    EXPECT_TRUE(UiHarness::waitFor([&] { return !ui.shown("aboutDialog"); }));
    EXPECT_TRUE(UiHarness::waitFor([&] { return inView(ui, "privacyCard"); }));
}

TEST(Help, AFamilyWithoutChildProfilesIsToldWhereToAddThemAndCanLookAgain)
{
    UiHarness ui;
    ui.config.children.clear();
    ui.launch();
    ui.pair();
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("noChildrenText"); }));
    EXPECT_TRUE(ui.text("noChildrenText").contains("Quorva Family"));
    const long before = ui.countReceived("children");
    ui.click("reloadChildrenButton");
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.countReceived("children") == before + 1; }));
}

} // namespace
} // namespace quorva::uitest

#include "AboutAndHelpTest.moc"
