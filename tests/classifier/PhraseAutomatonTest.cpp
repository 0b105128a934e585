#include "classifier/PhraseAutomaton.h"

#include <gtest/gtest.h>

namespace quorva {
namespace {

TEST(PhraseAutomaton, FindsOverlappingAndNestedPhrases)
{
    // "he" ends inside "she" and "hers": only the suffix links find it there.
    const PhraseAutomaton automaton({{"he"}, {"she"}, {"his"}, {"hers"}, {"xyz"}});
    EXPECT_EQ(automaton.groupCount(), 5u);
    EXPECT_EQ(automaton.matchedGroups("ushers"), (std::vector<bool>{true, true, false, true, false}));
    EXPECT_EQ(automaton.matchedGroups("ahishe"), (std::vector<bool>{true, true, true, false, false}));
    EXPECT_TRUE(automaton.matchedGroups("").empty());
    EXPECT_TRUE(automaton.matchedGroups("hxs hi sh").empty());
}

TEST(PhraseAutomaton, HandlesRepeatsEmptyPhrasesAndEveryByte)
{
    const PhraseAutomaton automaton({{"aab", "ab"}, {""}, {std::string("\0\xff", 2)}});
    EXPECT_EQ(automaton.matchedGroups("aaab"), (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(automaton.matchedGroups("aa b").empty());
    EXPECT_EQ(automaton.matchedGroups(std::string("x\0\xff", 3)), (std::vector<bool>{false, false, true}));

    // All 256 byte values as phrases still fit the byte classes.
    std::vector<std::vector<std::string>> everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.push_back({std::string(1, static_cast<char>(b))});
    const PhraseAutomaton all(everyByte);
    const auto matched = all.matchedGroups("\xff");
    ASSERT_EQ(matched.size(), 256u);
    EXPECT_TRUE(matched[255]);
    EXPECT_FALSE(matched[0]);
}

} // namespace
} // namespace quorva
