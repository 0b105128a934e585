#include "api/HttpFailure.h"

#include "api/WireDecoding.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quorva {
namespace {

struct Phrase {
    int64_t status;
    std::string_view text;
};

// The registered status codes and their phrases, sorted by status.
constexpr std::array kPhrases{
    Phrase{100, "Continue"},
    Phrase{101, "Switching Protocols"},
    Phrase{102, "Processing"},
    Phrase{103, "Early Hints"},
    Phrase{200, "OK"},
    Phrase{201, "Created"},
    Phrase{202, "Accepted"},
    Phrase{203, "Non-Authoritative Information"},
    Phrase{204, "No Content"},
    Phrase{205, "Reset Content"},
    Phrase{206, "Partial Content"},
    Phrase{207, "Multi-Status"},
    Phrase{208, "Already Reported"},
    Phrase{226, "IM Used"},
    Phrase{300, "Multiple Choices"},
    Phrase{301, "Moved Permanently"},
    Phrase{302, "Found"},
    Phrase{303, "See Other"},
    Phrase{304, "Not Modified"},
    Phrase{305, "Use Proxy"},
    Phrase{307, "Temporary Redirect"},
    Phrase{308, "Permanent Redirect"},
    Phrase{400, "Bad Request"},
    Phrase{401, "Unauthorized"},
    Phrase{402, "Payment Required"},
    Phrase{403, "Forbidden"},
    Phrase{404, "Not Found"},
    Phrase{405, "Method Not Allowed"},
    Phrase{406, "Not Acceptable"},
    Phrase{407, "Proxy Authentication Required"},
    Phrase{408, "Request Timeout"},
    Phrase{409, "Conflict"},
    Phrase{410, "Gone"},
    Phrase{411, "Length Required"},
    Phrase{412, "Precondition Failed"},
    Phrase{413, "Content Too Large"},
    Phrase{414, "URI Too Long"},
    Phrase{415, "Unsupported Media Type"},
    Phrase{416, "Range Not Satisfiable"},
    Phrase{417, "Expectation Failed"},
    Phrase{421, "Misdirected Request"},
    Phrase{422, "Unprocessable Content"},
    Phrase{423, "Locked"},
    Phrase{424, "Failed Dependency"},
    Phrase{425, "Too Early"},
    Phrase{426, "Upgrade Required"},
    Phrase{428, "Precondition Required"},
    Phrase{429, "Too Many Requests"},
    Phrase{431, "Request Header Fields Too Large"},
    Phrase{451, "Unavailable For Legal Reasons"},
    Phrase{500, "Internal Server Error"},
    Phrase{501, "Not Implemented"},
    Phrase{502, "Bad Gateway"},
    Phrase{503, "Service Unavailable"},
    Phrase{504, "Gateway Timeout"},
    Phrase{505, "HTTP Version Not Supported"},
    Phrase{506, "Variant Also Negotiates"},
    Phrase{507, "Insufficient Storage"},
    Phrase{508, "Loop Detected"},
    Phrase{510, "Not Extended"},
    Phrase{511, "Network Authentication Required"},
};

static_assert(std::ranges::is_sorted(kPhrases, {}, &Phrase::status));

} // namespace

std::string_view reasonPhrase(int64_t status)
{
    const auto it = std::ranges::lower_bound(kPhrases, status, {}, &Phrase::status);
    if (it != kPhrases.end() && it->status == status)
        return it->text;
    switch (status / 100) {
    case 1:
        return "Informational";
    case 2:
        return "Success";
    case 3:
        return "Redirection";
    case 4:
        return "Client Error";
    case 5:
        return "Server Error";
    default:
        return "Unknown Status";
    }
}

BridgeClientError failureForStatus(int64_t status, std::string_view body)
{
    ServerError error = decodeServerError(body).value_or(ServerError{});
    std::string message;
    if (error.error)
        message = std::move(*error.error);
    else if (error.message)
        message = std::move(*error.message);
    else
        message = std::string(reasonPhrase(status));
    return BridgeClientError::server(status, std::move(error.code), std::move(message));
}

} // namespace quorva
