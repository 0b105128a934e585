// What goes over the wire to the service and what is read back from it.
#include "api/WireDecoding.h"
#include "api/WireEncoding.h"
#include "model/PlatformError.h"

#include "Printers.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

using namespace quorva;
using nlohmann::json;

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

struct DateCase {
    const char* name;
    operator std::string_view() const { return name; } // how gtest prints the row
    nlohmann::json value;
    std::optional<double> seconds; // nothing: refused
};

class ServiceDate : public ::testing::TestWithParam<DateCase> {};

TEST_P(ServiceDate, ReadsInternetDatesWithAndWithoutFractionAndNothingElse)
{
    const DateCase& c = GetParam();
    if (c.seconds)
        EXPECT_EQ(decodeServiceDate(c.value).unixSeconds, *c.seconds);
    else
        EXPECT_THROW((void)decodeServiceDate(c.value), WireDecodingError);
}

INSTANTIATE_TEST_SUITE_P(Dates, ServiceDate,
                         ::testing::Values(DateCase{"utc", "2026-03-01T08:15:30Z", 1772352930.0},
                                           DateCase{"fraction", "2026-03-01T08:15:30.250Z", 1772352930.25},
                                           DateCase{"eastOfUtc", "2026-03-01T09:15:30+01:00", 1772352930.0},
                                           DateCase{"westOfUtc", "2026-03-01T03:15:30-05:00", 1772352930.0},
                                           DateCase{"leapDay", "2024-02-29T00:00:00Z", 1709164800.0},
                                           DateCase{"leapDayOfACommonYear", "2023-02-29T00:00:00Z"},
                                           DateCase{"number", 1772352930}, DateCase{"dateOnly", "2026-03-01"},
                                           DateCase{"pastTheMonthsEnd", "2026-02-30T08:15:30Z"},
                                           DateCase{"spaceForT", "2026-03-01 08:15:30Z"},
                                           DateCase{"empty", ""}, DateCase{"noZone", "2026-03-01T08:15:30"},
                                           DateCase{"letterInOffset", "2026-03-01T08:15:30+01:6a"}),
                         test::RowName());

const std::string kRedeem = R"({"bridge":{"id":"b1","platform":"macos","status":"active"},
    "bridgeToken":"tok","tokenExpiresAt":"2026-03-01T08:15:30Z","state":"paired"})";
const std::string kDevice =
    R"({"device":{"id":"d","childId":"c","externalDeviceId":"e","sourceType":"ios_backup",
    "deviceName":null,"lastIngestAt":"2026-03-01T08:15:30.5+02:00"}})";

TEST(WireDecoding, AnswersDecodeWithOptionalMembersAbsentOrNull)
{
    const auto ingest = decodeResponse<BridgeIngestResponse>(kIngest);
    EXPECT_EQ(ingest.alertsCreated, 3);
    ASSERT_EQ(ingest.results.size(), 2u);
    EXPECT_FALSE(ingest.results[0].alertCreated.has_value()); // null reads as absent
    EXPECT_EQ(ingest.results[0].alertId, "x1");
    EXPECT_EQ(ingest.results[1].processStatus, "failed");

    const auto redeem = decodeResponse<BridgeRedeemResponse>(kRedeem);
    EXPECT_EQ(redeem.bridgeToken, "tok");
    EXPECT_FALSE(redeem.bridge.name.has_value());
    const auto device = decodeResponse<BridgeDeviceResponse>(kDevice).device;
    EXPECT_FALSE(device.deviceName.has_value());
    EXPECT_FALSE(device.lastScanAt.has_value());
    EXPECT_EQ(device.lastIngestAt->unixSeconds, 1772345730.5);
    EXPECT_FALSE(decodeResponse<BridgeMutationResponse>(R"({"success":false})").success);

    // Deep nesting in a member nobody reads must be refused or ignored, never exhaust the stack.
    const std::string deep =
        R"({"success":true,"x":)" + std::string(200000, '[') + std::string(200000, ']') + "}";
    EXPECT_TRUE(decodeResponse<BridgeMutationResponse>(deep).success);
}

struct RefusedAnswer {
    const char* name;
    operator std::string_view() const { return name; } // how gtest prints the row
    std::function<void()> decode;
};

template <typename R> std::function<void()> decoding(std::string body)
{
    return [body = std::move(body)] { (void)decodeResponse<R>(body); };
}

std::function<void()> ingestWith(const std::string& from, const std::string& to)
{
    return decoding<BridgeIngestResponse>(replaced(kIngest, from, to));
}

std::function<void()> queued(const std::string& value)
{
    return ingestWith(R"("queued":0)", R"("queued":)" + value);
}

std::function<void()> child(std::string body)
{
    return [body = std::move(body)] { (void)decodeBridgeChild(nlohmann::json::parse(body)); };
}

class Refused : public ::testing::TestWithParam<RefusedAnswer> {};

TEST_P(Refused, AnswerDoesNotDecode)
{
    EXPECT_THROW(GetParam().decode(), WireDecodingError);
}

const RefusedAnswer kRefused[] = {
    {"requiredMemberMissing", ingestWith(R"("skipped":0,)", "")},
    {"wholeFloatForAnInteger", queued("0.0")},
    {"numberAsText", queued(R"("0")")},
    {"pastTheSignedRange", queued("9223372036854775808")},
    {"nullForARequiredInteger", queued("null")},
    {"nullForARequiredText", ingestWith(R"("processStatus":"failed")", R"("processStatus":null)")},
    {"optionalOfTheWrongType", ingestWith(R"("alertId":"x1")", R"("alertId":5)")},
    {"redeemWithoutState", decoding<BridgeRedeemResponse>(replaced(kRedeem, R"(,"state":"paired")", ""))},
    {"bridgeWithoutPlatform",
     decoding<BridgeRedeemResponse>(replaced(kRedeem, R"("platform":"macos",)", ""))},
    {"dateWithoutSeconds", decoding<BridgeRedeemResponse>(replaced(kRedeem, "08:15:30Z", "08:15Z"))},
    {"dateWithoutTime",
     decoding<BridgeDeviceResponse>(replaced(kDevice, "}}", R"(,"lastScanAt":"2026-03-01"}})"))},
    {"successAsText", decoding<BridgeMutationResponse>(R"({"success":"true"})")},
    {"emptyBody", decoding<BridgeMutationResponse>("")},
    {"jsonNull", decoding<BridgeMutationResponse>("null")},
    {"trailingText", decoding<BridgeMutationResponse>(R"({"success":true} trailing)")},
    {"childWithNumberName", child(R"({"id":"c1","name":7})")},
    {"childAsArray", child(R"(["c1","Ada"])")},
};

INSTANTIATE_TEST_SUITE_P(Answers, Refused, ::testing::ValuesIn(kRefused), test::RowName());

// The heartbeat sends setupIssue as null, and leaves out absent times.
TEST(WireEncoding, RedeemDeviceAndHeartbeatBodiesCarryExactlyTheirMembers)
{
    EXPECT_EQ(
        json::parse(encodeRedeem("AB-12", "Family Mac", "2.3.4")),
        json::parse(R"({"code":"AB-12","bridgeName":"Family Mac","platform":"macos","appVersion":"2.3.4"})"));
    EXPECT_EQ(json::parse(encodeDeviceRegistration({"c1", "UDID", "Ada’s iPhone", "T"})),
              json::parse(R"({"childId":"c1","externalDeviceId":"UDID","deviceName":"Ada’s iPhone",
                              "sourceType":"ios_backup","lastScanAt":"T"})"));
    EXPECT_EQ(json::parse(encodeHeartbeat({.status = "active", .lastScanAt = "T"}, "0.1.0")),
              json::parse(R"({"status":"active","appVersion":"0.1.0","setupIssue":null,"lastScanAt":"T"})"));
}

BridgeIngestRequest ingestOf(std::string text, std::optional<std::string> sender = std::nullopt)
{
    BridgeIngestRequest request{.childId = "c1", .externalDeviceId = "UDID", .lastScanAt = "T"};
    request.items.push_back({.clientItemId = "h1",
                             .childId = "c1",
                             .contentText = std::move(text),
                             .senderName = std::move(sender),
                             .capturedAt = "T1"});
    return request;
}

TEST(WireEncoding, IngestLeavesOutAbsentOptionalsInsteadOfNullAndRefusesTextThatIsNotUtf8)
{
    BridgeIngestRequest request = ingestOf("meet me");
    request.items.push_back(ingestOf("ok", "+15551234").items[0]);
    EXPECT_EQ(
        json::parse(encodeIngest(request)),
        json::parse(R"({"childId":"c1","externalDeviceId":"UDID","sourceType":"ios_backup","lastScanAt":"T",
        "items":[{"clientItemId":"h1","childId":"c1","source":"ios_bridge","sourceApp":"Messages","contentType":"text",
                  "contentText":"meet me","capturedAt":"T1"},
                 {"clientItemId":"h1","childId":"c1","source":"ios_bridge","sourceApp":"Messages","contentType":"text",
                  "contentText":"ok","senderName":"+15551234","capturedAt":"T1"}]})"));

    EXPECT_THROW((void)encodeIngest(ingestOf("bad \xC3(")), PlatformError); // fails before sending
}
