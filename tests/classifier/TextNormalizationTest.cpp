#include "classifier/TextNormalization.h"

#include <gtest/gtest.h>

namespace quorva::textnormalization {
namespace {

struct Text {
    const char* name;
    std::string text;
    bool ascii;
    operator std::string_view() const { return name; } // how gtest prints the row
};

std::string everyAsciiByteAfter(std::size_t shift)
{
    std::string text(shift, 'Q');
    for (int c = 0; c < 128; ++c)
        text.push_back(static_cast<char>(c));
    return text;
}

// Every byte at every offset of an eight-byte word, lengths that leave a tail, and the white space
// that the two routes must collapse alike.
const Text kTexts[] = {
    {"Empty", "", true},
    {"EveryAsciiByte", everyAsciiByteAfter(0), true},
    {"EveryAsciiByteAfter3", everyAsciiByteAfter(3), true},
    {"EveryAsciiByteAfter7", everyAsciiByteAfter(7), true},
    {"LettersNextToTheCaseRanges", "KEEP This SECRET @[`{ Zz", true},
    {"RunsOfSpaces", "  kill   you  ", true},
    {"EveryAsciiWhiteSpace", "a\tb\nc\vd\fe\rf\r\n\t g", true},
    {"ControlsThatAreNotWhiteSpace", std::string("a\x1c\x1d\x1e\x1f\x7f\0\x01z", 10), true},
    {"Accent", "caf\xc3\xa9", false},
    {"HighByteEndingAWord", "ABCDEFG\x80", false},
    {"AccentAfterTheFirstWords", "ABCDEFGHIJKLMNOPQRSTUVWXYZ\xc3\xa9 ABCDEFGHIJKLMNOPQRSTUVWXYZ", false},
};

class BothRoutes : public ::testing::TestWithParam<Text> {};

TEST_P(BothRoutes, AgreeOnAsciiAndTheFastOneRefusesTheRest)
{
    std::string fast;
    ASSERT_EQ(normalizeAscii(GetParam().text, fast), GetParam().ascii);
    if (GetParam().ascii) {
        EXPECT_EQ(fast, normalizedByIcu(GetParam().text));
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, BothRoutes, ::testing::ValuesIn(kTexts),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorva::textnormalization
