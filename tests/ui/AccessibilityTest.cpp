// What a screen reader gets: the window's accessibility tree, read through the interfaces the
// running AT-SPI bridge serves over D-Bus, and the events Qt raises for it.
#include "AtSpiClient.h"
#include "FakeBackupTool.h"
#include "FakeUsbmuxd.h"
#include "UiHarness.h"

#include <QAccessible>
#include <QTemporaryDir>

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
    // Until the window is gone, Qt's events come here instead of going out on the bus.
    const std::shared_ptr<void> handler(
        nullptr, [previous = QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
                      if (event->type() == QAccessible::NameChanged)
                          if (QAccessibleInterface* node = event->accessibleInterface())
                              announced << node->text(QAccessible::Name);
                  })](void*) { QAccessible::installUpdateHandler(previous); });
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

// What a switch-access or voice-control user and a screen reader get over the accessibility bus:
// every button does its job through AT-SPI's Press action, one that cannot act says it is
// disabled, a dialog's buttons are buttons, and the status line tells of each change.
TEST(Accessibility, OverTheAccessibilityBusEveryButtonPressesAndTheStatusLineSpeaks)
{
    if (!UiHarness::waitFor([] { return QAccessible::isActive(); }))
        GTEST_SKIP() << "no accessibility bridge: run with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 on X11";
    test::FakeUsbmuxd usbmuxd;
    QTemporaryDir bin;
    const QString tool = test::writeBackupTool(bin, "sleep 0.3\nexit 1\n");
    UiHarness ui;
    ui.useDevices(usbmuxd.address(), tool);
    ui.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    ui.launch();
    AtSpiClient reader;
    ASSERT_TRUE(reader.connected()) << "this process is not on the accessibility bus";
    reader.listen();
    const auto press = [&](const QString& name) {
        const auto node = reader.find(name);
        ASSERT_TRUE(node.has_value());
        EXPECT_TRUE(reader.doAction(*node, QStringLiteral("Press")))
            << "actions: " << reader.actions(*node).join(", ").toStdString();
    };

    // The alert a too-short code brings: its OK is a button, its row no page tab list.
    ui.press(Qt::Key_Return);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("failureAlert"); }));
    EXPECT_FALSE(reader.findIf([&](const AtSpiClient::Node& node) {
        return reader.roleName(node) == QStringLiteral("page tab list");
    })) << "a dialog's buttons are announced as tabs";
    press(QStringLiteral("OK"));
    EXPECT_TRUE(UiHarness::waitFor([&] { return !ui.shown("failureAlert"); }));

    ui.pair();
    const std::string avasPhone = BackupContent{}.udid;
    ui.chooseBackupFolder(ui.familyBackups(2, avasPhone));

    // The card's title is a heading, which a screen reader jumps between.
    const auto title = reader.find(ui.text("setupTitle"));
    ASSERT_TRUE(title.has_value());
    EXPECT_EQ(reader.roleName(*title), QStringLiteral("heading"));

    // Nothing to scan before an iPhone is assigned: the button says so, and pressing it is refused.
    {
        const auto scan = reader.find(QStringLiteral("Scan now"), QStringLiteral("push button"));
        ASSERT_TRUE(scan.has_value());
        const QStringList states = reader.states(*scan);
        EXPECT_FALSE(states.contains("enabled") || states.contains("sensitive"))
            << states.join(", ").toStdString();
        reader.doAction(*scan, QStringLiteral("Press"));
        UiHarness::spin(std::chrono::milliseconds(100));
        EXPECT_NE(ui.state().phase(), Phase::scanning());
        // The menu's command as well.
        ui.press(Qt::Key_F10);
        const auto command = reader.find(QStringLiteral("Scan now"), QStringLiteral("menu item"));
        ASSERT_TRUE(command.has_value());
        EXPECT_FALSE(reader.states(*command).contains("enabled"))
            << reader.states(*command).join(", ").toStdString();
        ui.press(Qt::Key_Escape);
    }

    // Each button, pressed through the bus, does what a click does.
    ui.assign(avasPhone, kAva);
    usbmuxd.attach(QString::fromStdString(avasPhone));
    const QString backUp = QStringLiteral("backUpButton-") + QString::fromStdString(kAva);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown(backUp); }));
    struct Case {
        QString button;
        std::function<bool()> done;
        std::function<void()> after = [] {};
    };
    const std::vector<Case> cases = {
        {"Launch Quorva Bridge when I log in", [&] { return ui.state().launchesAtLogin(); }},
        {"iPhone of Ben: No iPhone",
         [&] {
             return ui.find(UiHarness::picker(kBen))
                 ->property("popup")
                 .value<QObject*>()
                 ->property("opened")
                 .toBool();
         },
         [&] { ui.press(Qt::Key_Escape); }},
        {"Choose folder…", [&] { return ui.shown("backupFolderDialog"); },
         [&] { QMetaObject::invokeMethod(ui.find("backupFolderDialog"), "reject"); }},
        {"More options", [&] { return ui.shown("headerMenu"); }, [&] { ui.press(Qt::Key_Escape); }},
        {"Not a child's iPhone", [&] { return !ui.shown("noOnesButton-PARENT"); }},
        {"Back up now", [&] { return !ui.enabled(backUp); }},
        {"Scan now", [&] { return ui.state().phase() == Phase::scanning(); }},
    };
    reader.clearEvents();
    for (const Case& each : cases) {
        SCOPED_TRACE(each.button.toStdString());
        press(each.button);
        EXPECT_TRUE(UiHarness::waitFor(each.done)) << "pressing it did nothing";
        each.after();
        UiHarness::spin(std::chrono::milliseconds(100));
    }

    // The status line: a screen reader hears each new status without moving to it.
    ASSERT_TRUE(
        UiHarness::waitFor([&] { return ui.text("statusMessageText").startsWith("Scan complete."); }));
    UiHarness::spin(std::chrono::milliseconds(200));
    const auto status = reader.find(ui.text("statusMessageText"));
    ASSERT_TRUE(status.has_value()) << "the status line is not on the bus by its text";
    EXPECT_EQ(reader.roleName(*status), QStringLiteral("status bar"));
    QStringList heard;
    bool announced = false;
    for (const AtSpiClient::Event& event : reader.events()) {
        heard << event.kind + u' ' + event.path;
        announced |= event.path == status->path.path() && event.kind == "PropertyChange:accessible-name";
    }
    EXPECT_TRUE(announced) << "events: " << heard.join("; ").toStdString();

    // The menu's command, pressed through the bus, scans as Ctrl+R does, and the menu closes.
    ui.press(Qt::Key_F10);
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.shown("scanNowMenuItem"); }))
        << "F10, focus on " << ui.focused().toStdString();
    const auto command = reader.find(QStringLiteral("Scan now"), QStringLiteral("menu item"));
    ASSERT_TRUE(command.has_value());
    EXPECT_TRUE(reader.doAction(*command, QStringLiteral("Press")))
        << "actions: " << reader.actions(*command).join(", ").toStdString();
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() == Phase::scanning(); }));
    EXPECT_TRUE(UiHarness::waitFor([&] { return !ui.shown("scanNowMenuItem"); }));
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.state().phase() != Phase::scanning(); }));

    // Closing the window releases its scene while the screen reader still listens; Bridge
    // stays, and the window comes back on the bus.
    ui.closeWindow();
    ui.app().showWindow();
    EXPECT_TRUE(UiHarness::waitFor(
        [&] { return reader.find(QStringLiteral("Scan now"), QStringLiteral("push button")).has_value(); }));
}

} // namespace
} // namespace quorva::uitest
