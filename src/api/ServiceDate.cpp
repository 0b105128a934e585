#include "api/ServiceDate.h"

#include "model/Iso8601.h"

#include <nlohmann/json.hpp>

namespace quorva {

Instant decodeServiceDate(const nlohmann::json& value)
{
    if (value.is_string()) {
        const auto& text = value.get_ref<const std::string&>();
        if (auto instant = parseInternetDateTime(text, FractionalSeconds::required))
            return *instant;
        if (auto instant = parseInternetDateTime(text, FractionalSeconds::forbidden))
            return *instant;
    }
    throw WireDecodingError("Invalid ISO-8601 date");
}

} // namespace quorva
