#include "DevService.h"

#include "RequestValidation.h"

#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QUrl>

#include <stdexcept>

namespace quorva::devservice {
namespace {

std::string methodName(QHttpServerRequest::Method method)
{
    using M = QHttpServerRequest::Method;
    switch (method) {
    case M::Get:
        return "GET";
    case M::Put:
        return "PUT";
    case M::Delete:
        return "DELETE";
    case M::Post:
        return "POST";
    case M::Head:
        return "HEAD";
    case M::Options:
        return "OPTIONS";
    case M::Patch:
        return "PATCH";
    case M::Connect:
        return "CONNECT";
    case M::Trace:
        return "TRACE";
    default:
        return "UNKNOWN";
    }
}

// Paths arrive percent-decoded: a control character in one must not forge a second log line.
std::string printable(std::string text)
{
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return text;
}

HttpCall callFrom(const QHttpServerRequest& request)
{
    HttpCall call{
        methodName(request.method()), request.url().path().toStdString(), {}, request.body().toStdString()};
    for (const auto& [name, value] : request.headers())
        call.headers.emplace_back(name.toStdString(), value.toStdString());
    return call;
}

void seed(DevStore& store, const DevServiceConfig& config)
{
    auto transaction = store.transaction();
    for (const auto& code : config.pairingCodes) {
        const std::string normalised = normalisePairingCode(code);
        if (normalised.empty())
            throw std::invalid_argument("pairing code \"" + code + "\" has no letters or digits");
        store.addPairingCode(normalised);
    }
    for (const auto& child : config.children)
        store.upsertChild(child);
    transaction.commit();
}

} // namespace

DevService::DevService(const DevServiceConfig& config, RequestLog log, QObject* parent)
    : QObject(parent), m_store(config.databasePath, DevStore::OpenMode::createIfMissing),
      m_dispatcher(m_store, config), m_log(std::move(log))
{
    seed(m_store, config);
    for (const auto& route : routes())
        m_server.route(QString::fromUtf8(route.path.data(), static_cast<qsizetype>(route.path.size())),
                       [this](const QHttpServerRequest& request) { return respond(request); });
    m_server.setMissingHandler([this](const QHttpServerRequest& request, QHttpServerResponder&& responder) {
        respond(request).write(std::move(responder));
    });
}

DevService::~DevService() = default;

quint16 DevService::listen(quint16 port)
{
    m_port = m_server.listen(QHostAddress::LocalHost, port);
    return m_port;
}

QHttpServerResponse DevService::respond(const QHttpServerRequest& request)
{
    const HttpCall call = callFrom(request);
    const HttpReply reply = m_dispatcher.handle(call);
    if (m_log) {
        std::string line = call.method + " " + printable(call.path) + " " + std::to_string(reply.status);
        if (!reply.logNote.empty())
            line += " " + reply.logNote;
        m_log(line);
    }
    return QHttpServerResponse(QByteArrayLiteral("application/json"), QByteArray::fromStdString(reply.body),
                               static_cast<QHttpServerResponse::StatusCode>(reply.status));
}

} // namespace quorva::devservice
