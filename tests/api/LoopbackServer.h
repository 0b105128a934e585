#pragma once

#include <QByteArray>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

#include <chrono>
#include <deque>
#include <map>
#include <vector>

class QTcpSocket;

namespace quorva::test {

// One request as it arrived on the wire.
struct RecordedRequest {
    QByteArray method;
    QByteArray target;                        // path and query, as sent
    std::map<QByteArray, QByteArray> headers; // names lower-cased
    QByteArray body;

    [[nodiscard]] bool has(const QByteArray& name) const { return headers.contains(name); }
    [[nodiscard]] QByteArray header(const QByteArray& name) const { return has(name) ? headers.at(name) : QByteArray(); }
};

// An HTTP/1.1 server on 127.0.0.1 that records every request and answers each with the next
// scripted reply, in order; an unscripted request gets a 599. Raw replies give full control
// of the wire.
class LoopbackServer : public QObject {
public:
    LoopbackServer();

    [[nodiscard]] QUrl url(const QString& path = "/") const;

    // A reply with Content-Length and a deliberately non-standard reason phrase.
    void answer(int status, const QByteArray& body, const QByteArray& contentType = "application/json");
    void answerRaw(const QByteArray& bytes) { m_script.push_back({bytes}); }
    // Reads the request and never writes a byte back.
    void neverAnswer() { m_script.push_back({}); }
    // Writes the reply's head at once and its body one byte at a time, `interval` apart: never
    // silent for long, and slow to finish.
    void answerTrickling(const QByteArray& bytes, std::chrono::milliseconds interval)
    {
        m_script.push_back({bytes, interval});
    }

    [[nodiscard]] const std::vector<RecordedRequest>& requests() const { return m_requests; }

private:
    struct Reply {
        QByteArray bytes; // none: silence
        std::chrono::milliseconds trickle{0};
    };

    void write(QTcpSocket* socket, QByteArray rest, std::chrono::milliseconds interval);
    void read(QTcpSocket* socket);

    QTcpServer m_server;
    std::deque<Reply> m_script;
    std::vector<RecordedRequest> m_requests;
    std::map<QTcpSocket*, QByteArray> m_pending;
};

} // namespace quorva::test
