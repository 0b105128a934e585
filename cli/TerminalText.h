#pragma once

#include <string>
#include <string_view>

namespace quorva::cli {

// Text from the service or a backup, made safe to print to a terminal: line breaks and tabs
// become spaces, every other control character (escape sequences included), every direction
// override and every byte that is not UTF-8 becomes U+FFFD. Otherwise a child's name or a
// failure text could move the cursor, recolour the screen or forge whole lines of output.
[[nodiscard]] std::string printable(std::string_view utf8);

// An identifier to print, with every byte kept apart: control characters, direction overrides
// and bytes that are not UTF-8 are written as escapes (\n, \x1b, \u{202e}), and a backslash
// as \\. Two ids that differ only there print differently, so a parent can tell them apart
// and type the one meant.
[[nodiscard]] std::string visibleId(std::string_view bytes);

} // namespace quorva::cli
