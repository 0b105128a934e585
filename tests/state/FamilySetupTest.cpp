// Setting up the family: the folder, whose iPhone each backup is, and what Bridge says when the
// folder or the family changes.
#include "BridgeFixture.h"

#include "model/PlatformWords.h"
#include "stores/BackupBookmarkStore.h"
#include "stores/DeviceBindingStore.h"

#include <gtest/gtest.h>

namespace quorva::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
const QString kNoBackupText = QString::fromUtf8(words::noBackupFound);

bool mentions(const std::vector<Received>& requests, const std::string& text)
{
    const auto beats = bodiesOf(requests, "heartbeat");
    return !beats.empty() && beats.back()["setupIssue"].is_string() &&
           beats.back()["setupIssue"].get<std::string>().find(text) != std::string::npos;
}

bool saysAttention(const BridgeAppState& state, const QString& text)
{
    return state.attention().contains(text);
}

TEST(FolderChoice, TheFolderIsRememberedAndAnEmptyFolderOrACancelLeavesIt)
{
    BridgeFixture harness;
    auto state = harness.makeState();
    harness.pair(*state);
    const std::size_t before = harness.received().size();
    const auto first = harness.writeBackup(harness.path("single"), {.deviceName = "Maya's iPhone"});
    harness.nextChoice = first;
    QCoro::waitFor(state->chooseBackupFolder());
    EXPECT_EQ(state->backupFolder(), first);
    ASSERT_EQ(state->devices().size(), 1u);
    EXPECT_EQ(BackupBookmarkStore(Preferences()).resolve(), first);
    EXPECT_EQ(harness.received().size(), before); // neither a scan nor a heartbeat follows

    std::filesystem::create_directories(harness.path("empty"));
    harness.nextChoice = harness.path("empty");
    QCoro::waitFor(state->chooseBackupFolder());
    EXPECT_TRUE(test::failedWith(state->phase(), kNoBackupText));
    EXPECT_EQ(state->backupFolder(), first);
    EXPECT_EQ(BackupBookmarkStore(Preferences()).resolve(), first);

    harness.nextChoice.reset();
    QCoro::waitFor(state->chooseBackupFolder());
    EXPECT_EQ(harness.chooserRequests.size(), 3u);
    EXPECT_TRUE(test::failedWith(state->phase(), kNoBackupText)); // a cancel changes nothing
    EXPECT_EQ(state->backupFolder(), first);
}

TEST(FolderChoice, AFolderOfBackupsListsEveryIPhoneAndReadsNoneUntilAssigned)
{
    BridgeFixture harness;
    auto state = harness.makeState();
    harness.pair(*state);
    const auto parent = harness.path("MobileSync/Backup");
    harness.writeBackup(parent / "older", {.udid = "OLDER", .deviceName = "Old iPhone", .ageHours = 48});
    harness.writeBackup(parent / "newer", {.udid = "NEWER", .deviceName = "New iPhone", .ageHours = 2});
    harness.nextChoice = parent;
    QCoro::waitFor(state->chooseBackupFolder());

    EXPECT_EQ(state->devices().size(), 2u);
    EXPECT_TRUE(state->deviceBindings().empty());
    EXPECT_EQ(state->phase(), Phase::needsSetup());
    EXPECT_EQ(state->statusMessage(), QStringLiteral("Choose whose iPhone each backup is"));
    EXPECT_FALSE(state->canScan());
    EXPECT_EQ(BackupBookmarkStore(Preferences()).resolve(), parent); // the folder, not a backup inside it

    ASSERT_TRUE(state->assignDevice("OLDER", kAva));
    EXPECT_EQ(state->phase(), Phase::ready());
    EXPECT_TRUE(state->canScan());
}

// A folder holding only Dad's iPhone, Ava the only child: the iPhone is offered, and read only
// once the parent says it is Ava's. Her own iPhone appearing later is said.
TEST(ALoneIPhone, IsProposedButNeverBoundWithoutTheParentsWord)
{
    BridgeFixture harness;
    auto state = harness.makeState();
    harness.pair(*state);
    const auto folder = harness.path("family");
    harness.writeBackup(folder / "DAD", {.udid = "DAD", .deviceName = "Dad's iPhone", .candidates = 6});
    harness.nextChoice = folder;
    QCoro::waitFor(state->chooseBackupFolder());

    ASSERT_EQ(state->overview().children.size(), 1u);
    EXPECT_EQ(state->overview().children[0].proposedDeviceId, "DAD");
    EXPECT_TRUE(state->deviceBindings().empty());
    const auto scanned = harness.scan(*state); // as the 30-minute loop would
    EXPECT_EQ(endpoints(scanned), Names{"heartbeat"});
    EXPECT_TRUE(state->deviceBindings().empty());
    EXPECT_EQ(recordedIds("DAD").size(), 0u);

    harness.writeBackup(folder / "AVA", {.udid = "AVA", .deviceName = "Ava's iPhone", .candidates = 1});
    QCoro::waitFor(state->restoreBackupSelection());
    EXPECT_FALSE(state->overview().children[0].proposedDeviceId) << "two candidates: no guess";
    EXPECT_TRUE(saysAttention(
        *state, QStringLiteral("Ava's iPhone is in the backup folder and not assigned to anyone.")));

    // The parent's own iPhone, set aside, is no longer news.
    ASSERT_TRUE(state->assignDevice("DAD", std::nullopt));
    EXPECT_FALSE(saysAttention(
        *state, QStringLiteral("Dad's iPhone is in the backup folder and not assigned to anyone.")));
    ASSERT_TRUE(state->assignDevice("AVA", kAva));
    const auto assigned = harness.scan(*state);
    EXPECT_EQ(endpoints(assigned), (Names{"devices", "ingest/batch", "heartbeat"}));
    EXPECT_EQ(bodiesOf(assigned, "devices").at(0)["externalDeviceId"], "AVA");
    EXPECT_TRUE(bodiesOf(assigned, "heartbeat").at(0)["setupIssue"].is_null());
    EXPECT_TRUE(state->attention().isEmpty());
}

// Ava's iPhone is read. A new iPhone in the folder, an assigned one gone from it, and a child
// who left the family are each said, in the status and the heartbeat, and Ava's scan goes on.
struct AssignedFamily : ::testing::Test {
    BridgeFixture harness;
    std::unique_ptr<BridgeAppState> state;
    fs::path folder = harness.path("family");

    void SetUp() override
    {
        harness.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
        state = harness.makeState();
        harness.pair(*state);
        harness.writeBackup(folder / "AVA", {.udid = "AVA", .deviceName = "Ava's iPhone", .candidates = 1});
        harness.writeBackup(folder / "BEN", {.udid = "BEN", .deviceName = "Ben's iPhone", .candidates = 1});
        harness.nextChoice = folder;
        QCoro::waitFor(state->chooseBackupFolder());
        ASSERT_TRUE(state->assignDevice("AVA", kAva));
        ASSERT_TRUE(state->assignDevice("BEN", kBen));
    }
};

TEST_F(AssignedFamily, ANewIPhoneInTheFolderIsSaidAndAnOldUnassignedOneIsNot)
{
    harness.writeBackup(folder / "LEA", {.udid = "LEA", .deviceName = "Léa's iPhone", .ageHours = 3});
    harness.writeBackup(folder / "OLD", {.udid = "OLD", .deviceName = "Old iPhone", .ageHours = 15 * 24});
    const auto requests = harness.scan(*state);

    const std::string news = "Léa's iPhone is in the backup folder and not assigned to anyone.";
    EXPECT_EQ(endpoints(requests),
              (Names{"devices", "ingest/batch", "devices", "ingest/batch", "heartbeat"}));
    EXPECT_EQ(bodiesOf(requests, "heartbeat").at(0)["status"], "active");
    EXPECT_EQ(bodiesOf(requests, "heartbeat").at(0)["setupIssue"], news);
    EXPECT_EQ(state->phase(), Phase::ready());
    EXPECT_TRUE(state->statusMessage().contains(QString::fromStdString(news)));
    EXPECT_EQ(state->attention(), QStringList{QString::fromStdString(news)});
}

TEST_F(AssignedFamily, AnAssignedIPhoneMissingFromANewlyChosenFolderIsSaid)
{
    const auto other = harness.path("other");
    harness.writeBackup(other / "AVA", {.udid = "AVA", .deviceName = "Ava's iPhone", .candidates = 1});
    harness.nextChoice = other;
    QCoro::waitFor(state->chooseBackupFolder());
    const QString missing = QStringLiteral("The iPhone assigned to Ben is not in the backup folder.");
    EXPECT_TRUE(saysAttention(*state, missing));
    EXPECT_EQ(state->phase(), Phase::ready()); // Ava's is still there to read

    const auto requests = harness.scan(*state);
    EXPECT_EQ(endpoints(requests), (Names{"devices", "ingest/batch", "heartbeat"}));
    EXPECT_TRUE(mentions(requests, missing.toStdString()));
}

TEST_F(AssignedFamily, AChildWhoLeftTheFamilyIsSaidAndTheOthersAreStillRead)
{
    // Ben's profile was removed in the family app: the service no longer lists him.
    harness.service().removeChild(kBen);
    QCoro::waitFor(state->loadChildren());
    ASSERT_EQ(state->childProfiles().size(), 1u);

    const auto requests = harness.scan(*state);
    const std::string left =
        "Ben's iPhone is assigned to a child who is no longer in your family on Quorva, so it "
        "is not read. Assign it to another child or to no one.";
    EXPECT_EQ(endpoints(requests), (Names{"devices", "ingest/batch", "heartbeat"}));
    EXPECT_EQ(bodiesOf(requests, "devices").at(0)["childId"], kAva);
    EXPECT_EQ(bodiesOf(requests, "heartbeat").at(0)["status"], "active");
    EXPECT_TRUE(mentions(requests, left));
    EXPECT_EQ(state->phase(), Phase::ready());
    EXPECT_EQ(DeviceBindingStore(Preferences()).childOf("BEN"), kBen) << "the parent decides, not a scan";
}

} // namespace
} // namespace quorva::test
