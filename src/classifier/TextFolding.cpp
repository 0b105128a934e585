#include "classifier/TextFolding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace quorva::textfolding {

namespace {

// ICU strings are indexed by int32_t; longer texts are folded in pieces of this many bytes.
constexpr std::size_t kMaxPiece = std::size_t{1} << 30;

// Removes nonspacing marks and turns U+2019 into U+0027, in place.
void stripMarks(icu::UnicodeString& text)
{
    const int32_t length = text.length();
    UChar* buffer = text.getBuffer(-1);
    if (buffer == nullptr)
        return;
    int32_t written = 0;
    for (int32_t read = 0; read < length;) {
        UChar32 c;
        U16_NEXT(buffer, read, length, c);
        // No code point below U+0300 is a nonspacing mark: most text never asks for its category.
        if (c >= 0x300 && u_charType(c) == U_NON_SPACING_MARK)
            continue;
        if (c == 0x2019)
            c = 0x27;
        U16_APPEND_UNSAFE(buffer, written, c);
    }
    text.releaseBuffer(written);
}

void appendFolded(std::string_view piece, std::string& out)
{
    icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(piece.data(), static_cast<int32_t>(piece.size())));
    // ICU's default folding, not the Turkic one: under a Turkish locale "KILL" would become "kıll"
    // and no English phrase would be found any more. Folding comes before mark removal so that
    // marks introduced by folding (U+01F0 -> j + U+030C) go too.
    text.foldCase(U_FOLD_CASE_DEFAULT);

    // "NFD; [:Nonspacing Mark:] Remove; NFC", with ICU's shared normalisers, which unlike a
    // Transliterator are safe to use from any thread. Text already in the wanted form is not copied.
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_SUCCESS(status) && !nfd->isNormalized(text, status) && U_SUCCESS(status)) {
        icu::UnicodeString decomposed = nfd->normalize(text, status);
        if (U_SUCCESS(status))
            text = std::move(decomposed);
    }
    stripMarks(text);
    status = U_ZERO_ERROR;
    if (nfc != nullptr && !nfc->isNormalized(text, status) && U_SUCCESS(status)) {
        icu::UnicodeString composed = nfc->normalize(text, status);
        if (U_SUCCESS(status))
            text = std::move(composed);
    }

    text.toLower(icu::Locale::getRoot());
    text.toUTF8String(out);
}

} // namespace

std::string foldedByIcu(std::string_view utf8Text)
{
    std::string out;
    while (!utf8Text.empty()) {
        std::size_t take = std::min(utf8Text.size(), kMaxPiece);
        // Never cut through a character: back off to the byte that starts one.
        while (take < utf8Text.size() && take > 0 &&
               (static_cast<unsigned char>(utf8Text[take]) & 0xC0) == 0x80)
            --take;
        if (take == 0)
            take = std::min(utf8Text.size(), kMaxPiece);
        appendFolded(utf8Text.substr(0, take), out);
        utf8Text.remove_prefix(take);
    }
    return out;
}

bool foldAscii(std::string_view text, std::string& out)
{
    out.resize(text.size());
    const char* source = text.data();
    char* target = out.data();
    const std::size_t size = text.size();
    // Eight bytes at a time. Once a byte has its high bit set the text is not ASCII and what was
    // written does not matter; until then no addition below carries into the next byte.
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x80 * kOnes;
    std::uint64_t seen = 0;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, source + i, 8);
        seen |= word;
        const std::uint64_t low = word & ~kHighBits;
        const std::uint64_t atLeastA = low + (0x80 - 'A') * kOnes;
        const std::uint64_t aboveZ = low + (0x80 - 'Z' - 1) * kOnes;
        word |= (atLeastA & ~aboveZ & kHighBits) >> 2; // 0x80 >> 2 is the 0x20 between cases
        std::memcpy(target + i, &word, 8);
    }
    for (; i < size; ++i) {
        const auto c = static_cast<unsigned char>(source[i]);
        seen |= c;
        target[i] = static_cast<char>(static_cast<unsigned>(c - 'A') < 26 ? c + ('a' - 'A') : c);
    }
    return (seen & kHighBits) == 0;
}

} // namespace quorva::textfolding
