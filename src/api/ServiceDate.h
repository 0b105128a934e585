#pragma once

#include "model/Instant.h"

#include <nlohmann/json_fwd.hpp>

#include <stdexcept>

namespace quorva {

// A response body that does not have the shape a wire record requires. Never shown to the
// user: the request core reports it as an unreadable response.
class WireDecodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An instant of a response: an internet date-time string, with or without fractional seconds.
// Anything else throws WireDecodingError("Invalid ISO-8601 date").
[[nodiscard]] Instant decodeServiceDate(const nlohmann::json& value);

} // namespace quorva
