#include "classifier/TextFolding.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

namespace quorva::textfolding {
namespace {

TEST(TextFolding, AsciiFastPathAgreesWithIcu)
{
    std::string everyAscii;
    for (int c = 0; c < 128; ++c)
        everyAscii.push_back(static_cast<char>(c));
    // Every byte at every offset within a word, and lengths that leave a tail.
    for (std::size_t shift = 0; shift < 8; ++shift) {
        for (const std::string& text : {everyAscii, std::string("KEEP This SECRET @[`{ Zz")}) {
            const std::string shifted = std::string(shift, 'Q') + text;
            std::string fast;
            ASSERT_TRUE(foldAscii(shifted, fast));
            EXPECT_EQ(fast, foldedByIcu(shifted));
        }
    }
    std::string fast;
    EXPECT_TRUE(foldAscii("", fast));
    EXPECT_EQ(fast, "");

    std::string ignored;
    EXPECT_FALSE(foldAscii("caf\xc3\xa9", ignored));
    EXPECT_FALSE(foldAscii("\xff", ignored));
    EXPECT_FALSE(foldAscii("ABCDEFG\x80", ignored));
    EXPECT_FALSE(foldAscii("ABCDEFGHIJKLMNOPQRSTUVWXYZ\xc3\xa9"
                           "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
                           ignored));
}

// Held against ICU's own transliterator for the same folding, applied after case folding.
TEST(TextFolding, RemovesMarksLikeTheIcuTransliterator)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> stripMarks(
        icu::Transliterator::createInstance("NFD; [:Nonspacing Mark:] Remove; NFC", UTRANS_FORWARD, status));
    ASSERT_TRUE(U_SUCCESS(status));
    const auto reference = [&](const std::string& text) {
        icu::UnicodeString s = icu::UnicodeString::fromUTF8(text);
        s.foldCase();
        stripMarks->transliterate(s);
        s.findAndReplace(icu::UnicodeString(static_cast<UChar32>(0x2019)), icu::UnicodeString("'"));
        s.toLower(icu::Locale::getRoot());
        std::string out;
        return s.toUTF8String(out);
    };

    for (const std::string text :
         {"Ça VA, Dôn\u2019t", "ÉÈÊËéèêë ÅÄÖ åäö Ñ ñ Ç ç Ø ø Ł ł ß ẞ", "Straße ﬁsh ǰ İstanbul ΆΈΉ ΐ",
          "e\u0301 a\u0300\u0323 o\u0308\u0304", "😂❤️👍🏽 👨‍👩‍👧 🇫🇷",
          "Привет ПАРОЛЬ й ё", "नमस्ते مرحبا 你好", "\xff broken \xc3", "ＦＵＬＬ ｗｉｄｔｈ"}) {
        EXPECT_EQ(foldedByIcu(text), reference(text)) << text;
    }
    EXPECT_EQ(foldedByIcu("ǰ İ ÉTÉ"), "j i ete");
}

} // namespace
} // namespace quorva::textfolding
