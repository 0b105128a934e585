#pragma once

#include "BridgeEndpoints.h"
#include "DevServiceConfig.h"
#include "DevStore.h"
#include "HttpExchange.h"
#include "IngestEndpoint.h"

#include <span>
#include <string_view>

namespace quorva::devservice {

enum class Route { redeem, children, devices, heartbeat, ingest, received };

struct RouteSpec {
    std::string_view path;
    std::string_view method;
    Route route;
};

// Every path the service answers, with its one method.
[[nodiscard]] std::span<const RouteSpec> routes();

// Turns one request into one reply: method, size, media type and token checks, the endpoint in
// one transaction, error bodies, and the record of the request for the received-requests page.
class RequestDispatcher {
public:
    RequestDispatcher(DevStore& store, const DevServiceConfig& config);

    [[nodiscard]] HttpReply handle(const HttpCall& call);

private:
    [[nodiscard]] HttpReply answer(const RouteSpec& route, const HttpCall& call);
    [[nodiscard]] nlohmann::json runEndpoint(Route route, const HttpCall& call, std::string& logNote);
    void record(const HttpCall& call, const HttpReply& reply);

    DevStore& m_store;
    std::size_t m_maxBodyBytes;
    std::function<void(const HttpCall&)> m_beforeRequest;
    BridgeEndpoints m_bridges;
    IngestEndpoint m_ingest;
};

} // namespace quorva::devservice
