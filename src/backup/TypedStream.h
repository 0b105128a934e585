#pragma once

#include <optional>
#include <string_view>

namespace quorva {

// The bytes of the first string archived in a typedstream archive ("streamtyped"), the
// legacy format in which devices keep an attributed message body: after the class name
// NSString, the first '+' type marker (84 01 2B), a length, then that many bytes. Nothing
// when the archive is not a typedstream, lacks that layout or is cut short.
[[nodiscard]] std::optional<std::string_view> firstArchivedString(std::string_view archive);

} // namespace quorva
