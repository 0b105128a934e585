#include "classifier/OneTimeCodes.h"

#include "classifier/TextNormalization.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace quorva {
namespace {

// How many words may stand between a code and the word that names it: "G-386965 is your
// Google verification code."
constexpr int kReach = 5;
constexpr std::string_view kMask = "\u2022";

// Words for a code, as the normaliser folds them.
constexpr std::array<std::string_view, 18> kCodeWords = {
    "code", "codes", "pin",  "passcode", "passcodes", "otp",  "verification", "codigo", "codice",
    "kod",  "kodu",  "kode", "koden",    "kodem",     "koda", "код",          "кода",   "коду"};
// Scripts without spaces between words carry the word for a code inside a longer run of letters.
constexpr std::array<std::string_view, 5> kCodeWordsWithin = {"验证码", "驗證碼", "コード", "인증번호",
                                                              "校验码"};
// A word ending in "code", "kod" or "kode" names a code ("verifizierungscode", "verificatiecode",
// "verifieringskod"), except these.
constexpr std::array<std::string_view, 12> kNotCodes = {"barcode",   "barcodes", "unicode",  "postcode",
                                                        "postcodes", "zipcode",  "zipcodes", "decode",
                                                        "encode",    "geocode",  "opcode",   "qrcode"};
// "zip code 90210" and "area code 555" are no one-time codes.
constexpr std::array<std::string_view, 6> kNotCodeBefore = {"zip",     "area",  "postal",
                                                            "country", "dress", "source"};

enum class Kind { word, number, stop };
struct Token {
    Kind kind;
    std::size_t begin;
    std::size_t end;
};

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isWordCharacter(UChar32 c)
{
    return u_isalpha(c) || (U_GET_GC_MASK(c) & U_GC_M_MASK) != 0;
}

UChar32 characterAt(std::string_view text, std::size_t& at)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    auto offset = static_cast<std::int32_t>(at);
    UChar32 c;
    U8_NEXT(bytes, offset, static_cast<std::int32_t>(text.size()), c);
    at = static_cast<std::size_t>(offset);
    return c;
}

UChar32 characterBefore(std::string_view text, std::size_t at)
{
    if (at == 0)
        return U_SENTINEL;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    auto offset = static_cast<std::int32_t>(at);
    UChar32 c;
    U8_PREV(bytes, 0, offset, c);
    return c;
}

// Whether a full stop (or the like) that ends just before `at` ends a sentence, not a number or a
// link: nothing or white space follows.
bool endsSentence(std::string_view text, std::size_t at)
{
    return at == text.size() || u_isUWhiteSpace(characterAt(text, at));
}

// Words, numbers (digit runs joined by single separators: "55-82-19", "10:30", "1 555 014 2233")
// and sentence ends.
std::vector<Token> tokens(std::string_view text)
{
    std::vector<Token> found;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t begin = at;
        if (isAsciiDigit(text[at])) {
            while (at < text.size() && isAsciiDigit(text[at])) {
                ++at;
                const bool joined = at + 1 < text.size() &&
                                    std::string_view("-. ,:/").find(text[at]) != std::string_view::npos &&
                                    isAsciiDigit(text[at + 1]);
                if (joined)
                    ++at;
            }
            found.push_back({Kind::number, begin, at});
            continue;
        }
        const UChar32 c = characterAt(text, at);
        if (isWordCharacter(c)) {
            std::size_t end = at;
            while (end < text.size() && !isAsciiDigit(text[end])) {
                std::size_t next = end;
                if (!isWordCharacter(characterAt(text, next)))
                    break;
                end = next;
            }
            at = end;
            found.push_back({Kind::word, begin, end});
        } else if (c == '\n' || ((c == '.' || c == '!' || c == '?' || c == ';') && endsSentence(text, at))) {
            found.push_back({Kind::stop, begin, at});
        }
    }
    return found;
}

// Digits in groups of one length, at most one kind of separator, a hyphen or a space.
bool hasCodeShape(std::string_view number)
{
    std::size_t digits = 0;
    std::size_t group = 0;
    std::size_t groupLength = 0;
    char separator = 0;
    int groups = 0;
    for (const char c : number) {
        if (isAsciiDigit(c)) {
            ++digits;
            ++group;
            continue;
        }
        if ((c != '-' && c != ' ') || (separator != 0 && c != separator) ||
            (groupLength != 0 && group != groupLength))
            return false;
        separator = c;
        groupLength = group;
        group = 0;
        ++groups;
    }
    if (groups == 0)
        return digits >= 4 && digits <= 8;
    return group == groupLength && groupLength >= 2 && groupLength <= 4 && digits >= 4 && digits <= 8;
}

// Not part of a price, a phone number, a measure or a word: "$1500", "+1 555", "20%", "A1234".
bool standsAlone(std::string_view text, const Token& number)
{
    const UChar32 before = characterBefore(text, number.begin);
    if (before == '+' || before == '$' || before == '#' || before == 0x20AC || before == 0xA3 ||
        before == 0xA5 || (before >= 0 && isWordCharacter(before)))
        return false;
    std::size_t after = number.end;
    const UChar32 next = after < text.size() ? characterAt(text, after) : U_SENTINEL;
    return next != '%' && !(next >= 0 && isWordCharacter(next));
}

bool namesACode(const std::string& word, const std::string* wordBefore)
{
    const auto among = [&word](const auto& list) { return std::ranges::find(list, word) != list.end(); };
    if (among(kNotCodes))
        return false;
    if (among(kCodeWords)) {
        return !(word.starts_with("code") && wordBefore != nullptr &&
                 std::ranges::find(kNotCodeBefore, *wordBefore) != kNotCodeBefore.end());
    }
    for (const std::string_view ending : {"code", "kod", "kode"})
        if (word.size() > ending.size() + 3 && word.ends_with(ending))
            return true;
    // Folded as the words are: the normaliser drops the voicing mark of "ド".
    static const std::vector<std::string> within = [] {
        std::vector<std::string> folded;
        for (const std::string_view phrase : kCodeWordsWithin)
            folded.push_back(textnormalization::normalized(phrase));
        return folded;
    }();
    return std::ranges::any_of(
        within, [&word](const std::string& phrase) { return word.find(phrase) != std::string::npos; });
}

} // namespace

std::string maskOneTimeCodes(std::string_view utf8Text)
{
    if (utf8Text.find_first_of("0123456789") == std::string_view::npos)
        return std::string(utf8Text);
    const std::vector<Token> found = tokens(utf8Text);
    std::vector<std::string> folded(found.size());
    const auto foldedAt = [&](std::size_t i) -> const std::string& {
        if (folded[i].empty())
            folded[i] =
                textnormalization::normalized(utf8Text.substr(found[i].begin, found[i].end - found[i].begin));
        return folded[i];
    };
    const auto isCodeWord = [&](std::size_t i) {
        if (found[i].kind != Kind::word)
            return false;
        const bool wordBefore = i > 0 && found[i - 1].kind == Kind::word;
        return namesACode(foldedAt(i), wordBefore ? &foldedAt(i - 1) : nullptr);
    };
    // Whether a word for a code stands within reach on one side of token i, in its sentence.
    const auto codeWordNear = [&](std::size_t i, int step) {
        int words = 0;
        for (auto j = static_cast<std::ptrdiff_t>(i) + step;
             j >= 0 && j < static_cast<std::ptrdiff_t>(found.size()) && words < kReach; j += step) {
            const auto k = static_cast<std::size_t>(j);
            if (found[k].kind == Kind::stop)
                return false;
            if (found[k].kind == Kind::word && (++words, isCodeWord(k)))
                return true;
        }
        return false;
    };

    std::string masked;
    std::size_t copied = 0;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Token& token = found[i];
        const std::string_view number = utf8Text.substr(token.begin, token.end - token.begin);
        if (token.kind != Kind::number || !hasCodeShape(number) || !standsAlone(utf8Text, token) ||
            !(codeWordNear(i, -1) || codeWordNear(i, +1)))
            continue;
        masked.append(utf8Text.substr(copied, token.begin - copied));
        for (const char c : number)
            masked.append(isAsciiDigit(c) ? kMask : std::string_view(&c, 1));
        copied = token.end;
    }
    if (copied == 0)
        return std::string(utf8Text);
    masked.append(utf8Text.substr(copied));
    return masked;
}

} // namespace quorva
