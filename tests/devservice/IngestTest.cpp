#include "ServiceHarness.h"

#include <gtest/gtest.h>

#include <set>

using namespace quorva::devservice::testing;
using nlohmann::json;

namespace {

const std::string kIngest = "/v1/parental/bridges/ingest/batch";

void expectCountsAddUp(const json& answer)
{
    EXPECT_EQ(answer["submitted"].get<int>(), static_cast<int>(answer["results"].size()));
    EXPECT_EQ(answer["submitted"].get<int>(),
              answer["processed"].get<int>() + answer["skipped"].get<int>() + answer["failed"].get<int>());
    EXPECT_EQ(answer["queued"], 0);
}

std::vector<std::string> statuses(const json& answer)
{
    std::vector<std::string> out;
    for (const auto& r : answer["results"])
        out.push_back(r["processStatus"]);
    return out;
}

} // namespace

TEST(DevServiceIngest, NewItemsAreProcessedOnceThenDuplicate)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();

    const Response first =
        service.post(kIngest, ingestBatch({ingestItem(itemId(1)), ingestItem(itemId(2))}), {.token = token});
    ASSERT_EQ(first.status, 200) << first.body;
    expectCountsAddUp(first.json);
    EXPECT_EQ(first.json["processed"], 2);
    EXPECT_EQ(first.json["alertsCreated"], 2);
    EXPECT_EQ(statuses(first.json), (std::vector<std::string>{"processed", "processed"}));
    EXPECT_EQ(first.json["results"][0]["clientItemId"], itemId(1));
    EXPECT_EQ(first.json["results"][0]["alertCreated"], true);
    EXPECT_NE(first.json["results"][0]["alertId"], first.json["results"][1]["alertId"]);

    // A resend with one new item, and the new item twice in the same batch.
    const Response second = service.post(kIngest,
                                         ingestBatch({ingestItem(itemId(1)), ingestItem(itemId(3)),
                                                      ingestItem(itemId(3)), ingestItem(itemId(2))}),
                                         {.token = token});
    ASSERT_EQ(second.status, 200);
    expectCountsAddUp(second.json);
    EXPECT_EQ(statuses(second.json),
              (std::vector<std::string>{"duplicate", "processed", "duplicate", "duplicate"}));
    EXPECT_EQ(second.json["skipped"], 3);
    EXPECT_EQ(second.json["alertsCreated"], 1);
    EXPECT_EQ(second.json["results"][0]["alertCreated"], false);
    EXPECT_FALSE(second.json["results"][0].contains("alertId"));

    // Idempotency is per bridge: another bridge's first copy is new to it.
    const std::string otherToken = service.pair("XYZ789");
    const Response other = service.post(kIngest, ingestBatch({ingestItem(itemId(1))}), {.token = otherToken});
    EXPECT_EQ(statuses(other.json), (std::vector<std::string>{"processed"}));
}

TEST(DevServiceIngest, InvalidItemsFailAloneAndAreNotStored)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();

    json upperHex = ingestItem(itemId(1));
    upperHex["clientItemId"] = QByteArray::fromStdString(itemId(1)).toUpper().toStdString();
    json emptyText = ingestItem(itemId(2), "");
    json tooLong = ingestItem(itemId(3), std::string(4001, 'a'));
    json badDate = ingestItem(itemId(4));
    badDate["capturedAt"] = "1 March 2026";
    json noSource = ingestItem(itemId(5));
    noSource.erase("source");
    json otherChild = ingestItem(itemId(6));
    otherChild["childId"] = "child-ben";
    json numericSender = ingestItem(itemId(7));
    numericSender["senderName"] = 5;
    // 4000 user-perceived characters of two code points each: within the limit.
    std::string thumbs;
    for (int i = 0; i < 4000; ++i)
        thumbs += "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD";
    json longInBytes = ingestItem(itemId(8), thumbs);
    json noSender = ingestItem(itemId(9));
    noSender.erase("senderName");

    const Response r = service.post(kIngest,
                                    ingestBatch({upperHex, emptyText, tooLong, badDate, noSource, otherChild,
                                                 numericSender, longInBytes, noSender}),
                                    {.token = token});
    ASSERT_EQ(r.status, 200) << r.body;
    expectCountsAddUp(r.json);
    EXPECT_EQ(statuses(r.json), (std::vector<std::string>{"failed", "failed", "failed", "failed", "failed",
                                                          "failed", "failed", "processed", "processed"}));
    EXPECT_EQ(r.json["failed"], 7);
    EXPECT_EQ(r.json["results"][0]["clientItemId"], upperHex["clientItemId"]);

    // Failed items were not kept: corrected, they are new.
    const Response again =
        service.post(kIngest, ingestBatch({ingestItem(itemId(2)), ingestItem(itemId(3))}), {.token = token});
    EXPECT_EQ(statuses(again.json), (std::vector<std::string>{"processed", "processed"}));
}

TEST(DevServiceIngest, BatchesOutsideOneToHundredItemsAreRefusedWhole)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();

    json hundred = json::array();
    for (int i = 0; i < 100; ++i)
        hundred.push_back(ingestItem(itemId(i)));
    json hundredAndOne = hundred;
    hundredAndOne.push_back(ingestItem(itemId(100)));

    for (const json& items :
         {json::array(), hundredAndOne, json(json::object()), json::array({"not an object"})}) {
        const Response r = service.post(kIngest, ingestBatch(items), {.token = token});
        EXPECT_EQ(r.status, 400) << items.dump().substr(0, 60);
        EXPECT_EQ(r.json["code"], "invalid_request");
    }
    const Response full = service.post(kIngest, ingestBatch(hundred), {.token = token});
    ASSERT_EQ(full.status, 200);
    EXPECT_EQ(full.json["processed"], 100);

    json unknownChild = ingestBatch({ingestItem(itemId(200))});
    unknownChild["childId"] = "child-nobody";
    EXPECT_EQ(service.post(kIngest, unknownChild, {.token = token}).json["code"], "child_not_found");
}

TEST(DevServiceIngest, IngestKeepsTheDeviceRecordCurrent)
{
    ServiceHarness service;
    service.start();
    const std::string token = service.pair();
    ASSERT_EQ(service.post(kIngest, ingestBatch({ingestItem(itemId(1))}), {.token = token}).status, 200);

    json registration = {{"childId", kChildId},
                         {"externalDeviceId", "00008110-001A2B3C4D5E801E"},
                         {"deviceName", "Ava's iPhone"},
                         {"sourceType", "ios_backup"},
                         {"lastScanAt", "2026-03-01T09:00:00.000Z"}};
    const Response device = service.post("/v1/parental/bridges/devices", registration, {.token = token});
    ASSERT_EQ(device.status, 200);
    EXPECT_TRUE(device.json["device"]["lastIngestAt"].is_string());
}

TEST(DevServiceFaults, IngestFaultSwitchesFailBatchesAndMarkedItems)
{
    ServiceHarness service;
    service.config.faults.failAfterBatches = 1;
    service.config.faults.statusMarkers = {{"#fail", "failed"}};
    service.start();
    const std::string token = service.pair();

    const Response first =
        service.post(kIngest, ingestBatch({ingestItem(itemId(1)), ingestItem(itemId(2), "see you #fail")}),
                     {.token = token});
    ASSERT_EQ(first.status, 200);
    EXPECT_EQ(statuses(first.json), (std::vector<std::string>{"processed", "failed"}));

    const Response second = service.post(kIngest, ingestBatch({ingestItem(itemId(3))}), {.token = token});
    EXPECT_EQ(second.status, 500);
    EXPECT_EQ(second.json["code"], "internal_error");
    EXPECT_TRUE(second.json["error"].is_string());
}
