#include "ServiceHarness.h"

#include <gtest/gtest.h>

#include <regex>

using namespace quorva::devservice::testing;
using nlohmann::json;

namespace {

const std::string kRedeem = "/v1/parental/bridges/redeem";
const std::string kChildren = "/v1/parental/bridges/children";
const std::regex kMillisecondInstant(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)");

json redeemBody(const std::string& code)
{
    return {{"code", code}, {"bridgeName", "Family Mac"}, {"platform", "macos"}, {"appVersion", "0.1.0"}};
}

} // namespace

TEST(DevServicePairing, CodeIsRedeemedOnceInItsNormalisedForm)
{
    ServiceHarness service;
    service.start();

    // Configured as "ABC-123"; the client sends the normalised "ABC123".
    const Response first = service.post(kRedeem, redeemBody("ABC123"));
    ASSERT_EQ(first.status, 200) << first.body;
    EXPECT_EQ(first.contentType, "application/json");
    EXPECT_EQ(first.json["state"], "paired");
    EXPECT_TRUE(std::regex_match(first.json["bridgeToken"].get<std::string>(), std::regex("[0-9a-f]{64}")));
    EXPECT_TRUE(std::regex_match(first.json["tokenExpiresAt"].get<std::string>(), kMillisecondInstant));
    const json& bridge = first.json["bridge"];
    EXPECT_FALSE(bridge["id"].get<std::string>().empty());
    EXPECT_EQ(bridge["name"], "Family Mac");
    EXPECT_EQ(bridge["platform"], "macos");
    EXPECT_TRUE(bridge["status"].is_string());
    EXPECT_TRUE(std::regex_match(bridge["lastSeenAt"].get<std::string>(), kMillisecondInstant));

    const json invalid = {{"error", "That pairing code is not valid or has expired."},
                          {"code", "pairing_code_invalid"}};
    const Response again = service.post(kRedeem, redeemBody("abc-123"));
    EXPECT_EQ(again.status, 410);
    EXPECT_EQ(again.json, invalid);
    const Response unknown = service.post(kRedeem, redeemBody("NOPE42"));
    EXPECT_EQ(unknown.status, 404);
    EXPECT_EQ(unknown.json, invalid);

    // Configured in lower case: the other code is still there, and gives a different token.
    const Response second = service.post(kRedeem, redeemBody("XYZ789"));
    ASSERT_EQ(second.status, 200);
    EXPECT_NE(second.json["bridgeToken"], first.json["bridgeToken"]);
    EXPECT_NE(second.json["bridge"]["id"], bridge["id"]);
}

TEST(DevServicePairing, RedeemBodyIsCheckedMemberByMember)
{
    ServiceHarness service;
    service.start();
    json missingPlatform = redeemBody("ABC123");
    missingPlatform.erase("platform");
    json numericCode = redeemBody("ABC123");
    numericCode["code"] = 123456;

    for (const json& body : {missingPlatform, numericCode}) {
        const Response r = service.post(kRedeem, body);
        EXPECT_EQ(r.status, 400) << body;
        EXPECT_EQ(r.json["code"], "invalid_request");
        EXPECT_TRUE(r.json["error"].is_string());
    }
    // A refused request does not use the code up.
    EXPECT_EQ(service.post(kRedeem, redeemBody("ABC123")).status, 200);
}

TEST(DevServiceAuth, OnlyAValidUnexpiredBearerTokenIsAccepted)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();

    const Response missing = service.get(kChildren);
    EXPECT_EQ(missing.status, 401);
    EXPECT_EQ(missing.json["code"], "unauthorized");
    EXPECT_TRUE(missing.json["error"].is_string());
    EXPECT_EQ(service.get(kChildren, {.token = "0" + token.substr(1)}).status, 401);
    EXPECT_EQ(service.get(kChildren, {.token = ""}).status, 401);
    EXPECT_EQ(service.get(kChildren, {.authorization = "Basic " + token}).status, 401);
    EXPECT_EQ(service.get(kChildren, {.authorization = token}).status, 401);
    EXPECT_EQ(service.get(kChildren, {.authorization = "bearer " + token}).status, 200);

    const Response ok = service.get(kChildren, {.token = token});
    ASSERT_EQ(ok.status, 200);
    EXPECT_EQ(
        ok.json,
        (json{{"children", {{{"id", kChildId}, {"name", "Ava"}}, {{"id", "child-ben"}, {"name", "Ben"}}}}}));
}

TEST(DevServiceAuth, ExpiredTokenIsRefused)
{
    ServiceHarness service;
    service.config.tokenLifetime = std::chrono::seconds(0);
    service.start();
    const std::string token = service.pair();
    const Response r = service.get(kChildren, {.token = token});
    EXPECT_EQ(r.status, 401);
    EXPECT_EQ(r.json["code"], "unauthorized");
}
