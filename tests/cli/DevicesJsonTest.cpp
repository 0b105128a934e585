// What `devices --json` and `run --json` say of a backup made here: codes a script can act on,
// never the sentences the window shows, which come in the reader's language.
#include "BridgeFixture.h"
#include "FakeUsbmuxd.h"
#include "StateJson.h"

#include "devices/DeviceBackups.h"

#include <QCoroTask>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string_view>
#include <vector>

namespace quorva::test {
namespace {

const std::string kDadsPhone = "00008030-000C1D2E3F40002E";

struct ActivityCase {
    const char* name;
    QByteArray tool;    // the stand-in's shell lines
    bool dadsPhone;     // asked for the parent's own iPhone, which nobody is assigned
    nlohmann::json end; // the activity once the run has ended
    std::vector<nlohmann::json> underWay = {};
    operator std::string_view() const { return name; } // how gtest prints the row
};

class DeviceActivityJson : public ::testing::TestWithParam<ActivityCase> {};

TEST_P(DeviceActivityJson, IsAStageWithItsFigures)
{
    const ActivityCase& c = GetParam();
    FakeUsbmuxd usbmuxd;
    QTemporaryDir bin;
    BridgeFixture harness;
    const std::filesystem::path folder = harness.path("Backup");
    harness.writeBackup(folder / BackupContent{}.udid, {.candidates = 1, .ageHours = 20 * 24});
    harness.writeBackup(folder / kDadsPhone, {.udid = kDadsPhone, .deviceName = "Dad's iPhone"});
    QFile tool(bin.filePath("idevicebackup2"));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\n" + c.tool);
    tool.close();
    tool.setPermissions(tool.permissions() | QFile::ExeOwner);
    harness.backupTool = tool.fileName();
    harness.deviceWatcher =
        std::make_shared<DeviceWatcher>(DeviceWatcherOptions{.serviceAddress = usbmuxd.address()});
    harness.automaticBackups = false;
    auto state = harness.makeState();
    harness.pair(*state);
    harness.nextChoice = folder;
    QCoro::waitFor(state->chooseBackupFolder());
    ASSERT_TRUE(state->assignDevice(BackupContent{}.udid, kAva));
    QCoro::waitFor(state->start());
    const std::string phone = c.dadsPhone ? kDadsPhone : BackupContent{}.udid;
    usbmuxd.attach(QString::fromStdString(phone));
    DeviceBackups& backups = *state->deviceBackups();
    ASSERT_TRUE(
        BridgeFixture::waitFor([&] { return backups.status(QString::fromStdString(phone)).connected; }));

    const auto activityNow = [&] {
        for (const nlohmann::json& device : cli::devicesJson(*state))
            if (device["id"] == phone)
                return device["activity"];
        return nlohmann::json();
    };
    EXPECT_EQ(activityNow(), nullptr) << "nothing happened yet";
    std::vector<nlohmann::json> seen;
    QObject::connect(&backups, &DeviceBackups::statusChanged, [&] {
        if (const nlohmann::json now = activityNow(); seen.empty() || seen.back() != now)
            seen.push_back(now);
    });
    (void)QCoro::waitFor(backups.backUp(QString::fromStdString(phone)));

    EXPECT_EQ(activityNow(), c.end);
    for (const nlohmann::json& expected : c.underWay)
        EXPECT_NE(std::ranges::find(seen, expected), seen.end()) << expected.dump() << " not seen";
}

INSTANTIATE_TEST_SUITE_P(
    BackUpNow, DeviceActivityJson,
    ::testing::Values(
        ActivityCase{"Finished",
                     "sleep 0.2\nprintf '\\r[==  ]  42%% Finished'\nsleep 0.2\nmkdir -p \"$4/$2\"\n"
                     "printf '<plist version=\"1.0\"><dict><key>SnapshotState</key><string>finished</string>"
                     "<key>Date</key><date>%s</date></dict></plist>' \"$(date -u +%Y-%m-%dT%H:%M:%SZ)\" "
                     "> \"$4/$2/Status.plist\"\n",
                     false,
                     {{"stage", "finished"}},
                     {{{"stage", "waitingForPasscode"}}, {{"stage", "copying"}, {"percent", 42}}}},
        ActivityCase{
            "LeftLocked", "sleep 0.2\nexit 208\n", false, {{"stage", "failed"}, {"result", "locked"}}},
        ActivityCase{"ToolFailed",
                     "printf '\\r[=   ]   7%% Finished'\nexit 3\n",
                     false,
                     {{"stage", "failed"}, {"result", "failed"}, {"exitStatus", 3}}},
        ActivityCase{"NotAssigned", "exit 0\n", true, {{"stage", "refused"}, {"reason", "notAssigned"}}}),
    RowName());

} // namespace
} // namespace quorva::test
