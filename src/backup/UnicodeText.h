#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Unicode text services over UTF-8, with ASCII fast paths: message texts are mostly ASCII
// and a scan handles thousands of them.
namespace quorva::unicode {

// True when the bytes are well-formed UTF-8 (no overlongs, surrogates or values past U+10FFFF).
[[nodiscard]] bool isValidUtf8(std::string_view bytes);

// The bytes as UTF-8, each ill-formed sequence replaced by U+FFFD (maximal subparts, as
// Unicode recommends).
[[nodiscard]] std::string decodeUtf8Lossy(std::string_view bytes);

// What trimming removes at both ends of a text.
enum class TrimSet {
    // White space and line breaks: general category Z, U+000A to U+000D and U+0085.
    whitespaceAndNewlines,
    // The above plus control and format characters (general categories Cc and Cf).
    controlsWhitespaceAndNewlines,
};

// The text without the set's characters at either end. Expects valid UTF-8.
[[nodiscard]] std::string_view trim(std::string_view utf8, TrimSet set = TrimSet::whitespaceAndNewlines);

// The number of user-perceived characters (extended grapheme clusters). Expects valid UTF-8.
[[nodiscard]] std::size_t graphemeCount(std::string_view utf8);

// The first `count` user-perceived characters; the whole text when it has fewer.
[[nodiscard]] std::string_view graphemePrefix(std::string_view utf8, std::size_t count);

// True when some character is a letter or a mark (general categories L and M).
[[nodiscard]] bool containsLetter(std::string_view utf8);

} // namespace quorva::unicode
