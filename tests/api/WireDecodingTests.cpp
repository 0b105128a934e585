#include "api/HttpFailure.h"
#include "api/WireDecoding.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <string>

using namespace quorva;

namespace {

const std::string kIngest =
    R"({"submitted":2,"queued":0,"processed":1,"skipped":0,"failed":1,"alertsCreated":3,
  "results":[{"clientItemId":"a","processStatus":"processed","alertCreated":null,"alertId":"x1","extra":[1]},
             {"clientItemId":"b","processStatus":"failed"}]})";

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

} // namespace

TEST(ServiceDate, ReadsInternetDatesWithAndWithoutFractionAndNothingElse)
{
    using nlohmann::json;
    EXPECT_EQ(decodeServiceDate("2026-03-01T08:15:30Z").unixSeconds, 1772352930.0);
    EXPECT_EQ(decodeServiceDate("2026-03-01T08:15:30.250Z").unixSeconds, 1772352930.25);
    EXPECT_EQ(decodeServiceDate("2026-03-01T09:15:30+01:00").unixSeconds, 1772352930.0);

    for (const json& bad : {json("2026-03-01"), json(1772352930), json("2026-03-01 08:15:30Z"), json(""),
                            json("2026-03-01T08:15:30"), json(nullptr)}) {
        try {
            (void)decodeServiceDate(bad);
            ADD_FAILURE() << "accepted " << bad.dump();
        } catch (const WireDecodingError& e) {
            EXPECT_STREQ(e.what(), "Invalid ISO-8601 date");
        }
    }
}

TEST(WireDecoding, ChildNeedsStringIdAndNameAndIgnoresOtherMembers)
{
    using nlohmann::json;
    EXPECT_EQ(decodeBridgeChild(json::parse(R"({"id":"c1","name":"Ada","age":{"y":9}})")),
              (BridgeChild{"c1", "Ada"}));
    for (const char* bad :
         {R"({"id":"c1"})", R"({"id":"c1","name":null})", R"({"id":"c1","name":7})", R"(["c1","Ada"])"})
        EXPECT_THROW((void)decodeBridgeChild(json::parse(bad)), WireDecodingError) << bad;
}

TEST(WireDecoding, IngestAnswerIsStrictAboutIntegers)
{
    const auto response = decodeResponse<BridgeIngestResponse>(kIngest);
    EXPECT_EQ(response.alertsCreated, 3);
    ASSERT_EQ(response.results.size(), 2u);
    EXPECT_FALSE(response.results[0].alertCreated.has_value()); // null reads as absent
    EXPECT_EQ(response.results[0].alertId, "x1");
    EXPECT_EQ(response.results[1].processStatus, "failed");

    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {R"("skipped":0,)", ""},              // required member missing
             {R"("queued":0)", R"("queued":0.0)"}, // a float, even a whole one
             {R"("queued":0)", R"("queued":1.5)"},
             {R"("queued":0)", R"("queued":"0")"},
             {R"("queued":0)", R"("queued":9223372036854775808)"}, // past the signed range
             {R"("queued":0)", R"("queued":null)"},
             {R"("processStatus":"failed")", R"("processStatus":null)"},
             {R"("alertId":"x1")", R"("alertId":5)"}, // optional, but typed when present
         })
        EXPECT_THROW((void)decodeResponse<BridgeIngestResponse>(replaced(kIngest, from, to)),
                     WireDecodingError)
            << to;

    EXPECT_EQ(decodeResponse<BridgeIngestResponse>(
                  replaced(kIngest, R"("queued":0)", R"("queued":-9223372036854775808)"))
                  .queued,
              INT64_MIN);
}

TEST(WireDecoding, RedeemAndDeviceAnswersRequireTheirMembers)
{
    const std::string redeem = R"({"bridge":{"id":"b1","platform":"macos","status":"active"},
        "bridgeToken":"tok","tokenExpiresAt":"2026-03-01T08:15:30Z","state":"paired"})";
    const auto decoded = decodeResponse<BridgeRedeemResponse>(redeem);
    EXPECT_EQ(decoded.bridgeToken, "tok");
    EXPECT_FALSE(decoded.bridge.name.has_value());
    EXPECT_FALSE(decoded.bridge.lastSeenAt.has_value());
    EXPECT_THROW((void)decodeResponse<BridgeRedeemResponse>(replaced(redeem, R"(,"state":"paired")", "")),
                 WireDecodingError);
    EXPECT_THROW((void)decodeResponse<BridgeRedeemResponse>(replaced(redeem, R"("platform":"macos",)", "")),
                 WireDecodingError);
    EXPECT_THROW((void)decodeResponse<BridgeRedeemResponse>(replaced(redeem, "08:15:30Z", "08:15Z")),
                 WireDecodingError);

    const std::string device =
        R"({"device":{"id":"d","childId":"c","externalDeviceId":"e","sourceType":"ios_backup",
        "deviceName":null,"lastIngestAt":"2026-03-01T08:15:30.5+02:00"}})";
    const auto registered = decodeResponse<BridgeDeviceResponse>(device).device;
    EXPECT_FALSE(registered.deviceName.has_value());
    EXPECT_FALSE(registered.lastScanAt.has_value());
    EXPECT_EQ(registered.lastIngestAt->unixSeconds, 1772345730.5);
    EXPECT_THROW(
        (void)decodeResponse<BridgeDeviceResponse>(replaced(device, "}}", R"(,"lastScanAt":"2026-03-01"}})")),
        WireDecodingError);

    EXPECT_FALSE(decodeResponse<BridgeMutationResponse>(R"({"success":false})").success);
    EXPECT_THROW((void)decodeResponse<BridgeMutationResponse>(R"({"success":"true"})"), WireDecodingError);
    EXPECT_THROW((void)decodeResponse<BridgeMutationResponse>(R"({"success":1})"), WireDecodingError);
}

TEST(WireDecoding, BodiesThatAreNotOneJsonObjectFail)
{
    for (const char* body : {"", "   ", "null", "[]", R"("text")", "<html>", R"({"success":true} trailing)",
                             R"({"success":true)", "{\"success\":true,\"a\":\"\xFF\"}"})
        EXPECT_THROW((void)decodeResponse<BridgeMutationResponse>(body), WireDecodingError) << body;

    // Deep nesting must be refused or ignored, never exhaust the stack.
    const std::string deep =
        R"({"success":true,"x":)" + std::string(200000, '[') + std::string(200000, ']') + "}";
    EXPECT_TRUE(decodeResponse<BridgeMutationResponse>(deep).success);
}

TEST(ServerErrorBody, DecodesOnlyStringOrNullMembers)
{
    EXPECT_EQ(decodeServerError("{}"), ServerError{});
    EXPECT_EQ(decodeServerError(R"({"error":null,"message":"m","code":"c","detail":4})"),
              (ServerError{std::nullopt, "m", "c"}));
    EXPECT_FALSE(decodeServerError(R"({"error":5,"code":"c"})").has_value());
    EXPECT_FALSE(decodeServerError(R"({"code":["c"]})").has_value());
    EXPECT_FALSE(decodeServerError("<h1>Bad Gateway</h1>").has_value());
    EXPECT_FALSE(decodeServerError(R"(["error"])").has_value());
}

TEST(StatusFailure, AnEmptyErrorTextStillWinsAndUnknownStatusesGetTheirClassPhrase)
{
    EXPECT_EQ(failureForStatus(409, R"({"error":"","message":"M"})"),
              BridgeClientError::server(409, std::nullopt, ""));
    EXPECT_EQ(reasonPhrase(300), "Multiple Choices");
    EXPECT_EQ(reasonPhrase(199), "Informational");
    EXPECT_EQ(reasonPhrase(599), "Server Error");
    EXPECT_EQ(reasonPhrase(999), "Unknown Status");
}
