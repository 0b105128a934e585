#pragma once

#include <string>
#include <string_view>

namespace quorva {

// The text with every one-time code in it masked, digit by digit, as it may leave this computer:
// "G-386965 is your Google verification code." becomes "G-•••••• is your Google verification
// code.". A code is a number of 4 to 8 digits (or evenly grouped ones, "55-82-19", "662 145")
// within a few words of a word for a code ("code", "PIN", "passcode", "Verifizierungscode",
// "código" …) in the same sentence. Prices, times, phone numbers and numbers far from such a
// word stay as they are.
[[nodiscard]] std::string maskOneTimeCodes(std::string_view utf8Text);

} // namespace quorva
