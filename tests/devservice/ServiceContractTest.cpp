// What the client's tests take from the development service for granted: it keeps an item once
// for each bridge, takes only a valid token, and refuses a batch of more than a hundred items.
#include "BridgeFixture.h"

#include <gtest/gtest.h>

namespace quorva::test {
namespace {

using nlohmann::json;
using Statuses = std::vector<std::string>;

json item(int n)
{
    const std::string id = std::to_string(n);
    return {{"clientItemId", std::string(64 - id.size(), 'a') + id},
            {"childId", kAva},
            {"source", "ios_bridge"},
            {"sourceApp", "Messages"},
            {"contentType", "text"},
            {"contentText", "meet me tonight"},
            {"capturedAt", "2026-03-01T08:15:30.250Z"}};
}

class ServiceContract : public ::testing::Test {
protected:
    void SetUp() override
    {
        service.config.pairingCodes = {kPairingCode, "XYZ789"};
        service.startService();
        bearer = pair(kPairingCode);
    }

    std::string pair(const std::string& code)
    {
        const json body{
            {"code", code}, {"bridgeName", "Test"}, {"platform", "macos"}, {"appVersion", "0.1.0"}};
        return "Bearer " + service.request("POST", "redeem", body.dump()).body.value("bridgeToken", "");
    }

    BridgeFixture::Answer ingest(json items, const std::string& authorization)
    {
        const json batch{{"childId", kAva},
                         {"externalDeviceId", "00008110-001A2B3C4D5E801E"},
                         {"sourceType", "ios_backup"},
                         {"lastScanAt", "2026-03-01T09:00:00.000Z"},
                         {"items", std::move(items)}};
        return service.request("POST", "ingest/batch", batch.dump(), authorization);
    }

    Statuses statuses(json items, const std::string& authorization)
    {
        Statuses out;
        const auto answer = ingest(std::move(items), authorization);
        for (const auto& result : answer.body["results"])
            out.push_back(result["processStatus"]);
        return out;
    }

    BridgeFixture service;
    std::string bearer;
};

TEST_F(ServiceContract, KeepsEachItemOnceForEachBridge)
{
    const auto first = ingest(json::array({item(1), item(2)}), bearer);
    ASSERT_EQ(first.status, 200);
    EXPECT_EQ(first.body["alertsCreated"], 2);

    // Resent, with one new item twice in the same batch.
    EXPECT_EQ(statuses(json::array({item(1), item(3), item(3), item(2)}), bearer),
              (Statuses{"duplicate", "processed", "duplicate", "duplicate"}));

    // Another bridge's first copy is new to it.
    EXPECT_EQ(statuses(json::array({item(1)}), pair("XYZ789")), Statuses{"processed"});
}

TEST_F(ServiceContract, TakesOnlyAValidTokenAndAtMostAHundredItemsABatch)
{
    const std::string token = bearer.substr(7);
    const std::vector<std::optional<std::string>> refused = {std::nullopt, "Bearer " + std::string(64, '0'),
                                                             "Bearer ", "Basic " + token, token};
    for (const auto& authorization : refused)
        EXPECT_EQ(service.request("GET", "children", {}, authorization).status, 401)
            << authorization.value_or("(none)");
    EXPECT_EQ(service.request("GET", "children", {}, bearer).status, 200);

    json items = json::array();
    for (int i = 0; i < 101; ++i)
        items.push_back(item(i));
    EXPECT_EQ(ingest(items, bearer).status, 400);
    EXPECT_EQ(statuses(json::array({item(0)}), bearer), Statuses{"processed"})
        << "the refused batch kept nothing";
}

} // namespace
} // namespace quorva::test
