// What the development service must do for the client's tests against it to mean anything: keep
// an item once, take only a valid token, and refuse what the real service would refuse.
#include "BridgeFixture.h"

#include <gtest/gtest.h>

namespace quorva::test {
namespace {

using nlohmann::json;

std::string itemId(int n)
{
    std::string id = std::to_string(n);
    return std::string(64 - id.size(), 'a') + id;
}

json item(int n, const std::string& text = "meet me tonight")
{
    return {{"clientItemId", itemId(n)},
            {"childId", kAva},
            {"source", "ios_bridge"},
            {"sourceApp", "Messages"},
            {"contentType", "text"},
            {"contentText", text},
            {"capturedAt", "2026-03-01T08:15:30.250Z"}};
}

json batch(json items)
{
    return {{"childId", kAva},
            {"externalDeviceId", "00008110-001A2B3C4D5E801E"},
            {"sourceType", "ios_backup"},
            {"lastScanAt", "2026-03-01T09:00:00.000Z"},
            {"items", std::move(items)}};
}

std::vector<std::string> statuses(const json& answer)
{
    std::vector<std::string> out;
    for (const auto& result : answer["results"])
        out.push_back(result["processStatus"]);
    return out;
}

class ServiceContract : public ::testing::Test {
protected:
    void SetUp() override
    {
        service.config.pairingCodes = {kPairingCode, "XYZ789"};
        service.startService();
        bearer = "Bearer " + pair(kPairingCode);
    }

    BridgeFixture::Answer redeem(const std::string& code)
    {
        return service.request(
            "POST", "redeem",
            json{{"code", code}, {"bridgeName", "Test"}, {"platform", "macos"}, {"appVersion", "0.1.0"}}
                .dump());
    }

    std::string pair(const std::string& code) { return redeem(code).body.value("bridgeToken", ""); }

    BridgeFixture::Answer ingest(const json& items, const std::string& authorization)
    {
        return service.request("POST", "ingest/batch", batch(items).dump(), authorization);
    }

    BridgeFixture service;
    std::string bearer;
};

TEST_F(ServiceContract, KeepsEachItemOnceForEachBridge)
{
    const auto first = ingest(json::array({item(1), item(2)}), bearer);
    ASSERT_EQ(first.status, 200);
    EXPECT_EQ(statuses(first.body), (std::vector<std::string>{"processed", "processed"}));
    EXPECT_EQ(first.body["alertsCreated"], 2);

    // Resent, with one new item twice in the same batch.
    const auto again = ingest(json::array({item(1), item(3), item(3), item(2)}), bearer);
    EXPECT_EQ(statuses(again.body),
              (std::vector<std::string>{"duplicate", "processed", "duplicate", "duplicate"}));
    EXPECT_EQ(again.body["alertsCreated"], 1);

    // An item that failed was not kept: corrected, it is new.
    EXPECT_EQ(statuses(ingest(json::array({item(4, "")}), bearer).body), std::vector<std::string>{"failed"});
    EXPECT_EQ(statuses(ingest(json::array({item(4)}), bearer).body), std::vector<std::string>{"processed"});

    // Another bridge's first copy is new to it.
    EXPECT_EQ(statuses(ingest(json::array({item(1)}), "Bearer " + pair("XYZ789")).body),
              std::vector<std::string>{"processed"});
}

TEST_F(ServiceContract, RedeemsACodeOnceAndTakesOnlyAValidToken)
{
    EXPECT_EQ(redeem(kPairingCode).status, 410);
    EXPECT_EQ(redeem("NOSUCH1").status, 404);
    EXPECT_EQ(redeem("xyz-789").status, 200) << "codes are read as the client writes them";

    const std::string token = bearer.substr(7);
    const std::vector<std::optional<std::string>> refused = {std::nullopt, "Bearer " + std::string(64, '0'),
                                                             "Bearer ", "Basic " + token, token};
    for (const auto& authorization : refused)
        EXPECT_EQ(service.request("GET", "children", {}, authorization).status, 401)
            << authorization.value_or("(none)");
    EXPECT_EQ(service.request("GET", "children", {}, bearer).status, 200);
}

struct RefusedRequest {
    const char* name;
    std::string endpoint;
    json body;
    int status;
    operator std::string_view() const { return name; } // how gtest prints the row
};

class RefusedBody : public ServiceContract, public ::testing::WithParamInterface<RefusedRequest> {};

TEST_P(RefusedBody, IsAnsweredWithAJsonErrorAndChangesNothing)
{
    const RefusedRequest& r = GetParam();
    const std::string body = r.body.is_string() ? r.body.get<std::string>() : r.body.dump();
    const auto answer = service.request("POST", r.endpoint, body, bearer);
    EXPECT_EQ(answer.status, r.status);
    EXPECT_TRUE(answer.body["error"].is_string());
    EXPECT_TRUE(answer.body["code"].is_string());
    EXPECT_EQ(statuses(ingest(json::array({item(1)}), bearer).body), std::vector<std::string>{"processed"});
}

json hundredAndOne()
{
    json items = json::array();
    for (int i = 0; i < 101; ++i)
        items.push_back(item(i));
    return items;
}

const RefusedRequest kRefused[] = {
    {"notJson", "heartbeat", "{", 400},
    {"notAnObject", "heartbeat", json::array(), 400},
    {"heartbeatWithoutSetupIssue", "heartbeat", {{"status", "active"}, {"appVersion", "0.1.0"}}, 400},
    {"emptyBatch", "ingest/batch", batch(json::array()), 400},
    {"batchOfAHundredAndOne", "ingest/batch", batch(hundredAndOne()), 400},
    {"batchForAnUnknownChild", "ingest/batch",
     [] {
         json b = batch(json::array({item(1)}));
         b["childId"] = "child-nobody";
         return b;
     }(),
     404},
    {"deviceWithoutExternalId",
     "devices",
     {{"childId", kAva},
      {"deviceName", "D"},
      {"sourceType", "ios_backup"},
      {"lastScanAt", "2026-03-01T09:00:00.000Z"}},
     400},
    {"redeemWithANumericCode",
     "redeem",
     {{"code", 123456}, {"bridgeName", "M"}, {"platform", "macos"}, {"appVersion", "0.1.0"}},
     400},
};

INSTANTIATE_TEST_SUITE_P(Requests, RefusedBody, ::testing::ValuesIn(kRefused), RowName());

} // namespace
} // namespace quorva::test
