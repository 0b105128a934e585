#pragma once

#include "api/WireRecords.h"

#include <QByteArray>
#include <QCoroTask>
#include <QUrl>

#include <chrono>
#include <optional>
#include <string>

class QNetworkAccessManager;

namespace quorva {

// The client of the service's five bridge endpoints. Holds no login state: the caller hands
// the bearer token in with each request. Failures: BridgeClientError (invalidResponse,
// server) or PlatformError for transport failures, the 30-second time-out included.
class BridgeAPI {
public:
    // A request fails after this long without a byte in either direction …
    static constexpr std::chrono::milliseconds defaultTimeout{30'000};
    // … and after this long in all, so a service that trickles cannot hold it either.
    static constexpr std::chrono::milliseconds defaultDeadline{60'000};

    BridgeAPI(QUrl baseURL, QNetworkAccessManager& session,
              std::chrono::milliseconds timeout = defaultTimeout,
              std::chrono::milliseconds deadline = defaultDeadline);

    // QUORVA_API_BASE_URL from the embedded information dictionary, else the production origin.
    [[nodiscard]] static QUrl resolveBaseURL();

    [[nodiscard]] QCoro::Task<BridgeRedeemResponse> redeem(std::string code, std::string bridgeName) const;
    [[nodiscard]] QCoro::Task<BridgeChildrenResponse> fetchChildren(std::string token) const;
    [[nodiscard]] QCoro::Task<BridgeDeviceResponse> registerDevice(DeviceRegistration registration,
                                                                   std::string token) const;
    [[nodiscard]] QCoro::Task<BridgeMutationResponse> sendHeartbeat(HeartbeatReport report,
                                                                    std::string token) const;
    [[nodiscard]] QCoro::Task<BridgeIngestResponse> ingest(BridgeIngestRequest request,
                                                           std::string token) const;

    [[nodiscard]] const QUrl& baseURL() const { return m_baseURL; }

private:
    // The one request builder every endpoint goes through: resolves path against the base
    // URL, sets the headers and the time-out, sends, and decodes R or maps the failure.
    template <typename R>
    [[nodiscard]] QCoro::Task<R> send(std::string path, QByteArray method, std::optional<std::string> body,
                                      std::optional<std::string> token) const;

    QUrl m_baseURL;
    QNetworkAccessManager* m_session;
    std::chrono::milliseconds m_timeout;
    std::chrono::milliseconds m_deadline;
};

// CFBundleShortVersionString of the information dictionary, or "0.1.0"; read afresh each call.
[[nodiscard]] std::string applicationVersion();

} // namespace quorva
