#include "api/WireEncoding.h"
#include "model/PlatformError.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

using namespace quorva;
using nlohmann::json;

TEST(WireEncoding, RedeemAndDeviceBodiesCarryExactlyTheirMembers)
{
    EXPECT_EQ(json::parse(encodeRedeem("ABCD-1234", "Family Mac", "2.3.4")),
              json({{"code", "ABCD-1234"}, {"bridgeName", "Family Mac"}, {"platform", "macos"}, {"appVersion", "2.3.4"}}));

    EXPECT_EQ(
        json::parse(encodeDeviceRegistration({"c1", "UDID", "Ada’s iPhone", "2026-03-01T08:15:30.250Z"})),
        json({{"childId", "c1"},
              {"externalDeviceId", "UDID"},
              {"deviceName", "Ada’s iPhone"},
              {"sourceType", "ios_backup"},
              {"lastScanAt", "2026-03-01T08:15:30.250Z"}}));
}

TEST(WireEncoding, HeartbeatSendsNullSetupIssueAndLeavesOutAbsentTimes)
{
    const std::string at = "2026-03-01T08:15:30.250Z";
    EXPECT_EQ(json::parse(encodeHeartbeat({.status = "error", .setupIssue = "Choose a child"}, "0.1.0")),
              json({{"status", "error"}, {"appVersion", "0.1.0"}, {"setupIssue", "Choose a child"}}));

    EXPECT_EQ(
        json::parse(encodeHeartbeat({.status = "active", .lastScanAt = at}, "0.1.0")),
        json({{"status", "active"}, {"appVersion", "0.1.0"}, {"setupIssue", nullptr}, {"lastScanAt", at}}));
}

TEST(WireEncoding, IngestLeavesOutAbsentOptionalsInsteadOfNull)
{
    BridgeIngestRequest request{.childId = "c1", .externalDeviceId = "UDID", .lastScanAt = "T"};
    request.items.push_back(
        {.clientItemId = "h1", .childId = "c1", .contentText = "meet me", .capturedAt = "T1"});
    request.items.push_back({.clientItemId = "h2",
                             .childId = "c1",
                             .contentText = "ok",
                             .senderName = "+15551234",
                             .capturedAt = "T2"});

    const json body = json::parse(encodeIngest(request));
    EXPECT_EQ(
        body,
        json::parse(R"({"childId":"c1","externalDeviceId":"UDID","sourceType":"ios_backup","lastScanAt":"T",
        "items":[{"clientItemId":"h1","childId":"c1","source":"ios_bridge","sourceApp":"Messages","contentType":"text",
                  "contentText":"meet me","capturedAt":"T1"},
                 {"clientItemId":"h2","childId":"c1","source":"ios_bridge","sourceApp":"Messages","contentType":"text",
                  "contentText":"ok","senderName":"+15551234","capturedAt":"T2"}]})"));

    request.deviceName = "";
    request.lastProcessedItemHash = "h2";
    const json withOptionals = json::parse(encodeIngest(request));
    EXPECT_EQ(withOptionals.at("deviceName"), ""); // empty is not absent
    EXPECT_EQ(withOptionals.at("lastProcessedItemHash"), "h2");
}

TEST(WireEncoding, TextThatIsNotUtf8FailsBeforeSending)
{
    BridgeIngestRequest request{.childId = "c1", .externalDeviceId = "UDID", .lastScanAt = "T"};
    request.items.push_back(
        {.clientItemId = "h1", .childId = "c1", .contentText = "bad \xC3(", .capturedAt = "T"});
    EXPECT_THROW((void)encodeIngest(request), PlatformError);
}
