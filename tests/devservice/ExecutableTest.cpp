#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

// The built program: its announcement line, a real request, its log, and --dump.
TEST(DevServiceExecutable, AnnouncesItsPortServesAndDumps)
{
    QTemporaryDir dir;
    const QString database = dir.filePath("service.sqlite");
    QProcess process;
    process.start(QUORVA_DEVSERVICE_EXE,
                  {"--port", "0", "--database", database, "--pairing-code", "abc-123", "--child", "c1=Ava"});
    ASSERT_TRUE(process.waitForStarted(5000));
    ASSERT_TRUE(process.waitForReadyRead(10000)) << process.readAllStandardError().toStdString();
    const QString line = QString::fromUtf8(process.readLine()).trimmed();
    const auto match = QRegularExpression(R"(^listening on http://127\.0\.0\.1:(\d+)$)").match(line);
    ASSERT_TRUE(match.hasMatch()) << line.toStdString();

    QNetworkAccessManager network;
    QNetworkRequest request(QUrl("http://127.0.0.1:" + match.captured(1) + "/v1/parental/bridges/redeem"));
    request.setRawHeader("Content-Type", "application/json");
    QNetworkReply* reply = network.post(
        request, R"({"code":"ABC123","bridgeName":"Mac","platform":"macos","appVersion":"0.1.0"})");
    QSignalSpy finished(reply, &QNetworkReply::finished);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    const auto answer = nlohmann::json::parse(reply->readAll().toStdString());
    const std::string token = answer["bridgeToken"];
    reply->deleteLater();

    process.terminate();
    ASSERT_TRUE(process.waitForFinished(5000));
    const std::string log = process.readAllStandardError().toStdString();
    EXPECT_NE(log.find("POST /v1/parental/bridges/redeem 200"), std::string::npos) << log;
    EXPECT_EQ(log.find(token), std::string::npos);

    QProcess dump;
    dump.start(QUORVA_DEVSERVICE_EXE, {"--database", database, "--dump", "--json"});
    ASSERT_TRUE(dump.waitForFinished(10000));
    EXPECT_EQ(dump.exitCode(), 0);
    const auto held = nlohmann::json::parse(dump.readAllStandardOutput().toStdString());
    EXPECT_EQ(held["bridges"].size(), 1u);
    EXPECT_EQ(held["children"][0]["name"], "Ava");
}
