#include "ServiceHarness.h"

#include <gtest/gtest.h>

using namespace quorva::devservice::testing;
using nlohmann::json;

TEST(DevServiceReceivedPage, ListsEveryRequestInOrderWithItsExactBodyAndNoToken)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();

    // Sent as raw text: the page must keep member order, null members and spelling exactly.
    const std::string heartbeat = R"({"status":"active","setupIssue":null,"appVersion":"0.1.0"})";
    ASSERT_EQ(service.post("/v1/parental/bridges/heartbeat", heartbeat, {.token = token}).status, 200);
    ASSERT_EQ(service.get("/v1/parental/bridges/children", {.token = token}).status, 200);
    ASSERT_EQ(
        service.post("/v1/parental/bridges/heartbeat", std::string("not json"), {.token = token}).status,
        400);

    const Response page = service.get("/dev/received");
    ASSERT_EQ(page.status, 200);
    EXPECT_EQ(page.body.find(token), std::string::npos);
    const auto ordered = nlohmann::ordered_json::parse(page.body);
    const auto& requests = ordered["requests"];
    ASSERT_EQ(requests.size(), 4u); // the page itself is not recorded

    EXPECT_EQ(requests[0]["path"], "/v1/parental/bridges/redeem");
    EXPECT_EQ(requests[0]["hasAuthorization"], false);
    EXPECT_EQ(requests[0]["body"]["code"], "ABC-123");

    EXPECT_EQ(requests[1]["method"], "POST");
    EXPECT_EQ(requests[1]["path"], "/v1/parental/bridges/heartbeat");
    EXPECT_EQ(requests[1]["status"], 200);
    EXPECT_EQ(requests[1]["hasAuthorization"], true);
    EXPECT_FALSE(requests[1]["headers"].contains("authorization"));
    EXPECT_EQ(requests[1]["headers"]["content-type"], "application/json");
    EXPECT_EQ(requests[1]["body"].dump(), heartbeat);

    EXPECT_EQ(requests[2]["method"], "GET");
    EXPECT_TRUE(requests[2]["body"].is_null());
    EXPECT_FALSE(requests[2]["headers"].contains("content-type"));

    EXPECT_EQ(requests[3]["status"], 400);
    EXPECT_EQ(requests[3]["bodyText"], "not json");
    EXPECT_LT(requests[0]["seq"].get<int>(), requests[3]["seq"].get<int>());
}
