#pragma once

#include <string>
#include <string_view>

namespace quorva::cli {

// Text from the service or a backup, made safe to print to a terminal: line breaks and tabs
// become spaces, every other control character (escape sequences included), every direction
// override and every byte that is not UTF-8 becomes U+FFFD. Otherwise a child's name or a
// failure text could move the cursor, recolour the screen or forge whole lines of output.
[[nodiscard]] std::string printable(std::string_view utf8);

} // namespace quorva::cli
