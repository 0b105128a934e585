#include "HttpExchange.h"

#include <algorithm>
#include <cctype>

namespace quorva::devservice {

std::optional<std::string> HttpCall::header(std::string_view name) const
{
    const auto sameName = [name](const auto& h) {
        return std::ranges::equal(h.first, name, [](unsigned char a, unsigned char b) {
            return std::tolower(a) == std::tolower(b);
        });
    };
    const auto it = std::ranges::find_if(headers, sameName);
    return it == headers.end() ? std::nullopt : std::optional(it->second);
}

HttpReply jsonReply(int status, const nlohmann::json& body)
{
    return {status, body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), {}};
}

HttpReply errorReply(int status, const std::string& code, const std::string& message)
{
    return jsonReply(status, {{"error", message}, {"code", code}});
}

} // namespace quorva::devservice
