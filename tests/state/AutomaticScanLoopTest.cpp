#include "BridgeFixture.h"

#include "platform/ContinuousTimer.h"
#include "state/AutomaticScanLoop.h"

#include <QCoroTimer>

#include <gtest/gtest.h>

namespace quorva::test {
namespace {

using namespace std::chrono_literals;

TEST(ContinuousTimer, ADeadlineThatPassedFiresAtOnceAndStopCancels)
{
    ContinuousTimer timer;
    int fired = 0;
    QObject::connect(&timer, &ContinuousTimer::timeout, [&] { ++fired; });

    // As after a long suspend: the deadline lies behind the continuous clock.
    timer.startUntil(ContinuousTimer::now() - 2h);
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return fired == 1; }));
    EXPECT_FALSE(timer.isActive());

    timer.start(30ms);
    timer.stop();
    BridgeFixture::spin(80ms);
    EXPECT_EQ(fired, 1);

    timer.start(30ms);
    BridgeFixture::spin(10ms);
    EXPECT_EQ(fired, 1); // not early
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return fired == 2; }));
    BridgeFixture::spin(60ms);
    EXPECT_EQ(fired, 2); // and once only
}

QCoro::Task<> slowScan(int& started, int& finished)
{
    ++started;
    co_await QCoro::sleepFor(60ms);
    ++finished;
}

TEST(AutomaticScanLoop, ScansEveryIntervalAndNeverAgainOnceDestroyed)
{
    // A scan that takes a while, counting how often it started and ended. (The loop owns the
    // callback, so the coroutine is a function of its own, not the callback's body.)
    int started = 0, finished = 0;
    const auto run = [&] { return slowScan(started, finished); };
    {
        AutomaticScanLoop sleeping([&] { return true; }, run, std::chrono::hours(1));
    }
    BridgeFixture::spin(50ms);
    EXPECT_EQ(started, 0);

    auto scanning = std::make_unique<AutomaticScanLoop>([&] { return true; }, run, 10ms);
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return started == 1; })); // inside the first 60 ms scan
    scanning.reset();
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return finished == 1; }));
    BridgeFixture::spin(100ms);
    EXPECT_EQ(started, 1);
}

TEST(AutomaticScanning, DisconnectDuringASleepEndsTheLoopWithoutScanning)
{
    BridgeFixture harness;
    auto state = harness.readyState({.candidates = 1}, 150ms);
    ASSERT_TRUE(state->hasAutomaticScanning());
    const std::size_t before = harness.received().size();

    QCoro::waitFor(state->disconnect());
    EXPECT_FALSE(state->hasAutomaticScanning());
    BridgeFixture::spin(400ms);
    EXPECT_EQ(harness.received().size(), before);

    EXPECT_EQ(state->phase(), Phase::needsPairing());
    EXPECT_FALSE(harness.storedToken());
    EXPECT_FALSE(state->backupFolder());
    for (const char* key : {"bridge.selected-child-id", "bridge.backup-bookmark",
                            "bridge.uploaded-message-ids", "bridge.device-children"})
        EXPECT_FALSE(Preferences().value(QString::fromUtf8(key))) << key;
}

TEST(AutomaticScanning, SkipsTicksUntilSetUpIsCompleteThenScans)
{
    BridgeFixture harness;
    harness.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    auto state = harness.makeState(50ms);
    harness.pair(*state);
    ASSERT_EQ(state->phase(), Phase::needsSetup());
    BridgeFixture::spin(250ms);
    EXPECT_EQ(endpoints(harness.received()), (std::vector<std::string>{"redeem", "children", "heartbeat"}));

    harness.nextChoice = harness.writeBackup(harness.path("backup"), {.candidates = 1});
    QCoro::waitFor(state->chooseBackupFolder());
    BridgeFixture::spin(150ms);
    EXPECT_TRUE(bodiesOf(harness.received(), "devices").empty()) << "read before it was assigned";
    state->requestAssignChildDevice(QString::fromStdString(kBen),
                                    QString::fromStdString(BackupContent{}.udid));
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return !bodiesOf(harness.received(), "devices").empty(); }));
    const auto devices = bodiesOf(harness.received(), "devices");
    EXPECT_EQ(devices.front()["childId"], kBen);
}

TEST(AutomaticScanning, AStateDestroyedMidScanLeavesNothingRunning)
{
    BridgeFixture harness;
    auto state = harness.makeState(20ms);
    harness.pair(*state);
    harness.nextChoice = harness.writeBackup(harness.path("backup"), {.candidates = 150});
    QCoro::waitFor(state->chooseBackupFolder());
    ASSERT_TRUE(state->assignDevice(BackupContent{}.udid, kAva));
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return state->phase() == Phase::scanning(); }));
    state.reset();
    const std::size_t after = harness.received().size();
    BridgeFixture::spin(200ms);
    EXPECT_LE(harness.received().size(), after + 1); // at most the request already under way
}

} // namespace
} // namespace quorva::test

namespace quorva::test {
namespace {

// The family's backups live on a disk that is unplugged at one scan: that is said as such, the
// folder stays chosen, and the schedule scans by itself as soon as the disk is back.
TEST(AutomaticScanning, AnUnpluggedDiskIsWaitedForAndScannedOnceBack)
{
    BridgeFixture harness;
    auto state = harness.readyState({.candidates = 2}, std::chrono::milliseconds(200));
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return recordedIds().size() == 2; }));
    const auto disk = harness.path("backup");
    const auto away = harness.path("unplugged");
    std::filesystem::rename(disk, away);

    const std::size_t before = harness.received().size();
    QCoro::waitFor(state->scanNow());
    EXPECT_EQ(state->phase().kind(), Phase::Kind::failed);
    EXPECT_TRUE(state->phase().failureText().contains(QStringLiteral("cannot be reached now")))
        << state->phase().failureText().toStdString();
    EXPECT_EQ(state->backupFolder(), disk) << "still the family's folder";
    EXPECT_TRUE(state->canScan());
    const auto beats = bodiesOf(harness.receivedSince(before), "heartbeat");
    ASSERT_FALSE(beats.empty());
    EXPECT_EQ(beats.back()["status"], "error");
    EXPECT_EQ(beats.back()["setupIssue"].get<std::string>().find(disk.string()), std::string::npos)
        << "no local path leaves the computer";

    harness.writeBackup(away, {.candidates = 3});
    std::filesystem::rename(away, disk);
    EXPECT_TRUE(BridgeFixture::waitFor([&] { return recordedIds().size() == 3; }))
        << "not scanned after the disk came back: " << state->phase().failureText().toStdString();
    EXPECT_TRUE(BridgeFixture::waitFor(
        [&] { return state->phase() == Phase::ready(); })); // the next tick may be under way
}

} // namespace
} // namespace quorva::test
