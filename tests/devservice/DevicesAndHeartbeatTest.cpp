#include "ServiceHarness.h"

#include <gtest/gtest.h>

using namespace quorva::devservice::testing;
using nlohmann::json;

namespace {

const std::string kDevices = "/v1/parental/bridges/devices";
const std::string kHeartbeat = "/v1/parental/bridges/heartbeat";

json registration(const std::string& externalId, const std::string& name)
{
    return {{"childId", kChildId},
            {"externalDeviceId", externalId},
            {"deviceName", name},
            {"sourceType", "ios_backup"},
            {"lastScanAt", "2026-03-01T08:15:30.250Z"}};
}

} // namespace

TEST(DevServiceDevices, RegistrationUpsertsByExternalDeviceId)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();

    const Response first = service.post(kDevices, registration("UDID-1", "Ava's iPhone"), {.token = token});
    ASSERT_EQ(first.status, 200) << first.body;
    const json& device = first.json["device"];
    EXPECT_EQ(device["childId"], kChildId);
    EXPECT_EQ(device["externalDeviceId"], "UDID-1");
    EXPECT_EQ(device["deviceName"], "Ava's iPhone");
    EXPECT_EQ(device["sourceType"], "ios_backup");
    EXPECT_EQ(device["lastScanAt"], "2026-03-01T08:15:30.250Z");
    EXPECT_TRUE(device["lastIngestAt"].is_null());

    json renamed = registration("UDID-1", "Ava's new iPhone");
    renamed["lastScanAt"] = "2026-03-02T10:00:00+02:00"; // answered in UTC with milliseconds
    const Response second = service.post(kDevices, renamed, {.token = token});
    ASSERT_EQ(second.status, 200);
    EXPECT_EQ(second.json["device"]["id"], device["id"]);
    EXPECT_EQ(second.json["device"]["deviceName"], "Ava's new iPhone");
    EXPECT_EQ(second.json["device"]["lastScanAt"], "2026-03-02T08:00:00.000Z");

    const Response other = service.post(kDevices, registration("UDID-2", "Ben's iPhone"), {.token = token});
    EXPECT_NE(other.json["device"]["id"], device["id"]);
}

TEST(DevServiceDevices, UnknownChildAndBadMembersAreRefused)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();

    json unknownChild = registration("UDID-1", "iPhone");
    unknownChild["childId"] = "child-nobody";
    const Response notFound = service.post(kDevices, unknownChild, {.token = token});
    EXPECT_EQ(notFound.status, 404);
    EXPECT_EQ(notFound.json["code"], "child_not_found");
    EXPECT_TRUE(notFound.json["error"].is_string());

    json noName = registration("UDID-1", "iPhone");
    noName.erase("deviceName");
    json dateOnly = registration("UDID-1", "iPhone");
    dateOnly["lastScanAt"] = "2026-03-01";
    for (const json& body : {noName, dateOnly}) {
        const Response r = service.post(kDevices, body, {.token = token});
        EXPECT_EQ(r.status, 400) << body;
        EXPECT_EQ(r.json["code"], "invalid_request");
    }
}

TEST(DevServiceHeartbeat, AcceptsTheThreeReportShapesAndRequiresSetupIssue)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();

    const json setup = {{"status", "error"},
                        {"appVersion", "0.1.0"},
                        {"setupIssue", "Choose a child and Finder backup to finish setup."}};
    const json afterScan = {{"status", "active"},
                            {"appVersion", "0.1.0"},
                            {"setupIssue", nullptr},
                            {"lastScanAt", "2026-03-01T08:15:30.250Z"},
                            {"lastIngestAt", "2026-03-01T08:15:30.250Z"},
                            {"lastProcessedItemHash", itemId(1)}};
    const json afterFailure = {{"status", "error"},
                               {"appVersion", "0.1.0"},
                               {"setupIssue", "Backup is encrypted."},
                               {"lastScanAt", "2026-03-01T08:15:30Z"}};
    for (const json& body : {setup, afterScan, afterFailure}) {
        const Response r = service.post(kHeartbeat, body, {.token = token});
        EXPECT_EQ(r.status, 200) << body;
        EXPECT_EQ(r.json, (json{{"success", true}}));
    }

    json noSetupIssue = setup;
    noSetupIssue.erase("setupIssue");
    json numericStatus = setup;
    numericStatus["status"] = 1;
    for (const json& body : {noSetupIssue, numericStatus}) {
        const Response r = service.post(kHeartbeat, body, {.token = token});
        EXPECT_EQ(r.status, 400) << body;
        EXPECT_EQ(r.json["code"], "invalid_request");
    }
}
