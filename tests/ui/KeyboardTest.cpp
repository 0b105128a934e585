// The window by keyboard alone, as a parent who uses no mouse sees it: where the focus is, that
// it shows, that the column follows it and the page keys, and that F10 opens the menu.
#include "UiHarness.h"

#include <QQmlExpression>

namespace quorva::uitest {
namespace {

// How much of a focus mark in the theme's colour is drawn just outside the item, as a share of
// a 2 px line all around it.
double focusMark(UiHarness& ui, QQuickItem* target)
{
    const QColor mark = QQmlExpression(qmlContext(target), target, QStringLiteral("Theme.focusRing"))
                            .evaluate()
                            .value<QColor>();
    const QRect box = target->mapRectToScene(target->boundingRect()).toAlignedRect();
    return ui.pixelsNear(box.adjusted(-6, -6, 6, 6), mark, 40, box.adjusted(-1, -1, 1, 1)) /
           (2.0 * 2 * (box.width() + box.height()));
}

TEST(Keyboard, AfterPairingAndOnEveryTabStopTheFocusShowsA2PxMarkAndComesOnScreen)
{
    UiHarness ui;
    ui.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    ui.config.pairingCodes.push_back("XYZ789"); // for pairing again
    ui.launch();
    ui.window().resize(ui.window().minimumSize());
    ui.type("abc-123");
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().hasToken(); }));
    UiHarness::spin(std::chrono::milliseconds(100));
    ASSERT_NE(ui.window().activeFocusItem(), nullptr);
    EXPECT_GT(focusMark(ui, ui.window().activeFocusItem()), 0.8)
        << "right after pairing: " << ui.focused().toStdString();

    ui.chooseBackupFolder(ui.familyBackups());
    ui.assign("AVA", kAva);
    UiHarness::spin(std::chrono::milliseconds(100));
    QStringList visited;
    for (int i = 0; i < 30; ++i) {
        ui.press(Qt::Key_Tab);
        UiHarness::spin(std::chrono::milliseconds(30));
        QQuickItem* focused = ui.window().activeFocusItem();
        ASSERT_NE(focused, nullptr);
        const QString name = focused->objectName();
        if (visited.contains(name))
            break;
        visited << name;
        SCOPED_TRACE(name.toStdString());
        if (ui.item("contentScroller")->isAncestorOf(focused)) {
            EXPECT_TRUE(ui.inView(focused)) << "the column does not follow the focus";
        }
        EXPECT_GT(focusMark(ui, focused), 0.8) << "no 2 px focus mark";
    }
    EXPECT_TRUE(visited.contains("privacyCard")) << "never reached: " << visited.join(", ").toStdString();

    // Paired again after a disconnect, with the family's iPhones still assigned.
    ui.state().requestDisconnect();
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.focused() == "pairingCodeField"; }));
    ui.type("xyz789");
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().hasToken() && ui.shown("setupCard"); }));
    UiHarness::spin(std::chrono::milliseconds(100));
    ASSERT_NE(ui.window().activeFocusItem(), nullptr);
    EXPECT_GT(focusMark(ui, ui.window().activeFocusItem()), 0.8)
        << "paired again: " << ui.focused().toStdString();
}

TEST(Keyboard, PageKeysScrollTheWindowAndF10OpensItsMenu)
{
    UiHarness ui;
    ui.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(ui.familyBackups());
    ui.window().resize(ui.window().minimumSize());
    UiHarness::spin(std::chrono::milliseconds(50));
    ASSERT_TRUE(ui.tabTo("chooseBackupButton"));
    QQuickItem* scroller = ui.item("contentScroller");
    const auto contentY = [&] { return scroller->property("contentY").toReal(); };

    ui.press(Qt::Key_End);
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.inView("privacyCard"); })) << "End";
    ui.press(Qt::Key_Home);
    EXPECT_TRUE(UiHarness::waitFor([&] { return contentY() == 0; })) << "Home";
    ui.press(Qt::Key_PageDown);
    EXPECT_TRUE(UiHarness::waitFor([&] { return contentY() > scroller->height() / 2; })) << "Page Down";
    const qreal down = contentY();
    ui.press(Qt::Key_PageUp);
    EXPECT_TRUE(UiHarness::waitFor([&] { return contentY() < down; })) << "Page Up";

    auto* menu = ui.find("scanNowMenuItem")->property("menu").value<QObject*>();
    ASSERT_NE(menu, nullptr);
    ui.press(Qt::Key_F10);
    ASSERT_TRUE(UiHarness::waitFor([&] { return menu->property("opened").toBool(); })) << "F10";
    ui.press(Qt::Key_Escape);
    EXPECT_TRUE(UiHarness::waitFor([&] { return !menu->property("visible").toBool(); }));
}

} // namespace
} // namespace quorva::uitest
