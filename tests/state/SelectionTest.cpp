// Choosing the child and the backup: what is kept, and when a scan may start.
#include "BridgeFixture.h"

#include "model/PlatformWords.h"
#include "stores/BackupBookmarkStore.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace quorva::test {
namespace {

const QString kNoBackupText = QString::fromUtf8(words::noBackupFound);
const QString kChildKey = QStringLiteral("bridge.selected-child-id");

TEST(FolderChoice, ASingleBackupFolderIsRememberedAndAnEmptyFolderOrACancelLeavesIt)
{
    BridgeFixture harness;
    auto state = harness.makeState();
    state->setSelectedChildID(kAva);
    const auto first = harness.writeBackup(harness.path("single"), {.deviceName = "Maya's iPhone"});
    harness.nextChoice = first;
    QCoro::waitFor(state->chooseBackupFolder());
    const auto chosen = state->selectedBackup();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->url, first);
    EXPECT_EQ(state->phase(), Phase::ready());
    EXPECT_EQ(BackupBookmarkStore(Preferences()).resolve(), first);
    EXPECT_TRUE(harness.received().empty()); // neither a scan nor a heartbeat follows

    std::filesystem::create_directories(harness.path("empty"));
    harness.nextChoice = harness.path("empty");
    QCoro::waitFor(state->chooseBackupFolder());
    EXPECT_EQ(state->phase(), Phase::failed(kNoBackupText));
    EXPECT_EQ(state->selectedBackup(), chosen);
    EXPECT_EQ(BackupBookmarkStore(Preferences()).resolve(), first);

    harness.nextChoice.reset();
    QCoro::waitFor(state->chooseBackupFolder());
    EXPECT_EQ(harness.chooserRequests.size(), 3u);
    EXPECT_EQ(state->phase(), Phase::failed(kNoBackupText)); // a cancel changes nothing
    EXPECT_EQ(state->selectedBackup(), chosen);
}

TEST(FolderChoice, AParentFolderGivesItsNewestBackupAndAnEncryptedOneIsFlagged)
{
    BridgeFixture harness;
    auto state = harness.makeState();
    const auto parent = harness.path("MobileSync/Backup");
    harness.writeBackup(parent / "older", {.udid = "OLDER", .deviceName = "Old iPhone", .ageHours = 48});
    harness.writeBackup(parent / "newer", {.udid = "NEWER", .deviceName = "New iPhone", .ageHours = 2});
    harness.nextChoice = parent;
    QCoro::waitFor(state->chooseBackupFolder());

    ASSERT_TRUE(state->selectedBackup());
    EXPECT_EQ(state->selectedBackup()->id, "NEWER");
    EXPECT_EQ(state->phase(), Phase::needsSetup());                  // no child chosen yet
    EXPECT_EQ(BackupBookmarkStore(Preferences()).resolve(), parent); // the folder, not the backup inside it

    state->setSelectedChildID(kAva);
    harness.writeBackup(parent / "newest", {.udid = "LOCKED", .ageHours = 1, .encrypted = true});
    QCoro::waitFor(state->chooseBackupFolder());
    EXPECT_TRUE(state->selectedBackup()->isEncrypted);
    EXPECT_EQ(state->phase(), Phase::ready());
}

TEST(StateProperties, TheSelectedChildIsStoredAtOnceAndRestoredAtCreation)
{
    BridgeFixture harness;
    auto state = harness.makeState();
    QSignalSpy changed(state.get(), &BridgeAppState::selectedChildIDChanged);
    QSignalSpy canScanChanged(state.get(), &BridgeAppState::canScanChanged);

    state->setSelectedChildIDFromDisplay(QStringLiteral("child-7"));
    EXPECT_EQ(Preferences().value(kChildKey), QVariant(QStringLiteral("child-7")));
    state->setSelectedChildIDFromDisplay(QStringLiteral("child-7"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(canScanChanged.count(), 1);
    EXPECT_EQ(harness.makeState()->selectedChildIDForDisplay(), QStringLiteral("child-7"));

    state->setSelectedChildIDFromDisplay(QString());
    EXPECT_FALSE(Preferences().value(kChildKey)); // removed, not an empty string
    EXPECT_FALSE(harness.makeState()->selectedChildID());
}

} // namespace
} // namespace quorva::test
