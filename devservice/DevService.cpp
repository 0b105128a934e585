#include "DevService.h"

#include "RequestValidation.h"
#include "ServiceError.h"
#include "model/Iso8601.h"

#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QMetaEnum>
#include <QUrl>

#include <array>

namespace quorva::devservice {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

constexpr std::string_view kBridgePrefix = "/v1/parental/bridges/";

// Every path the service answers, with its one method.
constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kRoutes{{
    {"/v1/parental/bridges/redeem", "POST"},
    {"/v1/parental/bridges/children", "GET"},
    {"/v1/parental/bridges/devices", "POST"},
    {"/v1/parental/bridges/heartbeat", "POST"},
    {"/v1/parental/bridges/ingest/batch", "POST"},
    {"/dev/received", "GET"},
    {"/dev/dump", "GET"},
}};

std::string compact(const json& body)
{
    return body.dump(-1, ' ', false, json::error_handler_t::replace);
}

DevService::Reply errorReply(int status, const std::string& code, const std::string& message)
{
    return {status, compact({{"error", message}, {"code", code}}), code};
}

bool isJsonMediaType(const std::optional<std::string>& contentType)
{
    if (!contentType)
        return false;
    std::string type = contentType->substr(0, contentType->find(';'));
    std::erase_if(type, [](unsigned char c) { return std::isspace(c); });
    std::ranges::transform(type, type.begin(), [](unsigned char c) { return std::tolower(c); });
    return type == "application/json";
}

// Paths arrive percent-decoded: a control character in one must not forge a second log line.
std::string printable(std::string text)
{
    std::ranges::replace_if(
        text, [](unsigned char c) { return c < 0x20 || c == 0x7f; }, '?');
    return text;
}

HttpCall callFrom(const QHttpServerRequest& request)
{
    const char* method = QMetaEnum::fromType<QHttpServerRequest::Method>().valueToKey(int(request.method()));
    HttpCall call{QByteArray(method ? method : "Unknown").toUpper().toStdString(),
                  request.url().path().toStdString(),
                  {},
                  request.body().toStdString()};
    for (const auto& [name, value] : request.headers())
        call.headers.emplace_back(name.toStdString(), value.toStdString());
    return call;
}

} // namespace

DevService::DevService(const DevServiceConfig& config, RequestLog log, QObject* parent)
    : QObject(parent), m_config(config), m_endpoints(config), m_log(std::move(log))
{
    // No routes: every request comes here, so that unknown paths and wrong methods are
    // answered with the same JSON error bodies as the rest.
    m_server.setMissingHandler([this](const QHttpServerRequest& request, QHttpServerResponder&& responder) {
        const HttpCall call = callFrom(request);
        const Reply reply = handle(call);
        if (m_log)
            m_log(call.method + " " + printable(call.path) + " " + std::to_string(reply.status) +
                  (reply.logNote.empty() ? "" : " " + reply.logNote));
        QHttpServerResponse(QByteArrayLiteral("application/json"), QByteArray::fromStdString(reply.body),
                            static_cast<QHttpServerResponse::StatusCode>(reply.status))
            .write(std::move(responder));
    });
}

DevService::~DevService() = default;

quint16 DevService::listen(quint16 port)
{
    m_port = m_server.listen(QHostAddress::LocalHost, port);
    return m_port;
}

DevService::Reply DevService::handle(const HttpCall& call)
{
    const Reply reply = answer(call);
    if (!call.path.starts_with("/dev/") || reply.status == 404)
        record(call, reply.status);
    return reply;
}

DevService::Reply DevService::answer(const HttpCall& call)
{
    const auto route =
        std::ranges::find(kRoutes, call.path, &std::pair<std::string_view, std::string_view>::first);
    if (route == kRoutes.end())
        return {404, errorReply(404, "not_found", "There is nothing at this path.").body, {}};
    try {
        if (call.method != route->second)
            throw ServiceError(405, "method_not_allowed",
                               "This endpoint answers " + std::string(route->second) + " only.");
        if (call.path == "/dev/received") {
            std::string page = R"({"requests":[)";
            for (const auto& entry : m_received)
                page += (&entry == m_received.data() ? "" : ",") + entry;
            return {200, page + "]}", {}};
        }
        if (call.path == "/dev/dump")
            return {200, compact(m_endpoints.heldItems()), {}};
        if (m_config.beforeRequest)
            m_config.beforeRequest(call);
        if (call.body.size() > m_config.maxBodyBytes)
            throw ServiceError(413, "payload_too_large",
                               "The request body is larger than " + std::to_string(m_config.maxBodyBytes) +
                                   " bytes.");
        if (call.method == "POST" && !isJsonMediaType(call.header("Content-Type")))
            throw ServiceError(415, "unsupported_media_type", "The request body must be application/json.");

        const std::string_view endpoint = std::string_view(call.path).substr(kBridgePrefix.size());
        if (endpoint == "redeem")
            return {200, compact(m_endpoints.redeem(parseObjectBody(call.body))), {}};
        const std::string bridge = m_endpoints.authenticate(call.header("Authorization"));
        if (endpoint == "children")
            return {200, compact(m_endpoints.children()), {}};
        if (endpoint == "devices")
            return {200, compact(m_endpoints.registerDevice(bridge, parseObjectBody(call.body))), {}};
        if (endpoint == "heartbeat")
            return {200, compact(m_endpoints.heartbeat(parseObjectBody(call.body))), {}};
        const json batch = m_endpoints.ingest(bridge, parseObjectBody(call.body));
        return {200, compact(batch),
                "items=" + batch["submitted"].dump() + " processed=" + batch["processed"].dump() +
                    " duplicate=" + batch["skipped"].dump() + " failed=" + batch["failed"].dump()};
    } catch (const ServiceError& e) {
        return errorReply(e.status(), e.code(), e.what());
    } catch (const std::exception& e) {
        Reply reply = errorReply(500, "internal_error", "The service could not complete the request.");
        reply.logNote = std::string("internal error: ") + e.what();
        return reply;
    }
}

// The page's entry for one request. The Authorization header is never kept; a JSON body appears
// verbatim as "body" (member order and spelling exactly as sent), an empty one as null, any
// other as the string "bodyText", and one refused for its size only by "bodyBytes".
void DevService::record(const HttpCall& call, int status)
{
    ordered_json headers = ordered_json::object();
    bool hadAuthorization = false;
    for (const auto& [name, value] : call.headers) {
        std::string key = QByteArray::fromStdString(name).toLower().toStdString();
        if (key == "authorization")
            hadAuthorization = true;
        else
            headers[key] = headers.contains(key) ? headers[key].get<std::string>() + ", " + value : value;
    }
    ordered_json entry = {{"seq", m_received.size() + 1},
                          {"receivedAt", formatInternetDateTime(Instant::now())},
                          {"method", call.method},
                          {"path", call.path},
                          {"status", status},
                          {"headers", std::move(headers)},
                          {"hasAuthorization", hadAuthorization},
                          {"bodyBytes", call.body.size()}};
    const bool kept = call.body.size() <= m_config.maxBodyBytes;
    std::string splice;
    if (call.body.empty())
        entry["body"] = nullptr;
    else if (kept && ordered_json::accept(call.body))
        // Spliced in as sent rather than re-serialised: tests compare exact bodies, and the
        // serialiser recurses where the validating parser does not.
        splice = R"(,"body":)" + call.body;
    else if (kept)
        entry["bodyText"] = call.body;
    std::string text = entry.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
    m_received.push_back(text.insert(text.size() - 1, splice));
}

} // namespace quorva::devservice
