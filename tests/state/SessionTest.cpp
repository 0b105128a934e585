// In-flight work ends with the pairing it belongs to: a disconnect, a new pairing, a service that
// no longer takes the token; and only one process does that work at a time.
#include "BridgeFixture.h"
#include "FilePermissions.h"
#include "SqliteFileObserver.h"

#include "ServiceError.h"
#include "platform/UserLock.h"
#include "state/StateTexts.h"

#include <gtest/gtest.h>

#include <QThreadPool>

#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>

namespace quorva::test {
namespace {

using Names = std::vector<std::string>;
using namespace std::chrono_literals;

using Sent = std::vector<std::pair<std::string, std::string>>; // path and bearer header, in order

// Once `act` is set, runs it while the service takes the second ingest batch, before it answers.
void duringSecondBatch(BridgeFixture& harness, std::function<void()>& act, Sent* sent = nullptr)
{
    auto batches = std::make_shared<int>(0);
    harness.config.beforeRequest = [batches, &act, sent](const devservice::HttpCall& call) {
        if (sent)
            sent->emplace_back(call.path, call.header("Authorization").value_or(""));
        if (act && call.path.ends_with("/ingest/batch") && ++*batches == 2)
            act();
    };
}

TEST(Session, ADisconnectDuringAnUploadEndsTheCycle)
{
    BridgeFixture harness;
    std::function<void()> act;
    duringSecondBatch(harness, act);
    auto state = harness.readyState({.candidates = 250});
    act = [&] { state->requestDisconnect(); };
    const auto requests = harness.scan(*state);
    // The secret store forgets the token in its own time.
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return state->phase() == Phase::needsPairing(); }));
    BridgeFixture::spin(200ms);

    // No third batch and no heartbeat with the forgotten token; nothing refills the checkpoint.
    EXPECT_EQ(endpoints(requests), (Names{"devices", "ingest/batch", "ingest/batch"}));
    EXPECT_TRUE(recordedIds().empty());
    EXPECT_FALSE(harness.storedToken());
}

TEST(Session, ANewPairingDuringAnUploadEndsTheOldCycle)
{
    BridgeFixture harness;
    harness.config.pairingCodes = {kPairingCode, "NEW123"};
    Sent sent;
    std::function<void()> act;
    duringSecondBatch(harness, act, &sent);
    auto state = harness.readyState({.candidates = 250});
    const std::string oldBearer = "Bearer " + *state->token();
    act = [&] {
        state->setPairingCode(QStringLiteral("NEW123"));
        state->requestPair();
    };
    QCoro::waitFor(state->scanNow());
    ASSERT_TRUE(
        BridgeFixture::waitFor([&] { return state->token() && "Bearer " + *state->token() != oldBearer; }));
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return state->phase() == Phase::ready(); }));

    const auto redeem =
        std::find_if(sent.rbegin(), sent.rend(), [](const auto& r) { return r.first.ends_with("/redeem"); });
    ASSERT_NE(redeem, sent.rend());
    EXPECT_TRUE(std::none_of(sent.rbegin(), redeem, [&](const auto& r) { return r.second == oldBearer; }));
}

std::string named(const ::testing::TestParamInfo<const char*>& info)
{
    return info.param;
}

// A disconnect while the service answers a pairing or its children request: the answer belongs
// to a pairing that is gone, so nothing of it is stored or shown.
class ADisconnectWhileTheServiceAnswers : public ::testing::TestWithParam<const char*> {};

TEST_P(ADisconnectWhileTheServiceAnswers, DropsItsAnswer)
{
    BridgeFixture harness;
    BridgeAppState* disconnecting = nullptr;
    harness.config.beforeRequest = [&](const devservice::HttpCall& call) {
        if (disconnecting && call.path.ends_with(GetParam()))
            std::exchange(disconnecting, nullptr)->requestDisconnect();
    };
    auto state = harness.makeState();
    disconnecting = state.get();
    state->setPairingCode(QString::fromStdString(kPairingCode));
    QCoro::waitFor(state->pair());
    BridgeFixture::spin(300ms);

    EXPECT_EQ(disconnecting, nullptr) << "the request was never sent";
    EXPECT_EQ(state->phase(), Phase::needsPairing());
    EXPECT_FALSE(state->hasToken());
    EXPECT_FALSE(harness.storedToken());
    EXPECT_TRUE(state->childProfiles().empty());
    EXPECT_TRUE(state->deviceBindings().empty());
}

INSTANTIATE_TEST_SUITE_P(Session, ADisconnectWhileTheServiceAnswers, ::testing::Values("redeem", "children"),
                         named);

TEST(Session, PairingAnewSendsNothingUnderTheOldPairingAndEverythingUnderTheNew)
{
    BridgeFixture harness;
    harness.config.pairingCodes = {kPairingCode, "NEW123"};
    Sent sent;
    std::function<void()> act;
    duringSecondBatch(harness, act, &sent);
    auto earlier = harness.readyState({.candidates = 19});
    harness.scan(*earlier);
    ASSERT_EQ(recordedIds().size(), 19u);
    const std::string oldBearer = "Bearer " + *earlier->token();
    earlier.reset();

    // A later run pairs with another family's code while this computer is still paired.
    auto state = harness.makeState();
    const std::size_t before = harness.received().size();
    sent.clear();
    state->setPairingCode(QStringLiteral("NEW123"));
    QCoro::waitFor(state->pair());
    ASSERT_TRUE(state->hasToken());

    EXPECT_TRUE(std::none_of(sent.begin(), sent.end(), [&](const auto& r) { return r.second == oldBearer; }));
    const auto batches = bodiesOf(harness.receivedSince(before), "ingest/batch");
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0]["items"].size(), 19u); // the new family has received none of them
}

TEST(Session, WhileOneProcessWritesAnotherDoesNothingAndSaysSo)
{
    BridgeFixture harness;
    auto window = harness.readyState({.candidates = 2});
    ASSERT_TRUE(QCoro::waitFor(window->becomeTheWriter(0ms)));
    auto cli = harness.makeState(); // a second process: its own lock on the same file
    EXPECT_FALSE(QCoro::waitFor(cli->becomeTheWriter(0ms)));
    EXPECT_TRUE(test::failedWith(cli->phase(), texts::busyElsewhere()));
    window.reset(); // the application quits
    EXPECT_TRUE(QCoro::waitFor(cli->becomeTheWriter(0ms)));
}

class RevokedToken : public ::testing::TestWithParam<const char*> {};

// Whichever request meets a revoked token, the parent is asked to pair again; the stored token
// stays until they do, or disconnect.
TEST_P(RevokedToken, AsksToPairAgainAndStopsWorking)
{
    BridgeFixture harness;
    bool revoked = false;
    const std::string endpoint = GetParam(); // found in the endpoint's path
    harness.config.beforeRequest = [&](const devservice::HttpCall& call) {
        if (revoked && call.path.find(endpoint) != std::string::npos)
            throw devservice::ServiceError(401, "token_revoked", "Token revoked");
    };
    auto state = harness.readyState({.candidates = 2});
    revoked = true;
    const std::size_t before = harness.received().size();
    if (endpoint == "children")
        QCoro::waitFor(state->loadChildren());
    else
        QCoro::waitFor(state->scanNow());
    BridgeFixture::spin(300ms); // nothing starts over by itself

    EXPECT_TRUE(test::failedWith(state->phase(), texts::pairingNoLongerValid()));
    EXPECT_FALSE(state->hasToken());
    EXPECT_FALSE(state->hasAutomaticScanning());
    EXPECT_TRUE(harness.storedToken());
    const auto requests = harness.receivedSince(before);
    ASSERT_FALSE(requests.empty());
    EXPECT_NE(requests.back().path.find(endpoint), std::string::npos); // nothing more after the refusal
    EXPECT_EQ(std::ranges::count_if(
                  requests, [&](const Received& r) { return r.path.find(endpoint) != std::string::npos; }),
              1);
}

INSTANTIATE_TEST_SUITE_P(Endpoints, RevokedToken,
                         ::testing::Values("children", "devices", "ingest", "heartbeat"), named);

TEST(Session, AChildrenFailureStaysOnScreen)
{
    BridgeFixture harness;
    bool broken = false;
    harness.config.beforeRequest = [&](const devservice::HttpCall& call) {
        if (broken && call.path.ends_with("/children"))
            throw devservice::ServiceError(503, "maintenance", "Quorva is down for maintenance.");
    };
    (void)harness.readyState({.candidates = 1});
    broken = true;
    auto state = harness.makeState(); // the next launch
    QCoro::waitFor(state->start());
    EXPECT_TRUE(test::failedWith(state->phase(), QStringLiteral("Quorva is down for maintenance.")));
}

// A folder that is there but no longer readable is a failed scan, reported as one (one that is
// gone is not: see the guards of the scan cycle); a failure that names a local path says so on
// screen only.
TEST(Session, AnUnreadableFolderOrPreferencesFileFailsTheScanAndItsReportNamesNoPath)
{
    BridgeFixture harness;
    auto state = harness.readyState({.candidates = 1});
    const FilePermissionsApply permissions;
    ASSERT_TRUE(permissions.applies());
    const auto scanWithout = [&](const std::filesystem::path& folder, std::filesystem::perms left) {
        std::filesystem::permissions(folder, left);
        const auto heartbeats = bodiesOf(harness.scan(*state), "heartbeat");
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        return heartbeats.empty() ? nlohmann::json() : heartbeats.back()["setupIssue"];
    };
    const QString lost = QStringLiteral("Access to the backup folder expired. Choose the folder again.");
    EXPECT_EQ(scanWithout(harness.path("backup"), std::filesystem::perms::none), lost.toStdString());
    EXPECT_TRUE(test::failedWith(state->phase(), lost));

    // The checkpoint cannot be written.
    const std::filesystem::path settings = QFileInfo(Preferences().fileName()).path().toStdString();
    EXPECT_EQ(scanWithout(settings, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec),
              "The preferences file could not be written.");
    EXPECT_TRUE(state->phase().failureText().contains(QString::fromStdString(settings.string())));
}

// A backup on a slow disk: a scan that has been reading it for a while.
class ASlowRead : public ::testing::Test {
protected:
    void SetUp() override
    {
        state = harness.readyState({.candidates = 400, .benign = 2000});
        SqliteFileObserver::install().setReadDelay(20ms);
        cycle.emplace(state->scanNow());
        ASSERT_EQ(state->phase(), Phase::scanning());
        BridgeFixture::spin(300ms);
        ASSERT_FALSE(cycle->isReady()) << "the read must still be under way";
        requestsBefore = harness.received().size();
    }
    void TearDown() override { SqliteFileObserver::install().setReadDelay(0ms); }

    // How long `act` took, on this (the window's) thread.
    template <typename Act> static std::chrono::milliseconds timed(Act act)
    {
        const auto started = std::chrono::steady_clock::now();
        act();
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                     started);
    }

    BridgeFixture harness;
    std::unique_ptr<BridgeAppState> state;
    std::optional<QCoro::Task<>> cycle;
    std::size_t requestsBefore = 0;
};

TEST_F(ASlowRead, DoesNotKeepADisconnectWaitingAndSendsNothingAfterIt)
{
    EXPECT_LT(timed([&] { QCoro::waitFor(state->disconnect()); }), 500ms);
    EXPECT_EQ(state->phase(), Phase::needsPairing());
    EXPECT_LT(timed([&] { QCoro::waitFor(std::move(*cycle)); }), 500ms) << "the read ends once stopped";
    EXPECT_TRUE(harness.receivedSince(requestsBefore).empty());
    EXPECT_TRUE(recordedIds().empty());
}

TEST_F(ASlowRead, DoesNotKeepAQuitWaiting)
{
    EXPECT_LT(timed([&] {
                  state.reset();
                  QThreadPool::globalInstance()->waitForDone();
              }),
              500ms);
    BridgeFixture::spin(100ms);
    EXPECT_TRUE(harness.receivedSince(requestsBefore).empty());
}

} // namespace
} // namespace quorva::test

namespace quorva::test {
namespace {

using namespace std::chrono_literals;

// What a power cut, a renamed computer or a stray command leaves at the lock's place is no
// owner: the next process takes the lock over and works, and says so in the log.
class ABrokenLockFile : public ::testing::TestWithParam<const char*> {};

TEST_P(ABrokenLockFile, IsTakenOverAndTheScanGoesOn)
{
    BridgeFixture harness;
    auto state = harness.readyState({.candidates = 2});
    const std::filesystem::path lock = UserLock::beside(Preferences().fileName()).toStdString();
    std::filesystem::create_directories(lock.parent_path());
    const std::string kind = GetParam();
    if (kind == "folder")
        std::filesystem::create_directories(lock / "inside");
    else if (kind == "dangling-link")
        std::filesystem::create_symlink(lock.parent_path() / "nowhere" / "lock", lock);
    else
        std::ofstream(lock, std::ios::trunc)
            << (kind == "empty"     ? ""
                : kind == "garbage" ? "\x01\xff not a lock \x7f"
                                    : "4194301\nquorva-bridge\nother-computer\n");

    ASSERT_TRUE(QCoro::waitFor(state->becomeTheWriter(0ms))) << state->phase().failureText().toStdString();
    EXPECT_EQ(endpoints(harness.scan(*state)),
              (std::vector<std::string>{"devices", "ingest/batch", "heartbeat"}));
    // The lock holds against another process all the same.
    EXPECT_FALSE(QCoro::waitFor(harness.makeState()->becomeTheWriter(0ms)));
}

INSTANTIATE_TEST_SUITE_P(Session, ABrokenLockFile,
                         ::testing::Values("empty", "garbage", "folder", "dangling-link",
                                           "another-hosts-process"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::erase(name, '-');
                             return name;
                         });

} // namespace
} // namespace quorva::test
