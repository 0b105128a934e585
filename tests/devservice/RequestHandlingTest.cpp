#include "ServiceHarness.h"

#include <gtest/gtest.h>

using namespace quorva::devservice::testing;
using nlohmann::json;

namespace {
const std::string kHeartbeat = "/v1/parental/bridges/heartbeat";
const json kHeartbeatBody = {{"status", "active"}, {"appVersion", "0.1.0"}, {"setupIssue", nullptr}};
} // namespace

TEST(DevServiceRequests, MalformedBodiesAreRefusedWithJsonErrors)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();

    const std::string deep = std::string(500'000, '[') + std::string(500'000, ']');
    for (const std::string& body :
         {std::string("{"), std::string("[]"), std::string(""), std::string("{\"status\":\"\xff\"}"), deep}) {
        const Response r = service.post(kHeartbeat, body, {.token = token});
        EXPECT_EQ(r.status, 400) << body.substr(0, 20);
        EXPECT_EQ(r.contentType, "application/json");
        EXPECT_EQ(r.json["code"], "invalid_request");
        EXPECT_TRUE(r.json["error"].is_string());
    }

    const Response wrongType =
        service.post(kHeartbeat, kHeartbeatBody.dump(), {.token = token, .contentType = "text/plain"});
    EXPECT_EQ(wrongType.status, 415);
    EXPECT_EQ(service
                  .post(kHeartbeat, kHeartbeatBody.dump(),
                        {.token = token, .contentType = "application/json; charset=utf-8"})
                  .status,
              200);
}

TEST(DevServiceRequests, UnknownPathsWrongMethodsAndLargeBodies)
{
    ServiceHarness service;
    service.config.maxBodyBytes = 1024;
    service.start();
    const std::string token = service.pair();

    const Response unknown = service.get("/v1/parental/bridges/nothing", {.token = token});
    EXPECT_EQ(unknown.status, 404);
    EXPECT_EQ(unknown.contentType, "application/json");
    EXPECT_EQ(unknown.json["code"], "not_found");
    EXPECT_EQ(service.get("/v1/parental/bridges/children/", {.token = token}).status, 404);

    const Response wrongMethod = service.get(kHeartbeat, {.token = token});
    EXPECT_EQ(wrongMethod.status, 405);
    EXPECT_EQ(wrongMethod.json["code"], "method_not_allowed");

    json big = kHeartbeatBody;
    big["setupIssue"] = std::string(2000, 'x');
    const Response tooLarge = service.post(kHeartbeat, big, {.token = token});
    EXPECT_EQ(tooLarge.status, 413);
    EXPECT_EQ(tooLarge.json["code"], "payload_too_large");
}

TEST(DevServiceRequests, LogHasOneLinePerRequestWithoutTokensOrTexts)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();
    ASSERT_EQ(
        service
            .post("/v1/parental/bridges/ingest/batch",
                  ingestBatch({ingestItem(itemId(1), "secret words"), ingestItem(itemId(1), "secret words")}),
                  {.token = token})
            .status,
        200);
    (void)service.get("/v1/parental/bridges/children", {.token = "wrong"});

    ASSERT_EQ(service.logLines.size(), 3u);
    EXPECT_EQ(service.logLines[0], "POST /v1/parental/bridges/redeem 200");
    EXPECT_EQ(service.logLines[1],
              "POST /v1/parental/bridges/ingest/batch 200 items=2 processed=1 duplicate=1 failed=0");
    EXPECT_EQ(service.logLines[2], "GET /v1/parental/bridges/children 401 unauthorized");
    for (const auto& line : service.logLines) {
        EXPECT_EQ(line.find(token), std::string::npos);
        EXPECT_EQ(line.find("secret"), std::string::npos);
    }
}
