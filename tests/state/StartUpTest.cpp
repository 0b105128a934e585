#include "BridgeFixture.h"

#include "model/PlatformWords.h"
#include "stores/BackupBookmarkStore.h"
#include "stores/DeviceBindingStore.h"

#include <gtest/gtest.h>

namespace quorva::test {
namespace {

using Names = std::vector<std::string>;
const QString kEarlierChildKey = QStringLiteral("bridge.selected-child-id");

TEST(StartUp, AFirstLaunchOnlyAsksForPairingAndAPairedOneReportsWhatIsMissingThenScansOnceAssigned)
{
    BridgeFixture harness;
    auto state = harness.makeState();
    EXPECT_EQ(state->phase(), Phase::starting());
    QCoro::waitFor(state->start());
    EXPECT_EQ(state->phase(), Phase::needsPairing());
    EXPECT_FALSE(state->hasToken());
    EXPECT_FALSE(state->hasAutomaticScanning());
    EXPECT_TRUE(harness.received().empty());
    harness.pair(*state);
    std::size_t before = harness.received().size();

    state = harness.makeState(); // the next launch
    QCoro::waitFor(state->start());
    EXPECT_EQ(state->phase(), Phase::needsSetup());
    EXPECT_TRUE(state->hasAutomaticScanning());
    const auto requests = harness.receivedSince(before);
    ASSERT_EQ(endpoints(requests), (Names{"children", "heartbeat"}));
    EXPECT_EQ(requests[1].body["status"], "error");
    EXPECT_EQ(requests[1].body["setupIssue"],
              std::string(words::setupIssue) + " Ava has no iPhone assigned.");

    // The next launch finds the folder, but nobody has said whose its iPhone is: nothing is read.
    BackupBookmarkStore(Preferences()).save(harness.writeBackup(harness.path("backup"), {.candidates = 2}));
    before = harness.received().size();
    state = harness.makeState();
    QCoro::waitFor(state->start());
    EXPECT_EQ(state->phase(), Phase::needsSetup());
    EXPECT_EQ(endpoints(harness.receivedSince(before)), (Names{"children", "heartbeat"}));

    // Once it is Ava's, every launch scans it.
    DeviceBindingStore(Preferences()).bind(BackupContent{}.udid, kAva);
    before = harness.received().size();
    state = harness.makeState();
    QCoro::waitFor(state->start());
    EXPECT_EQ(state->phase(), Phase::ready());
    EXPECT_EQ(state->lastCandidateCount(), 2);
    EXPECT_EQ(endpoints(harness.receivedSince(before)),
              (Names{"children", "devices", "ingest/batch", "heartbeat"}));
}

// An install from before iPhones were assigned kept one selected child: it names whose iPhone
// to propose, and binds nothing by itself.
TEST(StartUp, AnEarlierVersionsChildOnlyProposesItsIPhone)
{
    BridgeFixture family;
    family.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    family.pair(*family.makeState()); // in an earlier launch
    Preferences().setValue(kEarlierChildKey, QString::fromStdString(kBen));
    BackupBookmarkStore(Preferences()).save(family.writeBackup(family.path("backup"), {.candidates = 2}));

    const std::size_t before = family.received().size();
    auto state = family.makeState();
    QCoro::waitFor(state->start());
    EXPECT_TRUE(state->deviceBindings().empty());
    EXPECT_EQ(state->phase(), Phase::needsSetup());
    EXPECT_EQ(endpoints(family.receivedSince(before)), (Names{"children", "heartbeat"}));
    const auto& rows = state->overview().children;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_FALSE(rows[0].proposedDeviceId);
    EXPECT_EQ(rows[1].proposedDeviceId, BackupContent{}.udid);
    EXPECT_EQ(Preferences().value(kEarlierChildKey), QVariant(QString::fromStdString(kBen)));
}

} // namespace
} // namespace quorva::test
