#pragma once

#include <QTcpServer>

namespace quorva::devservice {

// Accepts connections that neither hold back small writes nor delay acknowledgements.
// Qt's HTTP client sends a body over 16 KiB in 16 KiB writes with Nagle's algorithm on, so
// each further write waits for the ACK of the previous one; with Linux's delayed ACK that
// cost 40 ms per ingest batch on loopback. The service acknowledges at once instead.
class LowDelayTcpServer : public QTcpServer {
    Q_OBJECT
public:
    using QTcpServer::QTcpServer;

protected:
    void incomingConnection(qintptr socketDescriptor) override;
};

} // namespace quorva::devservice
