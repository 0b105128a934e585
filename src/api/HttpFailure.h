#pragma once

#include "model/BridgeClientError.h"

#include <cstdint>
#include <string_view>

namespace quorva {

// The standard reason phrase of an HTTP status ("Bad Gateway" for 502); for a code without
// one, the phrase of its class ("Server Error" for 599).
[[nodiscard]] std::string_view reasonPhrase(int64_t status);

// The error for an answer outside 200-299: the error body's error, else its message, else the
// status's reason phrase; the body's code when it has one.
[[nodiscard]] BridgeClientError failureForStatus(int64_t status, std::string_view body);

} // namespace quorva
