#include "BridgeFixture.h"

#include "model/PlatformWords.h"
#include "stores/BackupBookmarkStore.h"

#include <gtest/gtest.h>

namespace quorva::test {
namespace {

const QString kChildKey = QStringLiteral("bridge.selected-child-id");

TEST(StartUp, AFirstLaunchOnlyAsksForPairingAndAPairedOneReportsWhatIsMissingThenScansOnceSetUp)
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
    ASSERT_EQ(endpoints(requests), (std::vector<std::string>{"children", "heartbeat"}));
    EXPECT_EQ(requests[1].body["status"], "error");
    EXPECT_EQ(requests[1].body["setupIssue"], words::setupIssue);

    // The next launch finds a backup too.
    BackupBookmarkStore(Preferences()).save(harness.writeBackup(harness.path("backup"), {.candidates = 2}));
    before = harness.received().size();
    state = harness.makeState();
    EXPECT_EQ(state->selectedChildID(), kAva); // restored from the preferences
    QCoro::waitFor(state->start());
    EXPECT_EQ(state->phase(), Phase::ready());
    EXPECT_EQ(state->lastCandidateCount(), 2);
    EXPECT_EQ(endpoints(harness.receivedSince(before)),
              (std::vector<std::string>{"children", "devices", "ingest/batch", "heartbeat"}));
}

TEST(StartUp, AStoredChildThatIsGoneIsReplacedOnlyWhenTheChoiceIsObvious)
{
    BridgeFixture harness;
    harness.pair(*harness.makeState()); // in an earlier launch
    Preferences().setValue(kChildKey, QStringLiteral("child-gone"));
    auto state = harness.makeState();
    EXPECT_EQ(state->selectedChildID(), "child-gone");
    QCoro::waitFor(state->start());
    EXPECT_EQ(state->selectedChildID(), kAva); // the only child
    EXPECT_EQ(Preferences().value(kChildKey), QVariant(QString::fromStdString(kAva)));

    BridgeFixture family;
    family.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
    family.pair(*family.makeState()); // in an earlier launch
    Preferences().setValue(kChildKey, QStringLiteral("child-gone"));
    state = family.makeState();
    QCoro::waitFor(state->start());
    EXPECT_EQ(state->childProfiles().size(), 2u);
    EXPECT_FALSE(state->selectedChildID());
    EXPECT_FALSE(Preferences().value(kChildKey)); // removed, not emptied
    EXPECT_EQ(state->phase(), Phase::needsSetup());

    // One of the children, stored, is kept at every start.
    Preferences().setValue(kChildKey, QString::fromStdString(kBen));
    state = family.makeState();
    QCoro::waitFor(state->start());
    EXPECT_EQ(state->selectedChildID(), kBen);
}

} // namespace
} // namespace quorva::test
