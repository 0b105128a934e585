// What a screen reader gets: the window's accessibility tree, read through the interfaces the
// running AT-SPI bridge serves over D-Bus, and the events Qt raises for it.
#include "UiHarness.h"
#include "state/BridgeAppState.h"

#include <QAccessible>
#include <QQuickItem>
#include <QQuickWindow>

#include <gtest/gtest.h>

namespace quorva::uitest {
namespace {

struct Node {
    QAccessible::Role role;
    QString name;
    QAccessible::State state;
};

void collect(QAccessibleInterface* node, std::vector<Node>& nodes)
{
    if (!node || !node->isValid())
        return;
    nodes.push_back({node->role(), node->text(QAccessible::Name), node->state()});
    for (int i = 0; i < node->childCount(); ++i)
        collect(node->child(i), nodes);
}

std::vector<Node> accessibilityTree(QQuickWindow& window)
{
    std::vector<Node> nodes;
    collect(QAccessible::queryAccessibleInterface(&window), nodes);
    return nodes;
}

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

// Checks the tree against the screen: every shown text is there (a field's placeholder as its
// name), every control that takes the focus has a name, and nothing hidden is in it. Returns
// the names in the tree.
QStringList checkTree(UiHarness& ui, const std::string& when)
{
    QStringList names;
    for (const Node& node : accessibilityTree(ui.window())) {
        names << node.name;
        EXPECT_FALSE(node.state.invisible) << when << ": hidden but in the tree: " << node.name.toStdString()
                                           << " (role " << node.role << ")";
        EXPECT_FALSE(node.state.focusable && !node.state.disabled && node.name.isEmpty())
            << when << ": a control without a name (role " << node.role << ")";
    }
    QStringList texts;
    shownTexts(ui.window().contentItem(), texts);
    EXPECT_GT(texts.size(), 8) << when;
    for (const QString& text : texts)
        EXPECT_TRUE(names.contains(text, Qt::CaseInsensitive)) << when << ": not in the tree: " << text.toStdString();
    return names;
}

TEST(Accessibility, AScreenReaderGetsEveryTextAndControlAndHearsTheStatusChange)
{
    // ctest runs this on X11 under Xvfb with the AT-SPI bridge always on (ui.accessibility).
    if (!UiHarness::waitFor([] { return QAccessible::isActive(); }, std::chrono::seconds(5)))
        GTEST_SKIP() << "no accessibility bridge: run with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 on X11";
    static QStringList announced;
    QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
        if (event->type() == QAccessible::NameChanged)
            if (QAccessibleInterface* node = event->accessibleInterface())
                announced << node->text(QAccessible::Name);
    });
    UiHarness ui;
    ui.launch();

    const QStringList firstStart = checkTree(ui, "first start");
    EXPECT_TRUE(firstStart.contains("Pairing code")) << "the code field says what it is for";

    // A too-short code: the alert and its text are in the tree.
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("failureAlert"); }));
    checkTree(ui, "failure alert");
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return !ui.shown("failureAlert"); }));

    ui.pair();
    ui.chooseBackupFolder(ui.writeBackup("backups"));
    UiHarness::spin(std::chrono::milliseconds(100));
    const QStringList paired = checkTree(ui, "paired");
    EXPECT_TRUE(paired.contains("Maya's iPhone"));
    EXPECT_FALSE(paired.contains("Pair Mac")) << "the pairing card is gone from the tree";
    EXPECT_FALSE(paired.contains("Pairing code"));
    EXPECT_TRUE(announced.contains("Ready to scan Maya's iPhone")) << "the new status is announced";
}

} // namespace
} // namespace quorva::uitest
