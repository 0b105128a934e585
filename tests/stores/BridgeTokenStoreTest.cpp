// Runs against the session's real Secret Service (scripts/with-private-session provides one).
// Every test uses a service name of its own, so tests may run in parallel and never touch the
// application's real item.
#include "Await.h"
#include "Printers.h"

#include "model/BridgeClientError.h"
#include "stores/BridgeTokenStore.h"

#include "KeyringControl.h"

#include <QCoroSignal>
#include <qt6keychain/keychain.h>

#include <gtest/gtest.h>

namespace quorva {
namespace {

// Writes an item the way another client of the same keychain library could have.
QCoro::Task<> writeRaw(const BridgeTokenStore& store, std::variant<QByteArray, QString> data)
{
    auto* job = new QKeychain::WritePasswordJob(store.service());
    job->setKey(store.account());
    if (const auto* bytes = std::get_if<QByteArray>(&data))
        job->setBinaryData(*bytes);
    else
        job->setTextData(std::get<QString>(data));
    job->start();
    co_await qCoro(job, &QKeychain::Job::finished);
    if (job->error() != QKeychain::NoError)
        throw std::runtime_error(job->errorString().toStdString());
}

QString serviceOfThisTest()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return QStringLiteral("app.quorva.bridge.test.") + QString::fromLatin1(info->name());
}

class BridgeTokenStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(test::failureOf(store.remove()), nullptr); }
    void TearDown() override { (void)test::failureOf(store.remove()); }

    [[nodiscard]] static std::optional<std::string> read(const BridgeTokenStore& from)
    {
        return QCoro::waitFor(from.read()).token;
    }
    static void succeeds(QCoro::Task<> task) { ASSERT_EQ(test::failureOf(std::move(task)), nullptr); }

    const BridgeTokenStore store{serviceOfThisTest()};
};

TEST_F(BridgeTokenStoreTest, TheLastSavedTokenReadsBackUntilRemovedAndReplacesWhatAnotherClientWrote)
{
    succeeds(store.save("first"));
    succeeds(store.save("brt_live_0123456789abcdef"));
    EXPECT_EQ(test::keyringItemCount(store.service(), store.account()), 1);
    EXPECT_EQ(read(BridgeTokenStore(store.service(), store.account())), "brt_live_0123456789abcdef");

    succeeds(store.remove());
    EXPECT_EQ(read(store), std::nullopt);
    EXPECT_EQ(test::keyringItemCount(store.service(), store.account()), 0);

    // An item another client wrote is replaced by saving, and read only when UTF-8. A text item is found
    // before a binary one, so it must not survive a save.
    succeeds(writeRaw(store, QStringLiteral("old-text-token")));
    EXPECT_EQ(read(store), "old-text-token");
    succeeds(store.save("new-token"));
    EXPECT_EQ(read(store), "new-token");
    EXPECT_EQ(test::keyringItemCount(store.service(), store.account()), 1);

    succeeds(writeRaw(store, QByteArray("tok\xC3(en")));
    EXPECT_EQ(read(store), std::nullopt);
    // Nor are such bytes stored: that token could never be read back. The earlier item stays.
    succeeds(store.save("valid"));
    EXPECT_NE(test::errorOf<SecretStoreRefusal>(test::failureOf(store.save("in\xEDvalid"))), std::nullopt);
    EXPECT_EQ(read(store), "valid");
}

} // namespace
} // namespace quorva
