#include "BridgeFixture.h"

#include "state/ComputerName.h"

#include <QSysInfo>

#include <gtest/gtest.h>

#include <fstream>

namespace quorva::test {
namespace {

TEST(ComputerName, ReadsThePrettyNameAsSystemdWritesIt)
{
    EXPECT_EQ(prettyHostname("PRETTY_HOSTNAME=\"Maya's Laptop\"\nCHASSIS=laptop\n"),
              QStringLiteral("Maya's Laptop"));
    EXPECT_EQ(prettyHostname("PRETTY_HOSTNAME='Family \"Den\" PC'\n"), QStringLiteral("Family \"Den\" PC"));
    EXPECT_EQ(prettyHostname("PRETTY_HOSTNAME=Den\\ PC\n"), QStringLiteral("Den PC"));
    EXPECT_EQ(prettyHostname("PRETTY_HOSTNAME=\"Say \\\"hi\\\"\"\n"), QStringLiteral("Say \"hi\""));
    EXPECT_EQ(prettyHostname("PRETTY_HOSTNAME=\"Caf\xC3\xA9\"\n"), QStringLiteral("Caf\u00E9"));
    EXPECT_TRUE(prettyHostname("# PRETTY_HOSTNAME=old\nCHASSIS=desktop\n").isEmpty());
    EXPECT_TRUE(prettyHostname("PRETTY_HOSTNAME=\n").isEmpty());
}

TEST(ComputerName, FallsBackToTheHostName)
{
    BridgeFixture harness;
    std::ofstream(harness.path("machine-info")) << "PRETTY_HOSTNAME=\"Den PC\"\n";
    EXPECT_EQ(computerName(harness.path("machine-info")), QStringLiteral("Den PC"));
    std::ofstream(harness.path("machine-info")) << "ICON_NAME=computer\n";
    EXPECT_EQ(computerName(harness.path("machine-info")), QSysInfo::machineHostName());
    EXPECT_EQ(computerName(harness.path("missing")), QSysInfo::machineHostName());
}

} // namespace
} // namespace quorva::test
