#include "Await.h"
#include "Printers.h"

#include "stores/Preferences.h"
#include "stores/UploadCheckpointStore.h"

#include <gtest/gtest.h>

namespace quorva {
namespace {

std::vector<std::string> identifiers(int first, int count)
{
    std::vector<std::string> ids;
    for (int i = first; i < first + count; ++i)
        ids.push_back("id-" + std::to_string(i));
    return ids;
}

ScannedMessage candidate(std::string id)
{
    return ScannedMessage{std::move(id), "text", std::nullopt, Instant{}, {"rule"}};
}

TEST(UploadCheckpointStore, RecordAppendsNewIdentifiersAndDropsTheOldestBeyondTheLimit)
{
    const UploadCheckpointStore store(Preferences(), "test.trim");
    store.record(identifiers(0, 4995));
    store.record(identifiers(4995, 10));

    EXPECT_EQ(store.identifiers(), identifiers(5, 5000));
}

TEST(UploadCheckpointStore, StoredIdentifiersKeepTheirPlaceAndOnlyTheUnrecordedAreSentInTheirOrder)
{
    const UploadCheckpointStore store(Preferences(), "test.order");
    store.record({"a", "b", "c"});
    store.record({"c", "a"});
    EXPECT_EQ(store.identifiers(), (std::vector<std::string>{"a", "b", "c"}));

    store.record({"d", "b", "d", "e"});
    EXPECT_EQ(store.identifiers(), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(store.notYetRecorded(
                  {candidate("x"), candidate("b"), candidate("y"), candidate("d"), candidate("z")}),
              (std::vector<ScannedMessage>{candidate("x"), candidate("y"), candidate("z")}));

    // A list that outgrew a lower limit is trimmed by the next record, even of nothing.
    UploadCheckpointStore(Preferences(), store.key(), 2).record({});
    EXPECT_EQ(store.identifiers(), (std::vector<std::string>{"d", "e"}));
}

TEST(UploadCheckpointStore, AValueOfTheWrongTypeReadsAsEmptyAndIsReplacedUntilCleared)
{
    const UploadCheckpointStore store(Preferences(), "test.wrong");
    Preferences().setValue(store.key(), QByteArray("id-1"));
    EXPECT_EQ(store.notYetRecorded({candidate("id-1")}).size(), 1u);

    store.record({"id-2"});
    EXPECT_EQ(store.identifiers(), std::vector<std::string>{"id-2"});
    store.clear();
    EXPECT_EQ(Preferences().value(store.key()), std::nullopt);
}

} // namespace
} // namespace quorva
