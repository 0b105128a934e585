#include "BridgeFixture.h"

#include "platform/LoginItem.h"
#include "state/BridgeComposition.h"
#include "stores/BackupBookmarkStore.h"
#include "stores/UploadCheckpointStore.h"

#include <QCoreApplication>
#include <QCoroNetworkReply>
#include <QEventLoop>
#include <QSettings>
#include <QTimer>

#include <gtest/gtest.h>

namespace quorva::test {

QString tokenService()
{
    return QStringLiteral("app.quorva.bridge.state-tests.%1").arg(QCoreApplication::applicationPid());
}

namespace {

const std::string kPrefix = "/v1/parental/bridges/";

// The answer's status and body.
std::pair<int, QByteArray> send(QNetworkAccessManager& network, const QNetworkRequest& request,
                                const QByteArray& method = "GET", const QByteArray& body = {})
{
    QNetworkReply* reply = network.sendCustomRequest(request, method, body);
    QCoro::waitFor(qCoro(reply).waitForFinished());
    reply->deleteLater();
    return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll()};
}

} // namespace

BridgeFixture::BridgeFixture()
{
    config.pairingCodes = {kPairingCode};
    config.children = {{kAva, "Ava"}};
    QSettings(Preferences().fileName(), QSettings::NativeFormat).clear();
    QCoro::waitFor(BridgeTokenStore(tokenService()).remove());
}

BridgeFixture::~BridgeFixture() = default;

void BridgeFixture::startService()
{
    m_service.reset();
    m_service = std::make_unique<devservice::DevService>(config);
    ASSERT_NE(m_service->listen(0), 0);
}

QUrl BridgeFixture::serviceURL() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_service->port()));
}

std::unique_ptr<BridgeAppState> BridgeFixture::makeState(std::chrono::milliseconds interval)
{
    if (!m_service)
        startService();
    BridgePlatform platform;
    platform.chooseFolder =
        [this](FolderChooserRequest request) -> QCoro::Task<std::optional<std::filesystem::path>> {
        chooserRequests.push_back(request);
        co_return std::optional(nextChoice); // a copy: QCoro moves from a returned lvalue
    };
    platform.loginItem =
        std::make_shared<LoginItem>(path("autostart"), QStringList{QStringLiteral("/usr/bin/true")});
    platform.computerName = [this] { return computerName; };
    platform.automaticScanInterval = interval;
    platform.secretStoreRetryInterval = secretStoreRetry;
    platform.deviceWatcher = deviceWatcher;
    platform.automaticBackups = automaticBackups;
    if (!backupTool.isEmpty())
        platform.backupTool = backupTool;
    return makeBridgeAppState(m_network, std::move(platform),
                              {.serviceURL = serviceURL(),
                               .tokenService = tokenService(),
                               .requestTimeout = std::chrono::milliseconds(5000)});
}

void BridgeFixture::pair(BridgeAppState& state)
{
    state.setPairingCode(QString::fromStdString(kPairingCode));
    QCoro::waitFor(state.pair());
    ASSERT_TRUE(state.hasToken()) << state.phase().failureText().toStdString();
}

std::unique_ptr<BridgeAppState> BridgeFixture::readyState(const BackupContent& content,
                                                          std::chrono::milliseconds interval)
{
    auto state = makeState(interval);
    pair(*state);
    nextChoice = writeBackup(path("backup"), content);
    QCoro::waitFor(state->chooseBackupFolder());
    // As the parent does: the folder's one iPhone is Ava's.
    EXPECT_TRUE(state->assignDevice(content.udid, kAva));
    EXPECT_EQ(state->phase(), Phase::ready());
    return state;
}

std::vector<Received> BridgeFixture::scan(BridgeAppState& state)
{
    const std::size_t before = received().size();
    QCoro::waitFor(state.scanNow());
    return receivedSince(before);
}

BridgeFixture::Answer BridgeFixture::request(const std::string& method, const std::string& endpoint,
                                             const std::string& body,
                                             const std::optional<std::string>& authorization)
{
    QNetworkRequest request(serviceURL().resolved(QUrl(QString::fromStdString(kPrefix + endpoint))));
    request.setRawHeader("Content-Type", "application/json");
    if (authorization)
        request.setRawHeader("Authorization", QByteArray::fromStdString(*authorization));
    const auto [status, answer] =
        send(m_network, request, QByteArray::fromStdString(method), QByteArray::fromStdString(body));
    return {status, nlohmann::json::parse(answer.toStdString(), nullptr, false)};
}

std::vector<Received> BridgeFixture::received()
{
    const auto page = nlohmann::json::parse(
        send(m_network, QNetworkRequest(serviceURL().resolved(QUrl("/dev/received")))).second.toStdString());
    std::vector<Received> requests;
    for (const auto& entry : page.at("requests"))
        requests.push_back(
            {entry["path"], entry.value("body", nlohmann::json()), entry.value("hasAuthorization", false)});
    return requests;
}

std::vector<Received> BridgeFixture::receivedSince(std::size_t count)
{
    const std::vector<Received> all = received();
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(count, all.size())), all.end()};
}

std::filesystem::path BridgeFixture::path(const std::string& name) const
{
    return std::filesystem::path(m_dir.path().toStdString()) / name;
}

std::filesystem::path BridgeFixture::writeBackup(const std::filesystem::path& folder,
                                                 const BackupContent& content)
{
    const Instant now = Instant::now();
    samples::SampleBackupPlan plan;
    plan.udid = content.udid;
    plan.displayName = plan.deviceName = content.deviceName;
    plan.lastBackupDate = plan.statusDate = Instant{now.unixSeconds - content.ageHours * 3600};
    plan.encrypted = content.encrypted;
    plan.snapshotState = content.snapshotState;
    // Incoming, a minute apart, newest first: the candidates, then the benign ones.
    for (int i = 0; i < content.candidates + content.benign; ++i)
        plan.messages.push_back(
            {.text = i < content.candidates ? "keep this secret " + std::to_string(i) : "see you at practice",
             .sender = "+15550100",
             .date = {now.unixSeconds - 60.0 * (i + 1)}});
    return samples::writeSampleBackup(folder, plan);
}

std::optional<std::string> BridgeFixture::storedToken()
{
    return QCoro::waitFor(BridgeTokenStore(tokenService()).read()).token;
}

void BridgeFixture::spin(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer::singleShot(duration, &loop, &QEventLoop::quit);
    loop.exec();
}

bool BridgeFixture::waitFor(const std::function<bool()>& done)
{
    for (int i = 0; i < 200 && !done(); ++i)
        spin(std::chrono::milliseconds(50));
    return done();
}

std::vector<std::string> recordedIds(const std::string& device)
{
    return UploadCheckpointStore(Preferences()).forDevice(device).identifiers();
}

std::vector<nlohmann::json> bodiesOf(const std::vector<Received>& requests, const std::string& endpoint)
{
    std::vector<nlohmann::json> bodies;
    for (const Received& r : requests)
        if (r.path == kPrefix + endpoint)
            bodies.push_back(r.body);
    return bodies;
}

std::vector<std::string> endpoints(const std::vector<Received>& requests)
{
    std::vector<std::string> names;
    for (const Received& r : requests)
        names.push_back(r.path.substr(kPrefix.size()));
    return names;
}

} // namespace quorva::test
