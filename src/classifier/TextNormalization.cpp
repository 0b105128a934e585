#include "classifier/TextNormalization.h"

#include <algorithm>

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace quorva::textnormalization {

namespace {

// ICU strings are indexed by int32_t; longer texts are normalised in pieces of this many bytes.
constexpr std::size_t kMaxPiece = std::size_t{1} << 30;

constexpr UChar32 kZeroWidthSpace = 0x200B;

// Compatibility forms (fullwidth letters, ligatures, no-break spaces) become plain characters and
// case is folded, ICU's default folding rather than the Turkic one: under a Turkish locale "KILL"
// would otherwise become "kıll" and no English phrase would be found. Default-ignorable characters
// (soft hyphen, joiners) are dropped. The result is decomposed, so that the marks can go next.
const icu::Normalizer2* foldedDecomposition()
{
    static const icu::Normalizer2* const instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* normalizer =
            icu::Normalizer2::getInstance(nullptr, "nfkc_cf", UNORM2_DECOMPOSE, status);
        return U_SUCCESS(status) ? normalizer : nullptr;
    }();
    return instance;
}

// Drops nonspacing marks and format characters, turns U+2019 into U+0027 and every run of white
// space into one space, in place.
void keepBaseCharacters(icu::UnicodeString& text)
{
    const int32_t length = text.length();
    UChar* buffer = text.getBuffer(-1);
    if (buffer == nullptr)
        return;
    int32_t written = 0;
    bool afterSpace = false;
    for (int32_t read = 0; read < length;) {
        UChar32 c;
        U16_NEXT(buffer, read, length, c);
        if (u_isUWhiteSpace(c)) {
            if (!afterSpace)
                buffer[written++] = u' ';
            afterSpace = true;
            continue;
        }
        // No mark or format character lies below the soft hyphen: most text never asks for a category.
        if (c >= 0xAD) {
            const int8_t category = u_charType(c);
            if (category == U_NON_SPACING_MARK || category == U_FORMAT_CHAR)
                continue;
        }
        if (c == 0x2019)
            c = 0x27;
        U16_APPEND_UNSAFE(buffer, written, c);
        afterSpace = false;
    }
    text.releaseBuffer(written);
}

void appendNormalized(std::string_view piece, std::string& out)
{
    icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(piece.data(), static_cast<int32_t>(piece.size())));
    // A zero-width space separates words as a space does; the folding below would drop it and join them.
    text.findAndReplace(icu::UnicodeString(kZeroWidthSpace), icu::UnicodeString(u' '));

    // ICU's shared normalisers are safe to use from any thread. Folding comes before mark removal so
    // that marks introduced by folding (U+01F0 -> j + U+030C) go too.
    UErrorCode status = U_ZERO_ERROR;
    if (const icu::Normalizer2* fold = foldedDecomposition()) {
        icu::UnicodeString folded = fold->normalize(text, status);
        if (U_SUCCESS(status))
            text = std::move(folded);
    }
    keepBaseCharacters(text);
    status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_SUCCESS(status) && !nfc->isNormalized(text, status) && U_SUCCESS(status)) {
        icu::UnicodeString composed = nfc->normalize(text, status);
        if (U_SUCCESS(status))
            text = std::move(composed);
    }

    text.toLower(icu::Locale::getRoot());
    text.toUTF8String(out);
}

} // namespace

std::string normalizedByIcu(std::string_view utf8Text)
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
        appendNormalized(utf8Text.substr(0, take), out);
        utf8Text.remove_prefix(take);
    }
    return out;
}

bool normalizeAscii(std::string_view text, std::string& out)
{
    out.resize(text.size());
    char* target = out.data();
    std::size_t written = 0;
    bool afterSpace = false;
    for (const unsigned char c : text) {
        if (c >= 0x80)
            return false;
        // The ASCII white space: tab, line feed, vertical tab, form feed, carriage return, space.
        if (c == ' ' || (c >= '\t' && c <= '\r')) {
            if (!afterSpace)
                target[written++] = ' ';
            afterSpace = true;
            continue;
        }
        target[written++] = static_cast<char>(static_cast<unsigned>(c - 'A') < 26 ? c + ('a' - 'A') : c);
        afterSpace = false;
    }
    out.resize(written);
    return true;
}

std::string normalized(std::string_view utf8Text)
{
    std::string ascii;
    if (normalizeAscii(utf8Text, ascii))
        return ascii;
    return normalizedByIcu(utf8Text);
}

} // namespace quorva::textnormalization
