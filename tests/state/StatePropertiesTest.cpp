#include "BridgeFixture.h"

#include "stores/BackupBookmarkStore.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace quorva::test {
namespace {

const QString kChildKey = QStringLiteral("bridge.selected-child-id");

TEST(StateProperties, TheSelectedChildIsStoredAtOnceAndRestoredAtCreation)
{
    BridgeFixture harness;
    auto state = harness.makeState();
    QSignalSpy changed(state.get(), &BridgeAppState::selectedChildIDChanged);
    QSignalSpy canScanChanged(state.get(), &BridgeAppState::canScanChanged);

    state->setSelectedChildIDFromDisplay(QStringLiteral("child-7"));
    EXPECT_EQ(harness.preference(kChildKey), QVariant(QStringLiteral("child-7")));
    state->setSelectedChildIDFromDisplay(QStringLiteral("child-7"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(canScanChanged.count(), 1);
    EXPECT_EQ(harness.makeState()->selectedChildIDForDisplay(), QStringLiteral("child-7"));

    state->setSelectedChildIDFromDisplay(QString());
    EXPECT_FALSE(harness.preference(kChildKey)); // removed, not an empty string
    EXPECT_FALSE(harness.makeState()->selectedChildID());
}

TEST(StateProperties, CanScanNeedsTokenChildAndBackupButNotAHealthyPhase)
{
    BridgeFixture harness;
    auto state = harness.makeState();
    harness.pair(*state);
    EXPECT_FALSE(state->canScan()); // no backup yet

    harness.nextChoice = harness.writeBackup(harness.path("backup"), {.encrypted = true});
    QCoro::waitFor(state->chooseBackupFolder());
    EXPECT_TRUE(state->canScan()); // an encrypted backup is the scan's to refuse
    QCoro::waitFor(state->scanNow());
    EXPECT_EQ(state->phase().kind(), Phase::Kind::failed);
    EXPECT_TRUE(state->canScan());

    QSignalSpy phases(state.get(), &BridgeAppState::phaseChanged);
    bool couldScanWhileScanning = true;
    QObject::connect(state.get(), &BridgeAppState::phaseChanged, [&] {
        if (state->phase() == Phase::scanning())
            couldScanWhileScanning = state->canScan();
    });
    std::filesystem::remove_all(harness.path("backup"));
    harness.writeBackup(harness.path("backup"), {.candidates = 1});
    QCoro::waitFor(state->scanNow());
    EXPECT_FALSE(couldScanWhileScanning);
    EXPECT_EQ(state->phase(), Phase::ready());
    EXPECT_EQ(phases.count(), 2); // scanning, then ready
}

} // namespace
} // namespace quorva::test
