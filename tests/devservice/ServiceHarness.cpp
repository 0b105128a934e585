#include "ServiceHarness.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <gtest/gtest.h>

namespace quorva::devservice::testing {

ServiceHarness::ServiceHarness()
{
    config.databasePath = m_dir.filePath("service.sqlite").toStdString();
    config.pairingCodes = {"ABC-123", "xyz789"};
    config.children = {{kChildId, "Ava"}, {"child-ben", "Ben"}};
}

ServiceHarness::~ServiceHarness() = default;

void ServiceHarness::start()
{
    m_service.reset();
    m_service =
        std::make_unique<DevService>(config, [this](const std::string& line) { logLines.push_back(line); });
    ASSERT_NE(m_service->listen(0), 0);
}

void ServiceHarness::stop()
{
    m_service.reset();
}

Response ServiceHarness::get(const std::string& path, const RequestOptions& options)
{
    return send("GET", path, nullptr, options);
}

Response ServiceHarness::post(const std::string& path, const std::string& body, const RequestOptions& options)
{
    return send("POST", path, &body, options);
}

Response ServiceHarness::post(const std::string& path, const nlohmann::json& body,
                              const RequestOptions& options)
{
    const std::string text = body.dump();
    return send("POST", path, &text, options);
}

std::string ServiceHarness::pair(const std::string& code)
{
    const Response r = post("/v1/parental/bridges/redeem", nlohmann::json{{"code", code},
                                                                          {"bridgeName", "Family Mac"},
                                                                          {"platform", "macos"},
                                                                          {"appVersion", "0.1.0"}});
    EXPECT_EQ(r.status, 200) << r.body;
    return r.json.value("bridgeToken", std::string());
}

Response ServiceHarness::send(const std::string& method, const std::string& path, const std::string* body,
                              const RequestOptions& options)
{
    QNetworkRequest request(
        QUrl(QString("http://127.0.0.1:%1").arg(m_service->port()) + QString::fromStdString(path)));
    request.setRawHeader("Accept", "application/json");
    if (body)
        request.setRawHeader("Content-Type", QByteArray::fromStdString(options.contentType));
    if (options.token)
        request.setRawHeader("Authorization", "Bearer " + QByteArray::fromStdString(*options.token));
    if (options.authorization)
        request.setRawHeader("Authorization", QByteArray::fromStdString(*options.authorization));

    QNetworkReply* reply = body ? m_network.sendCustomRequest(request, QByteArray::fromStdString(method),
                                                              QByteArray::fromStdString(*body))
                                : m_network.sendCustomRequest(request, QByteArray::fromStdString(method));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();

    Response response;
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    response.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toString().toStdString();
    response.body = reply->readAll().toStdString();
    response.json = nlohmann::json::parse(response.body, nullptr, false);
    reply->deleteLater();
    return response;
}

std::string itemId(int n)
{
    return QCryptographicHash::hash(QByteArray::number(n), QCryptographicHash::Sha256).toHex().toStdString();
}

nlohmann::json ingestItem(const std::string& clientItemId, const std::string& text)
{
    return {{"clientItemId", clientItemId}, {"childId", kChildId},
            {"source", "ios_bridge"},       {"sourceApp", "Messages"},
            {"contentType", "text"},        {"contentText", text},
            {"senderName", "+15550100"},    {"capturedAt", "2026-03-01T08:15:30.250Z"}};
}

nlohmann::json ingestBatch(nlohmann::json items)
{
    return {{"childId", kChildId},
            {"externalDeviceId", "00008110-001A2B3C4D5E801E"},
            {"deviceName", "Ava's iPhone"},
            {"sourceType", "ios_backup"},
            {"lastScanAt", "2026-03-01T09:00:00.000Z"},
            {"items", std::move(items)}};
}

} // namespace quorva::devservice::testing
