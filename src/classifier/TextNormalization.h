#pragma once

#include <string>
#include <string_view>

// The two routes by which a message is put into the form the phrases are written in: lower case,
// no diacritics, compatibility forms folded, format characters gone, straight apostrophes, and
// every run of white space one space. They are separate so that tests can hold the fast route
// against the general one.
namespace quorva::textnormalization {

// The general route, through ICU; invalid UTF-8 becomes U+FFFD.
[[nodiscard]] std::string normalizedByIcu(std::string_view utf8Text);

// Normalises pure-ASCII text into out, which then equals normalizedByIcu(text); false for any other text.
[[nodiscard]] bool normalizeAscii(std::string_view text, std::string& out);

// The text in the form the phrases are written in, by the fast route where it can.
[[nodiscard]] std::string normalized(std::string_view utf8Text);

} // namespace quorva::textnormalization
