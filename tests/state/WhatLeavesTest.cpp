// What a scan sends to the service, and what it must never send.
#include "BridgeFixture.h"

#include "model/Iso8601.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace quorva::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// The backup the fixture's readyState chose, rewritten with these messages (rows numbered in
// the order given).
void rewriteBackup(BridgeFixture& harness, std::vector<samples::SampleMessage> messages)
{
    samples::SampleBackupPlan plan;
    plan.udid = BackupContent{}.udid;
    plan.displayName = plan.deviceName = BackupContent{}.deviceName;
    plan.lastBackupDate = plan.statusDate = Instant{Instant::now().unixSeconds - 600};
    plan.messages = std::move(messages);
    fs::remove_all(harness.path("backup"));
    samples::writeSampleBackup(harness.path("backup"), plan);
}

samples::SampleMessage incoming(std::string text, Instant date, std::optional<int64_t> rowID = std::nullopt)
{
    samples::SampleMessage message;
    message.rowID = rowID;
    message.text = std::move(text);
    message.sender = "+15550100";
    message.date = date;
    return message;
}

Instant minutesAgo(double minutes)
{
    return Instant{Instant::now().unixSeconds - 60.0 * minutes};
}

std::vector<nlohmann::json> sentItems(const std::vector<Received>& requests)
{
    std::vector<nlohmann::json> items;
    for (const auto& batch : bodiesOf(requests, "ingest/batch"))
        for (const auto& item : batch["items"])
            items.push_back(item);
    return items;
}

Names sentTexts(const std::vector<Received>& requests)
{
    Names texts;
    for (const auto& item : sentItems(requests))
        texts.push_back(item["contentText"]);
    return texts;
}

TEST(WhatLeaves, OneTimeCodesAreSentMasked)
{
    BridgeFixture harness;
    auto state = harness.readyState({});
    rewriteBackup(harness,
                  {incoming("Ihr Verifizierungscode: 904412 / Your verification code: 904412", minutesAgo(3)),
                   incoming("G-386965 is your Google verification code.", minutesAgo(2)),
                   incoming("send me the verification code you just got", minutesAgo(1))});
    EXPECT_EQ(
        sentTexts(harness.scan(*state)),
        (Names{"send me the verification code you just got", "G-•••••• is your Google verification code.",
               "Ihr Verifizierungscode: •••••• / Your verification code: ••••••"}));
}

TEST(WhatLeaves, ASnapshotInADevicesFolderIsABackupBeingWrittenNotAnIPhone)
{
    BridgeFixture harness;
    auto state = harness.readyState({});
    // The device's first backup, half way: everything is still in its Snapshot folder.
    fs::remove_all(harness.path("backup"));
    harness.writeBackup(harness.path("backup") / "Snapshot", {.candidates = 2});

    const auto requests = harness.scan(*state);
    EXPECT_EQ(endpoints(requests), Names{"heartbeat"});
    EXPECT_EQ(bodiesOf(requests, "heartbeat").at(0)["setupIssue"],
              "A backup of Ava's iPhone is being written; Bridge checks it again at the next scan.");
    for (const BackupDescriptor& device : state->devices())
        EXPECT_NE(device.url.filename(), "Snapshot");
}

TEST(WhatLeaves, RowsDatedInTheFutureNeitherHideRecentOnesNorAreSent)
{
    BridgeFixture harness;
    auto state = harness.readyState({});
    std::vector<samples::SampleMessage> messages;
    for (int i = 0; i < 5000; ++i)
        messages.push_back(
            incoming("keep this secret " + std::to_string(i), minutesAgo(-60.0 * 24 * 365 * 264 - i)));
    messages.push_back(incoming("keep this secret, I am an hour old", minutesAgo(60)));
    rewriteBackup(harness, std::move(messages));

    const auto items = sentItems(harness.scan(*state));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0]["contentText"], "keep this secret, I am an hour old");
    for (const auto& item : items)
        EXPECT_LE(parseInternetDateTime(item["capturedAt"].get<std::string>(), FractionalSeconds::required)
                      ->unixSeconds,
                  Instant::now().unixSeconds + 24 * 3600);
}

TEST(WhatLeaves, AFullWindowSendsOnlyWhatIsNew)
{
    BridgeFixture harness;
    auto state = harness.readyState({});
    // 5000 flagged messages, a minute apart, the oldest first as rows are numbered.
    std::vector<samples::SampleMessage> messages;
    const auto arrive = [&messages] {
        const auto row = static_cast<int64_t>(messages.size() + 1);
        messages.push_back(incoming("keep this secret " + std::to_string(row), Instant{}, row));
        for (std::size_t i = 0; i < messages.size(); ++i)
            messages[i].date = minutesAgo(static_cast<double>(messages.size() - i));
    };
    for (int i = 0; i < 5000; ++i)
        arrive();
    rewriteBackup(harness, messages);
    ASSERT_EQ(sentItems(harness.scan(*state)).size(), 5000u);

    for (int next = 5001; next <= 5003; ++next) {
        arrive();
        rewriteBackup(harness, messages);
        EXPECT_EQ(sentTexts(harness.scan(*state)), Names{"keep this secret " + std::to_string(next)});
    }
}

} // namespace
} // namespace quorva::test
