// What Bridge reads from and writes to the desktop: the autostart entry and the computer's name.
#include "BridgeFixture.h"

#include "model/PlatformError.h"
#include "platform/ComputerName.h"
#include "platform/LoginItem.h"

#include <QSysInfo>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace quorva::test {
namespace {

using Status = LoginItem::Status;

TEST(LoginItem, QuotesTheCommandAsDesktopEntriesRequire)
{
    EXPECT_EQ(LoginItem::execValue({"/opt/quorva/quorva-bridge"}), "/opt/quorva/quorva-bridge");
    EXPECT_EQ(LoginItem::execValue({"/home/a b/quorva-bridge", "--x"}), R"("/home/a b/quorva-bridge" --x)");
    // Inside quotes ", `, $ and \ are escaped, and every backslash is escaped once more for the file.
    EXPECT_EQ(LoginItem::execValue({R"(/a"b`c$d\e)"}), R"("/a\\"b\\`c\\$d\\\\e")");
    EXPECT_EQ(LoginItem::execValue({"/100%/run", ""}), R"(/100%%/run "")");
}

TEST(LoginItem, RegisteringAndUnregisteringFollowTheEntryAndWhatCannotBeDoneIsReported)
{
    BridgeFixture harness;
    const auto folder = harness.path("config/autostart");
    const LoginItem item(folder, {"/opt/Quorva Bridge/quorva-bridge"});
    EXPECT_EQ(item.status(), Status::notRegistered);

    item.registerItem();
    EXPECT_EQ(item.status(), Status::enabled);
    const std::string entry = (std::ostringstream() << std::ifstream(item.entryPath()).rdbuf()).str();
    // At log-in the application starts in the background, without its window.
    EXPECT_NE(entry.find("\nExec=\"/opt/Quorva Bridge/quorva-bridge\" --background\n"), std::string::npos);
    // Once the package is purged the program is gone; a desktop skips an entry whose TryExec
    // is missing instead of failing to start it at every log-in.
    EXPECT_NE(entry.find("\nTryExec=/opt/Quorva Bridge/quorva-bridge\n"), std::string::npos);

    // Desktops switch an entry off rather than deleting it.
    std::ofstream(item.entryPath())
        << "[Desktop Entry]\nType=Application\nExec=x\nX-GNOME-Autostart-enabled=false\n";
    EXPECT_EQ(item.status(), Status::notRegistered);
    std::ofstream(item.entryPath()) << "[Desktop Entry]\nType=Application\nExec=x\nHidden=true\n";
    EXPECT_EQ(item.status(), Status::notRegistered);

    item.unregisterItem();
    EXPECT_FALSE(std::filesystem::exists(item.entryPath()));
    EXPECT_EQ(item.status(), Status::notRegistered);
    EXPECT_NO_THROW(item.unregisterItem());

    // A file where the folder should be: no permission trick, so it holds for root too.
    std::ofstream(harness.path("blocked")) << "";
    const LoginItem blocked(harness.path("blocked") / "autostart", {"/usr/bin/true"});
    EXPECT_THROW(blocked.registerItem(), PlatformError);
    EXPECT_EQ(blocked.status(), Status::notRegistered);

    // The test program has no quorva-bridge beside it.
    const LoginItem missing(harness.path("autostart"));
    EXPECT_EQ(missing.status(), Status::notFound);
    EXPECT_THROW(missing.registerItem(), PlatformError);
}

// The switch and a refusal, as a person meets them: the window's Controls test.
TEST(LaunchAtLogin, TheSwitchIsReadFromTheRegistrationAtCreation)
{
    BridgeFixture harness;
    auto state = harness.makeState();
    EXPECT_FALSE(state->launchesAtLogin());
    state->setLaunchAtLogin(true);
    EXPECT_TRUE(harness.makeState()->launchesAtLogin());
    state->setLaunchAtLogin(false);
    EXPECT_FALSE(harness.makeState()->launchesAtLogin());
}

TEST(ComputerName, ReadsThePrettyNameAsSystemdWritesItOrFallsBackToTheHostName)
{
    EXPECT_EQ(prettyHostname("PRETTY_HOSTNAME=\"Maya's Laptop\"\nCHASSIS=laptop\n"),
              QStringLiteral("Maya's Laptop"));
    EXPECT_EQ(prettyHostname("PRETTY_HOSTNAME='Family \"Den\" PC'\n"), QStringLiteral("Family \"Den\" PC"));
    EXPECT_EQ(prettyHostname("PRETTY_HOSTNAME=\"Say \\\"hi\\\"\"\n"), QStringLiteral("Say \"hi\""));
    EXPECT_TRUE(prettyHostname("# PRETTY_HOSTNAME=old\nCHASSIS=desktop\n").isEmpty());
    EXPECT_TRUE(prettyHostname("PRETTY_HOSTNAME=\n").isEmpty());

    BridgeFixture harness;
    std::ofstream(harness.path("machine-info")) << "PRETTY_HOSTNAME=\"Den PC\"\n";
    EXPECT_EQ(computerName(harness.path("machine-info")), QStringLiteral("Den PC"));
    std::ofstream(harness.path("machine-info")) << "ICON_NAME=computer\n";
    EXPECT_EQ(computerName(harness.path("machine-info")), QSysInfo::machineHostName());
    EXPECT_EQ(computerName(harness.path("missing")), QSysInfo::machineHostName());
}

} // namespace
} // namespace quorva::test
