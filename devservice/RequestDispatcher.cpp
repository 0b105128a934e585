#include "RequestDispatcher.h"

#include "ReceivedPage.h"
#include "RequestValidation.h"
#include "ServiceError.h"
#include "model/Iso8601.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace quorva::devservice {
namespace {

using nlohmann::json;

constexpr std::array kRoutes{
    RouteSpec{"/v1/parental/bridges/redeem", "POST", Route::redeem},
    RouteSpec{"/v1/parental/bridges/children", "GET", Route::children},
    RouteSpec{"/v1/parental/bridges/devices", "POST", Route::devices},
    RouteSpec{"/v1/parental/bridges/heartbeat", "POST", Route::heartbeat},
    RouteSpec{"/v1/parental/bridges/ingest/batch", "POST", Route::ingest},
    RouteSpec{"/dev/received", "GET", Route::received},
};

bool isJsonMediaType(const std::optional<std::string>& contentType)
{
    if (!contentType)
        return false;
    std::string type = contentType->substr(0, contentType->find(';'));
    std::erase_if(type, [](unsigned char c) { return std::isspace(c); });
    std::ranges::transform(type, type.begin(), [](unsigned char c) { return std::tolower(c); });
    return type == "application/json";
}

std::string lowerCase(std::string text)
{
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

} // namespace

std::span<const RouteSpec> routes()
{
    return kRoutes;
}

RequestDispatcher::RequestDispatcher(DevStore& store, const DevServiceConfig& config)
    : m_store(store), m_maxBodyBytes(config.maxBodyBytes), m_beforeRequest(config.beforeRequest),
      m_bridges(store, config.tokenLifetime),
      m_ingest(store, config.faults)
{
}

HttpReply RequestDispatcher::handle(const HttpCall& call)
{
    const auto route = std::ranges::find(kRoutes, call.path, &RouteSpec::path);
    HttpReply reply = route == kRoutes.end() ? errorReply(404, "not_found", "There is nothing at this path.")
                                             : answer(*route, call);
    if (route == kRoutes.end() || route->route != Route::received) {
        try {
            record(call, reply);
        } catch (const std::exception& e) {
            reply.logNote += std::string(" (not recorded: ") + e.what() + ")";
        }
    }
    return reply;
}

HttpReply RequestDispatcher::answer(const RouteSpec& route, const HttpCall& call)
{
    try {
        if (call.method != route.method)
            throw ServiceError(405, "method_not_allowed",
                               "This endpoint answers " + std::string(route.method) + " only.");
        if (route.route == Route::received)
            return {200, receivedPageJson(m_store.receivedRequests()), {}};
        if (m_beforeRequest)
            m_beforeRequest(call);
        if (call.body.size() > m_maxBodyBytes)
            throw ServiceError(413, "payload_too_large",
                               "The request body is larger than " + std::to_string(m_maxBodyBytes) +
                                   " bytes.");
        if (call.method == "POST" && !isJsonMediaType(call.header("Content-Type")))
            throw ServiceError(415, "unsupported_media_type", "The request body must be application/json.");

        std::string logNote;
        auto transaction = m_store.transaction();
        const json body = runEndpoint(route.route, call, logNote);
        transaction.commit();
        HttpReply reply = jsonReply(200, body);
        reply.logNote = std::move(logNote);
        return reply;
    } catch (const ServiceError& e) {
        HttpReply reply = errorReply(e.status(), e.code(), e.what());
        reply.logNote = e.code();
        return reply;
    } catch (const std::exception& e) {
        HttpReply reply = errorReply(500, "internal_error", "The service could not complete the request.");
        reply.logNote = std::string("internal error: ") + e.what();
        return reply;
    }
}

json RequestDispatcher::runEndpoint(Route route, const HttpCall& call, std::string& logNote)
{
    if (route == Route::redeem)
        return m_bridges.redeem(parseObjectBody(call.body));
    const StoredBridge bridge = m_bridges.authenticate(call.header("Authorization"));
    switch (route) {
    case Route::children:
        return m_bridges.children();
    case Route::devices:
        return m_bridges.registerDevice(bridge, parseObjectBody(call.body));
    case Route::heartbeat:
        return m_bridges.heartbeat(bridge, parseObjectBody(call.body));
    case Route::ingest: {
        json answer = m_ingest.ingest(bridge, parseObjectBody(call.body));
        logNote = "items=" + answer["submitted"].dump() + " processed=" + answer["processed"].dump() +
                  " duplicate=" + answer["skipped"].dump() + " failed=" + answer["failed"].dump();
        return answer;
    }
    default:
        throw ServiceError(404, "not_found", "There is nothing at this path.");
    }
}

void RequestDispatcher::record(const HttpCall& call, const HttpReply& reply)
{
    json headers = json::object();
    bool hadAuthorization = false;
    for (const auto& [name, value] : call.headers) {
        std::string key = lowerCase(name);
        if (key == "authorization") {
            hadAuthorization = true;
            continue;
        }
        headers[key] = headers.contains(key) ? headers[key].get<std::string>() + ", " + value : value;
    }
    const auto bodyBytes = static_cast<int64_t>(call.body.size());
    ReceivedRequest request{0,
                            formatInternetDateTime(Instant::now()),
                            call.method,
                            call.path,
                            reply.status,
                            headers.dump(-1, ' ', false, json::error_handler_t::replace),
                            hadAuthorization,
                            bodyBytes,
                            call.body.size() > m_maxBodyBytes ? std::nullopt : std::optional(call.body)};
    auto transaction = m_store.transaction();
    (void)m_store.recordRequest(request);
    transaction.commit();
}

} // namespace quorva::devservice
