// A family's computer: one folder holding several iPhones' backups, each child's own, a parent's,
// backups half written or weeks old.
#include "BridgeFixture.h"

#include "stores/UploadCheckpointStore.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <fstream>

namespace quorva::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const fs::path kMessagesFile = fs::path("3d") / "3d0d7e5fb2ce288813306e4d4636395e047a3d28";

// Ava and Ben paired; the folder holds a parent's iPhone, backed up last, and one of each child.
struct FamilyComputer {
    BridgeFixture harness;
    std::unique_ptr<BridgeAppState> state;
    fs::path folder = harness.path("backups");

    FamilyComputer()
    {
        harness.config.children = {{kAva, "Ava"}, {kBen, "Ben"}};
        state = harness.makeState();
        harness.pair(*state);
        harness.writeBackup(
            folder / "PARENT",
            {.udid = "PARENT", .deviceName = "Dad's iPhone", .candidates = 3, .ageHours = 0.1});
        harness.writeBackup(folder / "AVA",
                            {.udid = "AVA", .deviceName = "Ava's iPhone", .candidates = 2, .ageHours = 1});
        harness.writeBackup(folder / "BEN",
                            {.udid = "BEN", .deviceName = "Ben's iPhone", .candidates = 1, .ageHours = 2});
        harness.nextChoice = folder;
        QCoro::waitFor(state->chooseBackupFolder());
    }
};

std::vector<std::pair<std::string, std::string>> childAndDevice(const std::vector<nlohmann::json>& bodies)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& body : bodies)
        pairs.emplace_back(body["childId"], body["externalDeviceId"]);
    return pairs;
}

TEST(AFamilyFolder, WithNothingAssignedSendsNothingThenOnlyTheChildrensMessagesEachUnderItsOwnChild)
{
    FamilyComputer family;
    ASSERT_EQ(family.state->devices().size(), 3u);
    EXPECT_FALSE(family.state->canScan());

    const auto requests = family.harness.scan(*family.state);
    EXPECT_EQ(endpoints(requests), Names{"heartbeat"});
    const std::string waiting = "Choose whose iPhone each backup is. Waiting to be assigned: Dad's iPhone, "
                                "Ava's iPhone, Ben's iPhone.";
    EXPECT_EQ(bodiesOf(requests, "heartbeat").at(0)["status"], "error");
    EXPECT_EQ(bodiesOf(requests, "heartbeat").at(0)["setupIssue"], waiting);
    EXPECT_TRUE(test::failedWith(family.state->phase(), QString::fromStdString(waiting)));
    EXPECT_TRUE(family.state->deviceBindings().empty());
    EXPECT_EQ(recordedIds("AVA").size(), 0u);

    // Once each child's iPhone is assigned, only those are read.
    ASSERT_TRUE(family.state->assignDevice("AVA", kAva));
    ASSERT_TRUE(family.state->assignDevice("BEN", kBen));

    const auto assigned = family.harness.scan(*family.state);
    EXPECT_EQ(endpoints(assigned),
              (Names{"devices", "ingest/batch", "devices", "ingest/batch", "heartbeat"}));
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(childAndDevice(bodiesOf(assigned, "devices")), (Pairs{{kAva, "AVA"}, {kBen, "BEN"}}));
    const auto batches = bodiesOf(assigned, "ingest/batch");
    ASSERT_EQ(childAndDevice(batches), (Pairs{{kAva, "AVA"}, {kBen, "BEN"}}));
    for (const auto& item : batches[1]["items"])
        EXPECT_EQ(item["childId"], kBen);
    EXPECT_EQ(bodiesOf(assigned, "heartbeat").at(0)["status"], "active");
    EXPECT_EQ(recordedIds("AVA").size(), 2u);
    EXPECT_EQ(recordedIds("BEN").size(), 1u);
    EXPECT_EQ(recordedIds("PARENT").size(), 0u);

    // Ben's iPhone released: the next scan no longer registers or reads it.
    family.state->requestAssignChildDevice(QString::fromStdString(kBen), QString());
    family.harness.writeBackup(
        family.folder / "BEN",
        {.udid = "BEN", .deviceName = "Ben's iPhone", .candidates = 4, .ageHours = 0.5});
    const auto again = family.harness.scan(*family.state);
    EXPECT_EQ(childAndDevice(bodiesOf(again, "devices")), (Pairs{{kAva, "AVA"}}));
    EXPECT_EQ(recordedIds("BEN").size(), 1u);
}

TEST(AnUnfinishedOrOldBackup, IsOpenedOnlyOnceFinishedAndAnOldOneIsSaidToBeOldWithItsDate)
{
    BridgeFixture harness;
    auto state = harness.readyState({.candidates = 2, .snapshotState = "uploading"});
    // Mid-backup the manifest may be anything: here it is no database at all.
    const fs::path backup = harness.path("backup");
    std::ofstream(backup / "Manifest.db", std::ios::trunc) << "half written";

    const auto requests = harness.scan(*state);
    const std::string note =
        "A backup of Ava's iPhone is being written; Bridge checks it again at the next scan.";
    EXPECT_EQ(endpoints(requests), Names{"heartbeat"});
    EXPECT_EQ(bodiesOf(requests, "heartbeat").at(0)["status"], "active");
    EXPECT_EQ(bodiesOf(requests, "heartbeat").at(0)["setupIssue"], note);
    EXPECT_EQ(state->phase(), Phase::ready());

    // Finished, but weeks ago.
    harness.writeBackup(backup, {.candidates = 2, .ageHours = 20 * 24});
    const auto old = harness.scan(*state);
    EXPECT_EQ(endpoints(old), (Names{"devices", "ingest/batch", "heartbeat"}));
    EXPECT_EQ(state->lastCandidateCount(), 2);
    const QDate day = QDateTime::currentDateTimeUtc().addSecs(-20 * 24 * 3600).date();
    const QString oldNote =
        QStringLiteral("Ava's iPhone was last backed up on %1; there is nothing newer to check.")
            .arg(QLocale::c().toString(day, QStringLiteral("d MMM")));
    EXPECT_EQ(bodiesOf(old, "heartbeat").at(0)["status"], "active");
    EXPECT_EQ(bodiesOf(old, "heartbeat").at(0)["setupIssue"], oldNote.toStdString());
    EXPECT_TRUE(state->statusMessage().endsWith(oldNote)) << state->statusMessage().toStdString();

    // A fresh backup says nothing of age.
    harness.writeBackup(backup, {.candidates = 1});
    const auto fresh = harness.scan(*state);
    EXPECT_TRUE(bodiesOf(fresh, "heartbeat").at(0)["setupIssue"].is_null());
    EXPECT_FALSE(state->statusMessage().contains(QStringLiteral("last backed up")));
}

TEST(AnUnchangedBackup, IsNotReadAgainButStillRegisteredAndReported)
{
    BridgeFixture harness;
    auto state = harness.readyState({.candidates = 2});
    ASSERT_EQ(endpoints(harness.scan(*state)), (Names{"devices", "ingest/batch", "heartbeat"}));

    // Same size and time, but no database any more: a read would fail.
    const fs::path messages = harness.path("backup") / kMessagesFile;
    const auto size = fs::file_size(messages);
    const auto written = fs::last_write_time(messages);
    std::ofstream(messages, std::ios::binary | std::ios::trunc) << std::string(size, 'x');
    fs::last_write_time(messages, written);

    const auto requests = harness.scan(*state);
    EXPECT_EQ(endpoints(requests), (Names{"devices", "heartbeat"}));
    EXPECT_EQ(bodiesOf(requests, "heartbeat").at(0)["status"], "active");
    EXPECT_EQ(state->phase(), Phase::ready());
    EXPECT_EQ(recordedIds().size(), 2u);

    // A new backup is read again, and only what is new is sent.
    harness.writeBackup(harness.path("backup"), {.candidates = 3});
    const auto after = harness.scan(*state);
    EXPECT_EQ(endpoints(after), (Names{"devices", "ingest/batch", "heartbeat"}));
    EXPECT_EQ(state->lastInspectedCount(), 5);
}

} // namespace
} // namespace quorva::test
