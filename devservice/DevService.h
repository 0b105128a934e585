#pragma once

#include "BridgeEndpoints.h"
#include "DevServiceConfig.h"

#include <QHttpServer>
#include <QObject>

#include <functional>
#include <string>
#include <vector>

namespace quorva::devservice {

// The development stand-in for the family-safety service: the bridge endpoints over HTTP on
// 127.0.0.1, on the caller's Qt event loop. Beside them, for tests and scripts, GET
// /dev/received lists every request that arrived and GET /dev/dump what the service holds.
class DevService : public QObject {
    Q_OBJECT

public:
    // Receives one line per request: method, path, status and what was done; never a token or a text.
    using RequestLog = std::function<void(const std::string& line)>;

    // Throws std::invalid_argument for a pairing code without letters or digits.
    explicit DevService(const DevServiceConfig& config, RequestLog log = {}, QObject* parent = nullptr);
    ~DevService() override;

    // Listens on 127.0.0.1 only (0 picks a free port); returns the port, or 0 when it cannot listen.
    [[nodiscard]] quint16 listen(quint16 port);
    [[nodiscard]] quint16 port() const { return m_port; }

    // One request answered as the server answers it, and recorded for the received-requests page.
    struct Reply {
        int status = 200;
        std::string body;
        // For the request log: what the service did, never a token or a message text.
        std::string logNote;
    };
    [[nodiscard]] Reply handle(const HttpCall& call);
    // As when a parent removes a child's profile in the family app.
    void removeChild(const std::string& childId) { m_endpoints.removeChild(childId); }

private:
    [[nodiscard]] Reply answer(const HttpCall& call);
    void record(const HttpCall& call, int status);

    DevServiceConfig m_config;
    BridgeEndpoints m_endpoints;
    RequestLog m_log;
    // The entries of the received-requests page, each already written as JSON.
    std::vector<std::string> m_received;
    QHttpServer m_server;
    quint16 m_port = 0;
};

} // namespace quorva::devservice
