#include "BridgeFixture.h"

#include "ServiceError.h"

#include "model/BridgeClientError.h"
#include "stores/UploadCheckpointStore.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace quorva::test {
namespace {

using Names = std::vector<std::string>;

bool isTimeStamp(const nlohmann::json& value)
{
    static const std::regex form(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)");
    return value.is_string() && std::regex_match(value.get<std::string>(), form);
}

std::vector<std::string> itemIds(const std::vector<nlohmann::json>& batches)
{
    std::vector<std::string> ids;
    for (const auto& batch : batches)
        for (const auto& item : batch["items"])
            ids.push_back(item["clientItemId"]);
    return ids;
}

class Cycle : public ::testing::TestWithParam<int> {};

TEST_P(Cycle, RegistersTheDeviceThenSendsBatchesOfAHundredThenReports)
{
    const int n = GetParam();
    BridgeFixture harness;
    auto state = harness.readyState({.candidates = n, .benign = 3});
    const auto requests = harness.scan(*state);
    Names expected{"devices"};
    for (int sent = 0; sent < n; sent += 100)
        expected.push_back("ingest/batch");
    expected.push_back("heartbeat");
    ASSERT_EQ(endpoints(requests), expected);

    // The request bodies' form is the encoders' (WireTests); here what the cycle puts in.
    const auto device = requests.front().body;
    EXPECT_EQ(device["childId"], kAva);
    EXPECT_EQ(device["externalDeviceId"], BackupContent{}.udid);
    EXPECT_EQ(device["deviceName"], "Maya's iPhone");
    EXPECT_TRUE(isTimeStamp(device["lastScanAt"]));

    const auto batches = bodiesOf(requests, "ingest/batch");
    for (std::size_t b = 0; b < batches.size(); ++b) {
        EXPECT_EQ(batches[b]["items"].size(), std::min<std::size_t>(100, n - 100 * b));
        for (const char* member : {"childId", "externalDeviceId", "deviceName", "lastScanAt"})
            EXPECT_EQ(batches[b][member], device[member]) << member;
        EXPECT_EQ(batches[b]["lastProcessedItemHash"], batches[b]["items"].back()["clientItemId"]);
    }
    const auto ids = itemIds(batches);
    if (n > 0) {
        EXPECT_EQ(batches[0]["items"][0]["contentText"], "keep this secret 0"); // newest first
    }

    const auto heartbeat = requests.back().body;
    EXPECT_EQ(heartbeat["status"], "active");
    EXPECT_TRUE(heartbeat["setupIssue"].is_null());
    EXPECT_EQ(heartbeat["lastScanAt"], device["lastScanAt"]);
    const nlohmann::json absent = "(absent)";
    EXPECT_EQ(heartbeat.value("lastIngestAt", absent), n > 0 ? device["lastScanAt"] : absent);
    EXPECT_EQ(heartbeat.value("lastProcessedItemHash", absent), n > 0 ? nlohmann::json(ids.back()) : absent);
    EXPECT_EQ(state->phase(), Phase::ready());
    EXPECT_EQ(state->lastCandidateCount(), n);
    EXPECT_EQ(state->lastInspectedCount(), n + 3);
    EXPECT_EQ(state->totalAlertsCreated(), n);
    EXPECT_TRUE(state->lastScanAt());

    // Everything accepted is remembered: the next cycle has nothing new to send.
    EXPECT_EQ(endpoints(harness.scan(*state)), (Names{"devices", "heartbeat"}));
    EXPECT_EQ(state->lastCandidateCount(), 0);
    EXPECT_EQ(state->totalAlertsCreated(), n);
}

INSTANTIATE_TEST_SUITE_P(NewCandidates, Cycle, ::testing::Values(0, 100, 101, 250),
                         [](const auto& info) { return std::to_string(info.param); });

// Only an item of the batch that the service processed, or already had, counts as accepted:
// anything else goes again next cycle, since the service's ingest is idempotent.
TEST(ScanCycle, OnlyItemsTheServiceAcceptedAreRecorded)
{
    BridgeFixture harness;
    harness.config.faults.statusMarkers = {
        {"secret 0", "rejected"}, {"secret 1", "error"},       {"secret 2", ""},
        {"secret 3", "FAILED"},   {"secret 4", "quarantined"}, {"secret 5", "failed"}};
    harness.config.faults.answerForeignIds = true;
    auto state = harness.readyState({.candidates = 7});
    auto requests = harness.scan(*state);
    const auto sent = itemIds(bodiesOf(requests, "ingest/batch"));
    ASSERT_EQ(sent.size(), 7u);
    const std::string accepted = sent.back(); // newest first: "secret 6" is the oldest
    EXPECT_EQ(recordedIds(), std::vector<std::string>{accepted});
    EXPECT_EQ(bodiesOf(requests, "heartbeat").back()["lastProcessedItemHash"], accepted);
    EXPECT_EQ(state->phase(), Phase::ready());
    EXPECT_EQ(state->statusMessage(),
              QStringLiteral("Scan complete. Quorva accepted 1 of 7 focused candidates; "
                             "the others will be sent again at the next scan."));
    EXPECT_EQ(state->lastCandidateCount(), 7);

    requests = harness.scan(*state);
    EXPECT_EQ(itemIds(bodiesOf(requests, "ingest/batch")),
              std::vector<std::string>(sent.begin(), sent.end() - 1));
    EXPECT_FALSE(bodiesOf(requests, "heartbeat").back().contains("lastProcessedItemHash"));
    EXPECT_TRUE(bodiesOf(requests, "heartbeat").back().contains("lastIngestAt"));

    // An item the service already holds is answered "duplicate", which is as good as processed.
    UploadCheckpointStore(Preferences()).clear();
    QCoro::waitFor(state->scanNow());
    EXPECT_EQ(recordedIds(), std::vector<std::string>{accepted});
}

// The CLI asks the running application to scan while the application's own cycle uploads: the
// second scan waits for the first to end, then looks again, and no item goes out twice.
TEST(ScanCycle, AScanAskedForWhileOneRunsWaitsForItAndSendsNothingTwice)
{
    BridgeFixture harness;
    harness.config.faults.delayPerBatch = std::chrono::milliseconds(100);
    auto state = harness.readyState({.candidates = 250});
    const std::size_t before = harness.received().size();
    state->requestScanNow();
    ASSERT_EQ(state->phase(), Phase::scanning());
    QCoro::waitFor(state->scanNow());
    const auto requests = harness.receivedSince(before);
    const auto sent = itemIds(bodiesOf(requests, "ingest/batch"));
    EXPECT_EQ(sent.size(), 250u);
    EXPECT_EQ(std::set<std::string>(sent.begin(), sent.end()).size(), 250u);
    EXPECT_EQ(bodiesOf(requests, "heartbeat").size(), 2u); // the second cycle ran, with nothing new
    EXPECT_EQ(state->phase(), Phase::ready());
    EXPECT_EQ(recordedIds().size(), 250u);
}

TEST(ScanCycle, AFailingBatchRecordsNothingAndReportsTheError)
{
    BridgeFixture harness;
    harness.config.faults.failAfterBatches = 1;
    auto state = harness.readyState({.candidates = 250});
    const auto requests = harness.scan(*state);
    ASSERT_EQ(endpoints(requests), (Names{"devices", "ingest/batch", "ingest/batch", "heartbeat"}));
    ASSERT_EQ(state->phase().kind(), Phase::Kind::failed);
    EXPECT_EQ(state->statusMessage(), QStringLiteral("Scan needs attention"));
    EXPECT_TRUE(recordedIds().empty());
    EXPECT_EQ(state->totalAlertsCreated(), 0);
    EXPECT_FALSE(state->lastScanAt());

    const auto heartbeat = requests.back().body;
    EXPECT_FALSE(heartbeat.contains("lastIngestAt") || heartbeat.contains("lastProcessedItemHash"));
    EXPECT_EQ(heartbeat["status"], "error");
    EXPECT_EQ(heartbeat["setupIssue"], state->phase().failureText().toStdString());
    EXPECT_EQ(heartbeat["lastScanAt"], requests.front().body["lastScanAt"]);

    // The batch the service had accepted goes again, with the same identifiers.
    const auto retried = bodiesOf(harness.scan(*state), "ingest/batch");
    ASSERT_FALSE(retried.empty());
    EXPECT_EQ(itemIds({retried.front()}), itemIds({requests[1].body}));
}

TEST(ScanCycle, AFailingSuccessHeartbeatKeepsTheCheckpointButFails)
{
    BridgeFixture harness;
    harness.config.beforeRequest = [](const devservice::HttpCall& call) {
        if (call.path.ends_with("/heartbeat") && call.body.find(R"("status":"active")") != std::string::npos)
            throw devservice::ServiceError(503, "paused", "Heartbeats are paused.");
    };
    auto state = harness.readyState({.candidates = 2});
    QCoro::waitFor(state->scanNow());
    EXPECT_TRUE(test::failedWith(state->phase(), QStringLiteral("Heartbeats are paused.")));
    EXPECT_EQ(recordedIds().size(), 2u);
    EXPECT_EQ(state->totalAlertsCreated(), 0);
    EXPECT_EQ(state->lastCandidateCount(), 0);
}

// An iPhone assigned to no one or a folder that is gone stops the cycle before it sends anything;
// a newer backup that is encrypted is reported.
TEST(ScanCycle, GuardsStopTheCycleBeforeItReadsABackup)
{
    BridgeFixture harness;
    auto state = harness.readyState({.candidates = 1});
    ASSERT_TRUE(state->assignDevice(BackupContent{}.udid, std::nullopt));
    EXPECT_FALSE(state->canScan());
    EXPECT_EQ(endpoints(harness.scan(*state)), Names{"heartbeat"});
    EXPECT_TRUE(test::failedWith(
        state->phase(),
        QStringLiteral("Choose whose iPhone each backup is. Waiting to be assigned: Maya's iPhone.")));
    ASSERT_TRUE(state->assignDevice(BackupContent{}.udid, kAva));

    harness.writeBackup(harness.path("backup"), {.ageHours = 0.1, .encrypted = true});
    const auto requests = harness.scan(*state);
    const std::string text = BridgeClientError::encryptedBackup().description();
    EXPECT_TRUE(test::failedWith(state->phase(), QString::fromStdString(text)));
    ASSERT_EQ(endpoints(requests), Names{"heartbeat"});
    EXPECT_EQ(requests[0].body["setupIssue"].get<std::string>().substr(0, text.size()), text);

    // A stored reference that cannot be read any more (a folder that is merely absent is waited
    // for: AutomaticScanning.AnUnpluggedDisk…).
    const QString status = state->statusMessage();
    Preferences().setValue(QStringLiteral("bridge.backup-bookmark"), QByteArray("not a reference"));
    EXPECT_TRUE(harness.scan(*state).empty());
    EXPECT_TRUE(test::failedWith(
        state->phase(), QStringLiteral("Access to the backup folder expired. Choose the folder again.")));
    EXPECT_FALSE(state->backupFolder());
    EXPECT_EQ(state->statusMessage(), status);
}

} // namespace
} // namespace quorva::test

namespace quorva::test {
namespace {

// A hundred scans asked for at once (terminals, scripts, the schedule): one cycle runs, and at
// most one more follows for whatever came meanwhile. Every caller hears back.
TEST(ScanCycle, ScansAskedForWhileOneRunsJoinItOrTheOneAfterIt)
{
    BridgeFixture harness;
    harness.config.faults.delayPerBatch = std::chrono::milliseconds(100);
    auto state = harness.readyState({.candidates = 150});
    const std::size_t before = harness.received().size();

    int answered = 0;
    const auto ask = [&]() -> QCoro::Task<> {
        co_await state->scanNow();
        ++answered;
    };
    std::vector<QCoro::Task<>> asked;
    for (int i = 0; i < 100; ++i)
        asked.push_back(ask());
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return answered == 100; })) << answered << " of 100 answered";

    const auto cycles = bodiesOf(harness.receivedSince(before), "devices").size();
    EXPECT_GE(cycles, 1u);
    EXPECT_LE(cycles, 2u);
    EXPECT_EQ(state->phase(), Phase::ready());
    EXPECT_EQ(recordedIds().size(), 150u);
}

} // namespace
} // namespace quorva::test
