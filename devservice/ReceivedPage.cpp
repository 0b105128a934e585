#include "ReceivedPage.h"

#include <nlohmann/json.hpp>

namespace quorva::devservice {

using nlohmann::ordered_json;

std::string receivedPageJson(const std::vector<ReceivedRequest>& requests)
{
    constexpr auto replace = ordered_json::error_handler_t::replace;
    std::string page = R"({"requests":[)";
    bool first = true;
    for (const auto& r : requests) {
        ordered_json entry = {{"seq", r.seq},
                              {"receivedAt", r.receivedAt},
                              {"method", r.method},
                              {"path", r.path},
                              {"status", r.status},
                              {"headers", ordered_json::parse(r.headersJson, nullptr, false)},
                              {"hasAuthorization", r.hadAuthorization},
                              {"bodyBytes", r.bodyBytes}};
        std::string splice;
        if (r.body && r.body->empty())
            entry["body"] = nullptr;
        else if (r.body && ordered_json::accept(*r.body))
            // Spliced in as sent rather than re-serialised: tests compare exact bodies, and the
            // serialiser recurses where the validating parser does not.
            splice = R"(,"body":)" + *r.body;
        else if (r.body)
            entry["bodyText"] = *r.body;

        std::string text = entry.dump(-1, ' ', false, replace);
        text.insert(text.size() - 1, splice);
        page += (first ? "" : ",") + text;
        first = false;
    }
    page += "]}";
    return page;
}

} // namespace quorva::devservice
