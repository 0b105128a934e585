#pragma once

#include <QString>

#include <cstddef>

namespace quorva {

// The code as the service expects it: upper case, then only the letters and numbers (in the
// Unicode sense) in their order; spaces, dashes and other punctuation are dropped.
[[nodiscard]] QString normalizedPairingCode(const QString& typed);

// How many user-perceived characters the code has.
[[nodiscard]] std::size_t pairingCodeLength(const QString& code);

} // namespace quorva
