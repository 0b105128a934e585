// The application end to end, driven only through its window and only by keyboard, as a
// parent who uses no mouse: pair, choose a child, choose the backup folder, scan, and read
// the outcome.
#include "UiHarness.h"

#include <QDir>
#include <QQmlProperty>

namespace quorva::uitest {
namespace {

// Answers the open folder dialog with `folder` by keyboard alone. Qt's own dialog, as on a
// desktop without a chooser of its own: Ctrl+L edits the path, Return goes there, Tab reaches
// the confirm button and Space presses it.
void answerFolderDialogByKeyboard(UiHarness& ui, const std::filesystem::path& folder)
{
    QObject* dialog = ui.openFolderDialog();
    ASSERT_NE(dialog, nullptr) << "no folder dialog";
    UiHarness::spin(std::chrono::milliseconds(100));
    ui.press(Qt::Key_L, Qt::ControlModifier);
    ui.press(Qt::Key_A, Qt::ControlModifier);
    ui.type(QString::fromStdString(folder.string()));
    ui.press(Qt::Key_Return);
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(folder.string()));
    ASSERT_TRUE(UiHarness::waitFor([&] { return dialog->property("currentFolder").toUrl() == url; }));
    const QString confirm = dialog->property("acceptLabel").toString();
    const auto focusedText = [&] {
        QQuickItem* focused = ui.window().activeFocusItem();
        return focused ? focused->property("text").toString() : QString();
    };
    for (int i = 0; i < 10 && focusedText() != confirm; ++i)
        ui.press(Qt::Key_Tab);
    ASSERT_EQ(focusedText(), confirm);
    ui.press(Qt::Key_Space);
}

// Within the visible part of the scrolling column.
bool inView(UiHarness& ui, const QString& objectName)
{
    QQuickItem* scroller = ui.item(QStringLiteral("contentScroller"));
    QQuickItem* target = ui.item(objectName);
    const QRectF area = target->mapRectToItem(scroller, target->boundingRect());
    return area.top() >= 0 && area.bottom() <= scroller->height();
}

TEST(EndToEnd, AParentWithOnlyAKeyboardPairsChoosesAndScans)
{
    UiHarness ui;
    ui.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    const auto backups = std::filesystem::path(QDir::homePath().toStdString()) / "iPhone backups";
    std::filesystem::create_directories(backups);
    std::filesystem::rename(ui.backup("staged", {.candidates = 2, .benign = 4}),
                            backups / "00008110-001A2B3C4D5E801E");

    ui.launch();
    // The smallest window, where the lower controls start out of sight.
    ui.window().resize(ui.window().minimumSize());
    EXPECT_EQ(ui.focused(), "pairingCodeField") << "the code field is ready for typing";
    ui.type("abc-123");
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() == Phase::needsSetup(); }));

    // Setup starts at the child: open the picker, go down to Ben, take him.
    EXPECT_EQ(ui.focused(), "childPicker");
    ui.press(Qt::Key_Space);
    ui.press(Qt::Key_Down);
    ui.press(Qt::Key_Down);
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().selectedChildID() == kBen; }));
    EXPECT_EQ(ui.find("childPicker")->property("currentText").toString(), "Ben");

    ASSERT_TRUE(ui.tabTo("chooseBackupButton"));
    auto* ring = ui.item("chooseBackupButton")->findChild<QQuickItem*>("focusRing");
    ASSERT_NE(ring, nullptr);
    EXPECT_TRUE(ring->isVisible());
    EXPECT_GT(ui.pixelsNear(ring, QQmlProperty::read(ring, "border.color").value<QColor>()), 100);
    ui.press(Qt::Key_Return);
    EXPECT_EQ(ui.openFolderDialog()->property("currentFolder").toUrl(), QUrl::fromLocalFile(QDir::homePath()))
        << "nothing chosen yet: the dialog opens at home";
    answerFolderDialogByKeyboard(ui, backups);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().selectedBackup().has_value(); }));
    UiHarness::spin(std::chrono::milliseconds(50)); // a person's pause, in which the column lays out anew

    ASSERT_TRUE(ui.tabTo("scanButton"));
    EXPECT_TRUE(inView(ui, "scanButton")) << "the view follows the focus";
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.text("statusMessageText").startsWith("Scan complete."); }))
        << ui.state().phase().failureText().toStdString();
    EXPECT_TRUE(ui.text("statusDetailText").contains("2 new candidates"))
        << ui.text("statusDetailText").toStdString();

    // The switch at the bottom comes into view before Space turns it on.
    ASSERT_TRUE(ui.tabTo("launchAtLoginSwitch"));
    EXPECT_TRUE(inView(ui, "launchAtLoginSwitch"));
    const auto* handle = ui.find("contentScrollBar")->property("contentItem").value<QQuickItem*>();
    EXPECT_GT(handle->opacity(), 0) << "the scroll bar shows that there is more";
    ui.press(Qt::Key_Space);
    EXPECT_TRUE(ui.state().launchesAtLogin());
}

} // namespace
} // namespace quorva::uitest
