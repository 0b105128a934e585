#pragma once

#include "DevServiceConfig.h"
#include "DevStore.h"
#include "HttpExchange.h"
#include "RequestDispatcher.h"

#include <QHttpServer>
#include <QObject>

#include <functional>
#include <string>

namespace quorva::devservice {

// The development stand-in for the family-safety service: the bridge endpoints over HTTP on
// 127.0.0.1, on the caller's Qt event loop, persisting to one SQLite file.
class DevService : public QObject {
    Q_OBJECT

public:
    // Receives one line per request: method, path, status and what was done; never a token or a text.
    using RequestLog = std::function<void(const std::string& line)>;

    // Opens the database and adds the configured pairing codes and children; throws on failure.
    explicit DevService(const DevServiceConfig& config, RequestLog log = {}, QObject* parent = nullptr);
    ~DevService() override;

    // Listens on 127.0.0.1 only (0 picks a free port); returns the port, or 0 when it cannot listen.
    [[nodiscard]] quint16 listen(quint16 port);
    [[nodiscard]] quint16 port() const { return m_port; }

private:
    [[nodiscard]] QHttpServerResponse respond(const QHttpServerRequest& request);

    DevStore m_store;
    RequestDispatcher m_dispatcher;
    RequestLog m_log;
    QHttpServer m_server;
    quint16 m_port = 0;
};

} // namespace quorva::devservice
