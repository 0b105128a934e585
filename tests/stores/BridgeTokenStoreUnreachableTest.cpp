// Its own executable: the keychain library connects to the session bus once per process, so the
// broken bus must be in place before the first keychain call of the process.
#include "Await.h"
#include "Printers.h"

#include "model/BridgeClientError.h"
#include "stores/BridgeTokenStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorva {
namespace {

TEST(BridgeTokenStoreWithoutSecretService, SaysItCannotAnswerAndRefusesToSave)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + QFile::encodeName(dir.filePath("no-bus")));
    qunsetenv("DISPLAY"); // no autolaunching of a bus either

    const BridgeTokenStore store(QStringLiteral("app.quorva.bridge.test.unreachable"));
    const TokenLookup lookup = QCoro::waitFor(store.read());
    EXPECT_TRUE(lookup.storeUnavailable);
    EXPECT_EQ(lookup.token, std::nullopt);
    EXPECT_NE(test::errorOf<SecretStoreRefusal>(test::failureOf(store.save("token"))), std::nullopt);
    EXPECT_EQ(test::failureOf(store.remove()), nullptr);
}

} // namespace
} // namespace quorva
