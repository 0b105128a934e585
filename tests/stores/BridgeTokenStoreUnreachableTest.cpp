// Its own executable: the keychain library connects to the session bus once per process, so the
// broken bus must be in place before the first keychain call of the process.
#include "StoresTestSupport.h"

#include "model/BridgeClientError.h"
#include "stores/BridgeTokenStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quorva {
namespace {

TEST(BridgeTokenStoreWithoutSecretService, ReadsNothingAndRefusesToSave)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + QFile::encodeName(dir.filePath("no-bus")));
    qunsetenv("DISPLAY"); // no autolaunching of a bus either

    const BridgeTokenStore store(QStringLiteral("app.quorva.bridge.test.unreachable"));
    EXPECT_EQ(QCoro::waitFor(store.read()), std::nullopt);
    EXPECT_EQ(test::errorOf<BridgeClientError>(test::failureOf(store.save("token"))),
              BridgeClientError::invalidResponse());
    EXPECT_EQ(test::failureOf(store.remove()), nullptr);
}

} // namespace
} // namespace quorva
