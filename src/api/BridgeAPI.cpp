#include "api/BridgeAPI.h"

#include "api/BearerToken.h"
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
#include <QTimer>

#include <memory>
#include <utility>

namespace quorva {
namespace {

// Every answer of the service is a few kilobytes; anything past this is not one of them and
// must not be buffered whole.
constexpr qint64 kMaxResponseBytes = 4 * 1024 * 1024;

constexpr const char* kTimedOut = QUORVA_TEXT("quorva::PlatformError", "The request timed out.");
// Marks left on a reply by what ended it early.
constexpr const char* kTooLarge = "quorva.tooLarge";
constexpr const char* kDeadlinePassed = "quorva.deadlinePassed";

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

QByteArray bearerHeader(const std::string& token)
{
    if (!isHeaderSafe(token))
        throw BridgeClientError::invalidResponse();
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
        return PlatformError(kTimedOut).from(PlatformError::Source::network);
    // Qt's reason ("Connection refused") alone tells a parent nothing they can do, and only in
    // English; it stays, last, for whoever helps them.
    const std::string reason = reply.errorString().toStdString();
    return PlatformError(Wording{QUORVA_TEXT("quorva::PlatformError",
                                             "Quorva can't be reached. Check this computer's internet "
                                             "connection; Bridge tries again in 30 minutes. (%1)"),
                                 {reason}},
                         "Quorva could not be reached: " + reason)
        .from(PlatformError::Source::network);
}

// Qt may still be inside one of the reply's signals when the awaiting coroutine resumes (it
// resumes from finished(), which abort() and the transfer time-out emit synchronously), so the
// reply is only ever deleted from the event loop.
struct DeleteLater {
    void operator()(QNetworkReply* reply) const { reply->deleteLater(); }
};

// Ends the reply when its body outgrows what any answer of the service can be, or when the
// whole request takes longer than `deadline`. Both abort from the event loop, never from inside
// the reply's own signal, and leave a mark on the reply for the awaiting side to read.
void watch(QNetworkReply& reply, std::chrono::milliseconds deadline)
{
    QNetworkReply* const r = &reply;
    const auto endWith = [r](const char* mark) {
        if (r->property(mark).toBool())
            return;
        r->setProperty(mark, true);
        if (!r->isFinished())
            QMetaObject::invokeMethod(r, &QNetworkReply::abort, Qt::QueuedConnection);
    };
    QObject::connect(r, &QNetworkReply::downloadProgress, r, [endWith](qint64 received, qint64 total) {
        if (received > kMaxResponseBytes || total > kMaxResponseBytes)
            endWith(kTooLarge);
    });
    auto* timer = new QTimer(r); // goes with the reply
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, r, [endWith] { endWith(kDeadlinePassed); });
    QObject::connect(r, &QNetworkReply::finished, timer, &QTimer::stop);
    timer->start(deadline);
}

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), size_t(bytes.size())};
}

} // namespace

BridgeAPI::BridgeAPI(QUrl baseURL, QNetworkAccessManager& session, std::chrono::milliseconds timeout,
                     std::chrono::milliseconds deadline)
    : m_baseURL(std::move(baseURL)), m_session(&session), m_timeout(timeout), m_deadline(deadline)
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

    std::unique_ptr<QNetworkReply, DeleteLater> reply(
        body ? m_session->sendCustomRequest(request, method, QByteArray::fromStdString(*body))
             : m_session->sendCustomRequest(request, method));
    watch(*reply, m_deadline);
    co_await reply.get();

    if (reply->property(kTooLarge).toBool())
        throw BridgeClientError::invalidResponse();
    if (reply->property(kDeadlinePassed).toBool())
        throw PlatformError(kTimedOut);
    if (reply->error() != QNetworkReply::NoError && !isAnswerError(reply->error()))
        throw transportFailure(*reply);
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        throw BridgeClientError::invalidResponse();

    const QByteArray data = reply->read(kMaxResponseBytes + 1);
    if (data.size() > kMaxResponseBytes)
        throw BridgeClientError::invalidResponse();
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
