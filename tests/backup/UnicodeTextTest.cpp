#include "backup/UnicodeText.h"

#include <gtest/gtest.h>

using namespace quorva::unicode;

TEST(UnicodeText, TrimRemovesWhiteSpaceAndLineBreaksButNotTabs)
{
    EXPECT_EQ(trim(" \n\r\x0B\x0C Hi there \u0085\u2028\u2029\u3000\u00A0"), "Hi there");
    EXPECT_EQ(trim("\r\n"), "");
    EXPECT_EQ(trim(""), "");
    // A tab is a control character, not white space as the message text is trimmed.
    EXPECT_EQ(trim("\tHi\t"), "\tHi\t");
    // Only whole characters go: a combining accent after a space keeps the space.
    EXPECT_EQ(trim("e \u0301"), "e \u0301");
    EXPECT_EQ(trim("\u200BHi\u200B"), "\u200BHi\u200B");
}

TEST(UnicodeText, TrimOfAttributedPiecesAlsoRemovesControlAndFormatCharacters)
{
    const auto set = TrimSet::controlsWhitespaceAndNewlines;
    EXPECT_EQ(trim("\x01\x12\t\u200B\uFEFF See you \x7F\u0085\u00AD", set), "See you");
    EXPECT_EQ(trim("\x02\x03", set), "");
    EXPECT_EQ(trim("Caf\u00E9\u2060", set), "Caf\u00E9");
}

TEST(UnicodeText, CountsUserPerceivedCharacters)
{
    EXPECT_EQ(graphemeCount(""), 0u);
    EXPECT_EQ(graphemeCount("abc"), 3u);
    EXPECT_EQ(graphemeCount("a\r\nb"), 3u); // CR LF is one character
    EXPECT_EQ(graphemeCount("e\u0301"), 1u);
    EXPECT_EQ(graphemeCount("\U0001F468\u200D\U0001F469\u200D\U0001F467"), 1u); // family
    EXPECT_EQ(graphemeCount("\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7"), 2u);   // two flags
    EXPECT_EQ(graphemeCount("\U0001F44D\U0001F3FD ok"), 4u);                    // skin tone
    EXPECT_EQ(graphemeCount("\u0928\u092E\u0938\u094D\u0924\u0947"), 3u);       // Devanagari clusters
}

TEST(UnicodeText, PrefixNeverSplitsACharacter)
{
    EXPECT_EQ(graphemePrefix("abc", 10), "abc");
    EXPECT_EQ(graphemePrefix("abc", 0), "");
    EXPECT_EQ(graphemePrefix("ab\r\ncd", 3), "ab\r\n");
    EXPECT_EQ(graphemePrefix("e\u0301e\u0301e\u0301", 2), "e\u0301e\u0301");
    EXPECT_EQ(graphemePrefix("\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7", 1), "\U0001F1E9\U0001F1EA");
    const std::string mixed = std::string(3999, 'x') + "\U0001F468\u200D\U0001F469" + "tail";
    EXPECT_EQ(graphemePrefix(mixed, 4000), std::string(3999, 'x') + "\U0001F468\u200D\U0001F469");
}

TEST(UnicodeText, LettersAreCategoriesLAndM)
{
    EXPECT_FALSE(containsLetter(""));
    EXPECT_FALSE(containsLetter("1234 !?"));
    EXPECT_FALSE(containsLetter("\u0661\u0662\u0663")); // Arabic-Indic digits
    EXPECT_FALSE(containsLetter("\U0001F600"));
    EXPECT_TRUE(containsLetter("12a"));
    EXPECT_TRUE(containsLetter("\u65E5\u672C"));
    EXPECT_TRUE(containsLetter("12\u0301")); // a lone combining mark counts
}

TEST(UnicodeText, Utf8IsValidatedStrictlyAndRepairedWithReplacementCharacters)
{
    EXPECT_TRUE(isValidUtf8("plain ascii"));
    EXPECT_TRUE(isValidUtf8("Gr\u00FC\u00DFe \U0001F44B"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(isValidUtf8("abc\xE2\x82"));      // cut short

    EXPECT_EQ(decodeUtf8Lossy("a\xFF"
                              "b"),
              "a\uFFFD"
              "b");
    EXPECT_EQ(decodeUtf8Lossy("\xE2\x82"), "\uFFFD"); // one maximal subpart, one replacement
    EXPECT_EQ(decodeUtf8Lossy("\xE2\x82"
                              "A"),
              "\uFFFD"
              "A");
    EXPECT_EQ(decodeUtf8Lossy("\xC0\xAF"), "\uFFFD\uFFFD");
    EXPECT_EQ(decodeUtf8Lossy(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}
