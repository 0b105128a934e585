#include "backup/UnicodeText.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace quorva::unicode {
namespace {

const uint8_t* bytesOf(std::string_view s)
{
    return reinterpret_cast<const uint8_t*>(s.data());
}

bool isAscii(std::string_view s)
{
    // Eight bytes at a time: the common case is a short ASCII message.
    const char* p = s.data();
    std::size_t n = s.size();
    uint64_t high = 0;
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
        high |= word;
    }
    for (; n > 0; ++p, --n)
        high |= static_cast<uint8_t>(*p);
    return (high & 0x8080808080808080ULL) == 0;
}

bool isTrimmed(UChar32 c, TrimSet set)
{
    if ((c >= 0x0A && c <= 0x0D) || c == 0x85)
        return true;
    const uint32_t mask = U_GET_GC_MASK(c);
    if (mask & U_GC_Z_MASK)
        return true;
    return set == TrimSet::controlsWhitespaceAndNewlines && (mask & (U_GC_CC_MASK | U_GC_CF_MASK));
}

// Decodes the scalar starting at `i` of valid UTF-8 and moves `i` past it.
UChar32 nextScalar(std::string_view s, std::size_t& i)
{
    UChar32 c;
    U8_NEXT_OR_FFFD(bytesOf(s), i, s.size(), c);
    return c;
}

// The start of the scalar that ends just before `end` in valid UTF-8.
std::size_t previousScalarStart(std::string_view s, std::size_t end)
{
    std::size_t i = end - 1;
    while (i > 0 && (static_cast<uint8_t>(s[i]) & 0xC0) == 0x80)
        --i;
    return i;
}

// ICU's character break iterator is costly to create; one per thread is kept and reused.
icu::BreakIterator* characterBreaks()
{
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> it(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(it) : nullptr;
    }();
    return iterator.get();
}

// Walks grapheme boundaries of non-ASCII text; stops after `limit` clusters. Returns the
// number of clusters seen and, in `endOffset`, the byte offset where the last one ends.
std::size_t walkGraphemes(std::string_view utf8, std::size_t limit, std::size_t& endOffset)
{
    endOffset = 0;
    icu::BreakIterator* breaks = characterBreaks();
    UErrorCode status = U_ZERO_ERROR;
    UText text = UTEXT_INITIALIZER;
    if (breaks == nullptr || utf8.size() > static_cast<std::size_t>(INT32_MAX))
        status = U_UNSUPPORTED_ERROR;
    else
        utext_openUTF8(&text, utf8.data(), static_cast<int64_t>(utf8.size()), &status);
    if (U_SUCCESS(status))
        breaks->setText(&text, status);
    if (U_FAILURE(status)) {
        // Without ICU's rules, fall back to counting scalars.
        std::size_t count = 0;
        std::size_t i = 0;
        while (i < utf8.size() && count < limit) {
            nextScalar(utf8, i);
            ++count;
            endOffset = i;
        }
        utext_close(&text);
        return count;
    }
    std::size_t count = 0;
    breaks->first();
    for (int32_t boundary = breaks->next(); boundary != icu::BreakIterator::DONE && count < limit;
         boundary = breaks->next()) {
        ++count;
        endOffset = static_cast<std::size_t>(boundary);
    }
    // Leave the iterator pointing at nothing that could dangle.
    breaks->setText(icu::UnicodeString());
    utext_close(&text);
    return count;
}

// ASCII counterpart of walkGraphemes: every byte is a cluster except that CR LF is one.
std::size_t walkAsciiGraphemes(std::string_view ascii, std::size_t limit, std::size_t& endOffset)
{
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < ascii.size() && count < limit) {
        i += (ascii[i] == '\r' && i + 1 < ascii.size() && ascii[i + 1] == '\n') ? 2 : 1;
        ++count;
    }
    endOffset = i;
    return count;
}

} // namespace

bool isValidUtf8(std::string_view bytes)
{
    if (isAscii(bytes))
        return true;
    const uint8_t* p = bytesOf(bytes);
    std::size_t i = 0;
    while (i < bytes.size()) {
        UChar32 c;
        U8_NEXT(p, i, bytes.size(), c);
        if (c < 0)
            return false;
    }
    return true;
}

std::string decodeUtf8Lossy(std::string_view bytes)
{
    if (isValidUtf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + 16);
    const uint8_t* p = bytesOf(bytes);
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t start = i;
        UChar32 c;
        U8_NEXT(p, i, bytes.size(), c);
        if (c < 0)
            out.append("\xEF\xBF\xBD");
        else
            out.append(bytes.substr(start, i - start));
    }
    return out;
}

std::string_view trim(std::string_view utf8, TrimSet set)
{
    std::size_t begin = 0;
    while (begin < utf8.size()) {
        std::size_t next = begin;
        if (!isTrimmed(nextScalar(utf8, next), set))
            break;
        begin = next;
    }
    std::size_t end = utf8.size();
    while (end > begin) {
        const std::size_t start = previousScalarStart(utf8, end);
        std::size_t i = start;
        if (!isTrimmed(nextScalar(utf8, i), set))
            break;
        end = start;
    }
    return utf8.substr(begin, end - begin);
}

std::size_t graphemeCount(std::string_view utf8)
{
    std::size_t end = 0;
    if (isAscii(utf8))
        return walkAsciiGraphemes(utf8, SIZE_MAX, end);
    return walkGraphemes(utf8, SIZE_MAX, end);
}

std::string_view graphemePrefix(std::string_view utf8, std::size_t count)
{
    if (utf8.size() <= count)
        return utf8; // no text has more clusters than bytes
    std::size_t end = 0;
    if (isAscii(utf8))
        walkAsciiGraphemes(utf8, count, end);
    else
        walkGraphemes(utf8, count, end);
    return utf8.substr(0, end);
}

bool containsLetter(std::string_view utf8)
{
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto byte = static_cast<uint8_t>(utf8[i]);
        if (byte < 0x80) {
            if ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z')
                return true;
            ++i;
            continue;
        }
        if (U_GET_GC_MASK(nextScalar(utf8, i)) & (U_GC_L_MASK | U_GC_M_MASK))
            return true;
    }
    return false;
}

} // namespace quorva::unicode
