#include "Printers.h"

#include "stores/Preferences.h"
#include "stores/UploadCheckpointStore.h"

#include <gtest/gtest.h>

namespace quorva {
namespace {

ScannedMessage candidate(std::string id)
{
    return ScannedMessage{std::move(id), "text", std::nullopt, Instant{}, {"rule"}};
}

TEST(UploadCheckpointStore, KeepsIdentifiersInPlaceSendsOnlyTheUnrecordedAndReplacesAValueOfTheWrongType)
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

    // A value of the wrong type reads as empty and is replaced, until cleared.
    Preferences().setValue(store.key(), QByteArray("id-1"));
    EXPECT_EQ(store.notYetRecorded({candidate("id-1")}).size(), 1u);

    store.record({"id-2"});
    EXPECT_EQ(store.identifiers(), std::vector<std::string>{"id-2"});
    store.clear();
    EXPECT_EQ(Preferences().value(store.key()), std::nullopt);
}

} // namespace
} // namespace quorva
