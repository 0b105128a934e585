#include "ScriptedService.h"

#include <QHttpServerRequest>
#include <QHttpServerResponse>

namespace quorva::testing {

namespace {

using Method = QHttpServerRequest::Method;
using nlohmann::json;

QHttpServerResponse reply(const json& body, int status = 200)
{
    return QHttpServerResponse(QByteArrayLiteral("application/json"), QByteArray::fromStdString(body.dump()),
                               static_cast<QHttpServerResponse::StatusCode>(status));
}

json bodyOf(const QHttpServerRequest& request)
{
    return json::parse(request.body().toStdString(), nullptr, false);
}

} // namespace

ScriptedService::ScriptedService()
{
    m_server.route("/v1/parental/bridges/redeem", Method::Post, [] {
        return reply({{"bridge", {{"id", "bridge-1"}, {"platform", "macos"}, {"status", "active"}}},
                      {"bridgeToken", "scripted-token"},
                      {"tokenExpiresAt", "2036-01-01T00:00:00Z"},
                      {"state", "paired"}});
    });
    m_server.route("/v1/parental/bridges/children", Method::Get, [] {
        return reply({{"children", json::array({{{"id", "child-ava"}, {"name", "Ava"}}})}});
    });
    m_server.route("/v1/parental/bridges/devices", Method::Post, [](const QHttpServerRequest& request) {
        const json body = bodyOf(request);
        return reply({{"device",
                       {{"id", "device-1"},
                        {"childId", body["childId"]},
                        {"externalDeviceId", body["externalDeviceId"]},
                        {"sourceType", "ios_backup"}}}});
    });
    m_server.route(
        "/v1/parental/bridges/ingest/batch", Method::Post, [this](const QHttpServerRequest& request) {
            const json body = bodyOf(request);
            json results = json::array();
            for (const auto& item : body["items"])
                results.push_back({{"clientItemId", item["clientItemId"]}, {"processStatus", "processed"}});
            const auto n = static_cast<int64_t>(results.size());
            ingested += static_cast<int>(n);
            return reply({{"submitted", n},
                          {"queued", 0},
                          {"processed", n},
                          {"skipped", 0},
                          {"failed", 0},
                          {"alertsCreated", n},
                          {"results", results}});
        });
    m_server.route("/v1/parental/bridges/heartbeat", Method::Post, [this](const QHttpServerRequest& request) {
        heartbeats.push_back(bodyOf(request));
        if (heartbeats.back()["status"] == "active")
            return reply({{"error", "Heartbeats are paused."}}, 503);
        return reply({{"success", true}});
    });
    m_port = m_server.listen(QHostAddress::LocalHost, 0);
}

QUrl ScriptedService::url() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_port));
}

} // namespace quorva::testing
