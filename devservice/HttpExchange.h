#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One HTTP request and its answer, free of the server library so that the service's rules can be
// exercised and read without it.
namespace quorva::devservice {

struct HttpCall {
    std::string method;
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // The first header of that name, compared without regard to case.
    [[nodiscard]] std::optional<std::string> header(std::string_view name) const;
};

struct HttpReply {
    int status = 200;
    std::string body;
    // For the request log: what the service did, never a token or a message text.
    std::string logNote;
};

// A reply whose body is the JSON value, serialised compactly (invalid UTF-8 replaced, never thrown).
[[nodiscard]] HttpReply jsonReply(int status, const nlohmann::json& body);
[[nodiscard]] HttpReply errorReply(int status, const std::string& code, const std::string& message);

} // namespace quorva::devservice
