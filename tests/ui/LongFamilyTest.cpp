// A very long family, as the window shows it.
#include "UiHarness.h"

namespace quorva::uitest {
namespace {

int rowsMade(QQuickItem* item)
{
    int made = item->objectName().startsWith(QStringLiteral("childRow-"));
    for (QQuickItem* child : item->childItems())
        made += rowsMade(child);
    return made;
}

// A family as long as a school's: the card makes the rows in sight, not a thousand, the status
// card names the first few children who need the parent and counts the rest, and Tab still
// goes from child to child in order, each coming on screen.
TEST(LongFamily, OnlyTheRowsInSightAreMadeAndTabGoesThroughThemInOrder)
{
    UiHarness ui;
    ui.config.children.clear();
    for (int i = 0; i < 1000; ++i)
        ui.config.children.push_back({"child-" + std::to_string(i), "Child " + std::to_string(i)});
    ui.launch();
    ui.pair();
    ui.chooseBackupFolder(ui.familyBackups());
    ASSERT_EQ(ui.state().childProfiles().size(), 1000U);
    EXPECT_LT(rowsMade(ui.window().contentItem()), 60);
    EXPECT_EQ(ui.text("attentionLine-4"), "Child 4 has no iPhone assigned.");
    EXPECT_EQ(ui.find("attentionLine-5"), nullptr);
    EXPECT_EQ(ui.text("attentionMore"), "… and 998 more.");

    ASSERT_TRUE(ui.tabTo(UiHarness::picker("child-0")));
    for (int i = 1; i < 40; ++i) {
        const QString next = UiHarness::picker("child-" + std::to_string(i));
        for (int press = 0; press < 4 && ui.focused() != next; ++press)
            ui.press(Qt::Key_Tab);
        ASSERT_EQ(ui.focused(), next);
        UiHarness::spin(std::chrono::milliseconds(20));
        QQuickItem* picker = ui.item(next);
        const QRectF shown = picker->mapRectToScene(picker->boundingRect());
        EXPECT_TRUE(QRectF(0, 0, ui.window().width(), ui.window().height()).contains(shown))
            << next.toStdString();
    }
    // And back up again, past rows the list made anew.
    for (int i = 38; i >= 0; --i) {
        const QString previous = UiHarness::picker("child-" + std::to_string(i));
        for (int press = 0; press < 4 && ui.focused() != previous; ++press)
            ui.press(Qt::Key_Backtab);
        ASSERT_EQ(ui.focused(), previous);
    }
    EXPECT_LT(rowsMade(ui.window().contentItem()), 60);

    // A notification about a child far down opens the window at that child's row, which the
    // list had not made yet.
    ui.app().showWindowAt(UiHarness::picker("child-900"));
    for (int wait = 0; wait < 40 && ui.focused() != UiHarness::picker("child-900"); ++wait)
        UiHarness::spin(std::chrono::milliseconds(25));
    EXPECT_EQ(ui.focused(), UiHarness::picker("child-900"));
}

} // namespace
} // namespace quorva::uitest
