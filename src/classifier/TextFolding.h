#pragma once

#include <string>
#include <string_view>

// The two routes by which LocalRiskClassifier::normalized folds a text. They are separate so that
// tests can hold the fast route against the general one.
namespace quorva::textfolding {

// Case folding, diacritic removal and U+2019 -> U+0027 through ICU; invalid UTF-8 becomes U+FFFD.
[[nodiscard]] std::string foldedByIcu(std::string_view utf8Text);

// Lower-cases pure-ASCII text into out, which then equals foldedByIcu(text); false for any other text.
[[nodiscard]] bool foldAscii(std::string_view text, std::string& out);

} // namespace quorva::textfolding
