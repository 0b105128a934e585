#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorva::devservice {

// Lowercase hex of `bytes` bytes from the system's cryptographically secure generator.
[[nodiscard]] std::string randomHex(std::size_t bytes);

// A fresh identifier such as "brg_3f9a…": the prefix names the kind of record.
[[nodiscard]] std::string newIdentifier(std::string_view prefix);

// Lowercase hex SHA-256; tokens are stored only in this form.
[[nodiscard]] std::string sha256Hex(std::string_view data);

} // namespace quorva::devservice
