// The tray item as the desktop's panel reads it over the StatusNotifier protocol: its name and
// icon, whether something needs the parent and why, and its menu.
#include "FakeDesktop.h"
#include "UiHarness.h"
#include "app/TrayIcon.h"
#include "platform/DBusMenu.h"
#include "platform/StatusNotifierItem.h"

#include <QDBusObjectPath>

namespace quorva::uitest {
namespace {

const QString kItem = QStringLiteral("org.kde.StatusNotifierItem");

// The tooltip's text, as a host reads it.
QString toolTipText(const QVariant& value)
{
    return qdbus_cast<SniToolTip>(value).text;
}

// The menu's entries {id, label} in order, separators as empty labels.
std::vector<std::pair<int, QString>> menuOf(const QString& service, const QString& path)
{
    const QVariantList reply = busCall(service, path, QStringLiteral("com.canonical.dbusmenu"),
                                       QStringLiteral("GetLayout"), {0, -1, QStringList()});
    std::vector<std::pair<int, QString>> entries;
    if (reply.size() == 2)
        for (const DBusMenuLayout& entry : qdbus_cast<DBusMenuLayout>(reply.at(1)).children)
            entries.emplace_back(entry.id, entry.properties.value(QStringLiteral("label")).toString());
    return entries;
}

TEST(Tray, TheItemNamesBridgeAndAsksForThePanelsAttentionWithTheReasonWhileTheParentIsNeeded)
{
    FakeDesktop desktop({});
    UiHarness ui;
    const auto folder = ui.backup();
    ui.launch(QuorvaBridgeApp::Start::inBackground);
    TrayIcon tray(ui.app());
    tray.showWhereAvailable();
    ASSERT_TRUE(UiHarness::waitFor([&] { return !desktop.trayItems().empty(); })) << "not registered";
    const auto [service, path] = desktop.trayItems().front();
    const auto property = [&](const char* name) {
        return busProperty(service, path, kItem, QString::fromLatin1(name));
    };
    EXPECT_EQ(property("Title").toString(), "Quorva Bridge");
    EXPECT_EQ(property("Id").toString(), QUORVA_APP_ID);
    EXPECT_EQ(property("IconName").toString(), QUORVA_APP_ID);
    EXPECT_EQ(property("Status").toString(), "Active");

    ui.pair();
    QCoro::waitFor(ui.state().useBackupFolder(folder));
    const QString waiting =
        QStringLiteral("Maya's iPhone is in the backup folder and not assigned to anyone.");
    EXPECT_EQ(property("Status").toString(), "NeedsAttention");
    EXPECT_FALSE(property("AttentionIconName").toString().isEmpty());
    EXPECT_TRUE(toolTipText(property("ToolTip")).contains(waiting));

    ui.assign(BackupContent{}.udid);
    ui.scanAndWait();
    EXPECT_EQ(property("Status").toString(), "Active");
    EXPECT_FALSE(toolTipText(property("ToolTip")).contains(waiting));

    // Offline, the reason is the failure's own text.
    ui.stopService();
    ui.scanAndWait();
    EXPECT_EQ(property("Status").toString(), "NeedsAttention");
    EXPECT_TRUE(toolTipText(property("ToolTip")).contains(ui.state().phase().failureText()));

    // A click on the item shows the window; so does the panel's menu's Open.
    busCall(service, path, kItem, QStringLiteral("Activate"), {0, 0});
    ASSERT_TRUE(UiHarness::waitFor([&] { return ui.app().window() && ui.app().window()->isVisible(); }));
    ui.closeWindow();

    const auto menuPath = property("Menu").value<QDBusObjectPath>().path();
    const auto menu = menuOf(service, menuPath);
    ASSERT_EQ(menu.size(), 4U);
    EXPECT_EQ(menu[0].second, "Open");
    EXPECT_EQ(menu[1].second, "Scan now");
    EXPECT_EQ(menu[3].second, "Quit");
    busCall(service, menuPath, QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("Event"),
            {menu[0].first, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(QString())), 0U});
    EXPECT_TRUE(UiHarness::waitFor([&] { return ui.app().window() && ui.app().window()->isVisible(); }));
}

} // namespace
} // namespace quorva::uitest
