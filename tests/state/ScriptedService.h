#pragma once

#include <QHttpServer>
#include <QUrl>

#include <nlohmann/json.hpp>

#include <vector>

namespace quorva::testing {

// A loopback server that answers the bridge endpoints with fixed records and refuses every
// "active" heartbeat: the one failure the development service has no switch for.
class ScriptedService {
public:
    ScriptedService();

    [[nodiscard]] QUrl url() const;
    // Heartbeat bodies in arrival order, refused ones included.
    std::vector<nlohmann::json> heartbeats;
    int ingested = 0; // items answered as accepted

private:
    QHttpServer m_server;
    quint16 m_port = 0;
};

} // namespace quorva::testing
