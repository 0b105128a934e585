// What a screen reader gets: the window's accessibility tree, read through the interfaces the
// running AT-SPI bridge serves over D-Bus, and the events Qt raises for it.
#include "UiHarness.h"

#include <QAccessible>

namespace quorva::uitest {
namespace {

// Every text drawn in the window, as a sighted parent reads it.
void shownTexts(QQuickItem* item, QStringList& texts)
{
    if (!item->isVisible() || item->opacity() == 0)
        return;
    if (item->inherits("QQuickText") && !item->property("text").toString().isEmpty())
        texts << item->property("text").toString();
    for (QQuickItem* child : item->childItems())
        shownTexts(child, texts);
}

// Checks the tree against the screen: every shown text is in it (a field's placeholder as the
// field's name), every control that takes the focus has a name, and nothing hidden is in it.
void checkTree(UiHarness& ui, const std::string& when)
{
    QStringList names;
    const std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        const QString name = node->text(QAccessible::Name);
        const QAccessible::State state = node->state();
        names << name;
        EXPECT_FALSE(state.invisible) << when << ": hidden but in the tree: " << name.toStdString();
        EXPECT_FALSE(state.focusable && !state.disabled && name.isEmpty())
            << when << ": a control without a name (role " << node->role() << ")";
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(&ui.window()));
    QStringList texts;
    shownTexts(ui.window().contentItem(), texts);
    EXPECT_GT(texts.size(), 8) << when;
    for (const QString& text : texts)
        EXPECT_TRUE(names.contains(text, Qt::CaseInsensitive))
            << when << ": not in the tree: " << text.toStdString();
}

TEST(Accessibility, AScreenReaderGetsEveryTextAndControlAndHearsTheStatusChange)
{
    // ctest runs this on X11 under Xvfb with the AT-SPI bridge always on (ui.accessibility).
    if (!UiHarness::waitFor([] { return QAccessible::isActive(); }))
        GTEST_SKIP() << "no accessibility bridge: run with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 on X11";
    static QStringList announced;
    QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
        if (event->type() == QAccessible::NameChanged)
            if (QAccessibleInterface* node = event->accessibleInterface())
                announced << node->text(QAccessible::Name);
    });
    UiHarness ui;
    ui.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    ui.launch();

    checkTree(ui, "first start");

    // A too-short code: the alert and its text are in the tree.
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("failureAlert"); }));
    checkTree(ui, "failure alert");
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return !ui.shown("failureAlert"); }));

    ui.pair();
    ui.chooseBackupFolder(ui.backup());
    EXPECT_TRUE(UiHarness::waitFor([&] { return announced.contains("Choose whose iPhone each backup is"); }))
        << "the new status is announced";
    checkTree(ui, "paired"); // the pairing card's field and button are gone with it

    ui.chooseBackupFolder(ui.familyBackups());
    ui.assign("AVA");
    ui.scanAndWait();
    checkTree(ui, "a family's iPhones"); // each child's picker is named after the child
}

} // namespace
} // namespace quorva::uitest
