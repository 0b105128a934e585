#include "DumpReport.h"
#include "ServiceHarness.h"

#include <gtest/gtest.h>

using namespace quorva::devservice;
using namespace quorva::devservice::testing;
using nlohmann::json;

TEST(DevServicePersistence, StateSurvivesARestartOnTheSameFile)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();
    ASSERT_EQ(
        service
            .post("/v1/parental/bridges/ingest/batch", ingestBatch({ingestItem(itemId(1))}), {.token = token})
            .status,
        200);
    ASSERT_EQ(service
                  .post("/v1/parental/bridges/heartbeat",
                        json{{"status", "active"}, {"appVersion", "0.1.0"}, {"setupIssue", nullptr}},
                        {.token = token})
                  .status,
              200);

    // Restarted with the same code configured again, one child renamed and one added.
    service.stop();
    service.config.children = {{"child-ben", "Benjamin"}, {"child-cy", "Cy"}};
    service.start();

    const Response children = service.get("/v1/parental/bridges/children", {.token = token});
    ASSERT_EQ(children.status, 200) << "the token must outlive the restart";
    EXPECT_EQ(children.json["children"], (json{{{"id", kChildId}, {"name", "Ava"}},
                                               {{"id", "child-ben"}, {"name", "Benjamin"}},
                                               {{"id", "child-cy"}, {"name", "Cy"}}}));

    const Response redeemAgain = service.post(
        "/v1/parental/bridges/redeem",
        json{{"code", "ABC123"}, {"bridgeName", "Mac"}, {"platform", "macos"}, {"appVersion", "0.1.0"}});
    EXPECT_EQ(redeemAgain.status, 410) << "a restart must not revive a redeemed code";

    const Response resent = service.post("/v1/parental/bridges/ingest/batch",
                                         ingestBatch({ingestItem(itemId(1))}), {.token = token});
    EXPECT_EQ(resent.json["results"][0]["processStatus"], "duplicate");

    const Response page = service.get("/dev/received");
    EXPECT_EQ(page.json["requests"].size(), 6u); // recorded before the restart too
}

TEST(DevServicePersistence, DumpShowsWhatTheDatabaseHoldsWithoutTokens)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();
    ASSERT_EQ(service
                  .post("/v1/parental/bridges/ingest/batch",
                        ingestBatch({ingestItem(itemId(1), "first text"), ingestItem(itemId(2))}),
                        {.token = token})
                  .status,
              200);
    service.stop();

    DevStore store(service.config.databasePath, DevStore::OpenMode::existingOnly);
    const json dump = json::parse(dumpJson(store));
    EXPECT_EQ(dump["alertsCount"], 2);
    ASSERT_EQ(dump["items"].size(), 2u);
    EXPECT_EQ(dump["items"][0]["clientItemId"], itemId(1));
    EXPECT_EQ(dump["items"][0]["processStatus"], "processed");
    EXPECT_EQ(dump["bridges"].size(), 1u);
    EXPECT_EQ(dump["devices"].size(), 1u);
    EXPECT_EQ(dump["pairingCodes"][0]["code"], "ABC123");
    EXPECT_TRUE(dump["pairingCodes"][0]["redeemedAt"].is_string());

    const std::string text = dumpText(store);
    EXPECT_NE(text.find("Ingested items (2)"), std::string::npos);
    EXPECT_NE(text.find("Alerts: 2"), std::string::npos);
    EXPECT_EQ(text.find(token), std::string::npos);
    EXPECT_EQ(dumpJson(store).find(token), std::string::npos);
}
