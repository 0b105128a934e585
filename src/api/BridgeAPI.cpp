#include "api/BridgeAPI.h"

#include "api/HttpFailure.h"
#include "api/InfoDictionary.h"
#include "api/WireDecoding.h"
#include "api/WireEncoding.h"
#include "model/BridgeClientError.h"
#include "model/PlatformError.h"

#include <QCoroNetworkReply>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <memory>
#include <utility>

namespace quorva {
namespace {

// Every answer of the service is a few kilobytes; anything past this is not one of them and
// must not be buffered whole.
constexpr qint64 kMaxResponseBytes = 4 * 1024 * 1024;

// Only the scheme, host and port of the base URL survive: the endpoint path replaces its path,
// and user information is dropped so that nothing but our bearer header authenticates.
QUrl endpointURL(const QUrl& base, const std::string& path)
{
    const QUrl reference(QString::fromStdString(path), QUrl::StrictMode);
    if (!reference.isValid())
        throw BridgeClientError::invalidResponse();
    QUrl url = base.resolved(reference);
    url.setUserInfo({});
    if (!url.isValid() || url.isRelative())
        throw BridgeClientError::invalidResponse();
    return url;
}

// A header value is bytes on the wire: a control character would split the request and a
// non-ASCII one would be sent in whatever encoding it happens to have. A token of the service
// is visible ASCII, so anything else cannot be ours.
QByteArray bearerHeader(const std::string& token)
{
    for (const char c : token) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x21 || byte > 0x7E)
            throw BridgeClientError::invalidResponse();
    }
    return QByteArray("Bearer ") + QByteArray::fromStdString(token);
}

// The errors Qt derives from a complete HTTP answer, as opposed to transport failures: the
// status-based ones, and a redirect it declined to follow, which is answered like any 3xx.
bool isAnswerError(QNetworkReply::NetworkError error)
{
    using E = QNetworkReply;
    return (error >= E::ContentAccessDenied && error <= E::UnknownContentError) ||
           error == E::ProtocolInvalidOperationError ||
           (error >= E::InternalServerError && error <= E::UnknownServerError) ||
           error == E::ProxyAuthenticationRequiredError || error == E::InsecureRedirectError;
}

PlatformError transportFailure(const QNetworkReply& reply)
{
    // The transfer time-out aborts the reply, which Qt reports as a bare cancellation.
    if (reply.error() == QNetworkReply::OperationCanceledError ||
        reply.error() == QNetworkReply::TimeoutError)
        return PlatformError("The request timed out.");
    return PlatformError(reply.errorString().toStdString());
}

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), size_t(bytes.size())};
}

} // namespace

BridgeAPI::BridgeAPI(QUrl baseURL, QNetworkAccessManager& session, std::chrono::milliseconds timeout)
    : m_baseURL(std::move(baseURL)), m_session(&session), m_timeout(timeout)
{
}

QUrl BridgeAPI::resolveBaseURL()
{
    return InfoDictionary::embedded().apiBaseURL();
}

std::string applicationVersion()
{
    return InfoDictionary::embedded().shortVersion();
}

template <typename R>
QCoro::Task<R> BridgeAPI::send(std::string path, QByteArray method, std::optional<std::string> body,
                               std::optional<std::string> token) const
{
    QNetworkRequest request(endpointURL(m_baseURL, path));
    request.setTransferTimeout(int(m_timeout.count()));
    // Qt copies every header onto a redirected request, the bearer token included; following
    // only same-origin redirects keeps the token from reaching any other host.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    request.setRawHeader("Accept", "application/json");
    if (body)
        request.setRawHeader("Content-Type", "application/json");
    if (token)
        request.setRawHeader("Authorization", bearerHeader(*token));

    bool tooLarge = false; // declared before the reply, whose connection refers to it
    std::unique_ptr<QNetworkReply> reply(
        body ? m_session->sendCustomRequest(request, method, QByteArray::fromStdString(*body))
             : m_session->sendCustomRequest(request, method));
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, reply.get(),
                     [&tooLarge, r = reply.get()](qint64 received, qint64 total) {
                         if (!tooLarge && (received > kMaxResponseBytes || total > kMaxResponseBytes)) {
                             tooLarge = true;
                             r->abort();
                         }
                     });
    co_await reply.get();

    if (tooLarge)
        throw BridgeClientError::invalidResponse();
    if (reply->error() != QNetworkReply::NoError && !isAnswerError(reply->error()))
        throw transportFailure(*reply);
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        throw BridgeClientError::invalidResponse();

    const QByteArray data = reply->readAll();
    const int code = status.toInt();
    if (code < 200 || code > 299)
        throw failureForStatus(code, view(data));
    try {
        co_return decodeResponse<R>(view(data));
    } catch (const WireDecodingError&) {
        throw BridgeClientError::invalidResponse();
    }
}

QCoro::Task<BridgeRedeemResponse> BridgeAPI::redeem(std::string code, std::string bridgeName) const
{
    std::string body = encodeRedeem(code, bridgeName, applicationVersion());
    co_return co_await send<BridgeRedeemResponse>("/v1/parental/bridges/redeem", "POST", std::move(body),
                                                  std::nullopt);
}

QCoro::Task<BridgeChildrenResponse> BridgeAPI::fetchChildren(std::string token) const
{
    co_return co_await send<BridgeChildrenResponse>("/v1/parental/bridges/children", "GET", std::nullopt,
                                                    std::move(token));
}

QCoro::Task<BridgeDeviceResponse> BridgeAPI::registerDevice(DeviceRegistration registration,
                                                            std::string token) const
{
    std::string body = encodeDeviceRegistration(registration);
    co_return co_await send<BridgeDeviceResponse>("/v1/parental/bridges/devices", "POST", std::move(body),
                                                  std::move(token));
}

QCoro::Task<BridgeMutationResponse> BridgeAPI::sendHeartbeat(HeartbeatReport report, std::string token) const
{
    std::string body = encodeHeartbeat(report, applicationVersion());
    co_return co_await send<BridgeMutationResponse>("/v1/parental/bridges/heartbeat", "POST", std::move(body),
                                                    std::move(token));
}

QCoro::Task<BridgeIngestResponse> BridgeAPI::ingest(BridgeIngestRequest request, std::string token) const
{
    std::string body = encodeIngest(request);
    co_return co_await send<BridgeIngestResponse>("/v1/parental/bridges/ingest/batch", "POST",
                                                  std::move(body), std::move(token));
}

} // namespace quorva
