// At log-in a desktop may start Bridge before it opens the keyring. Run in a session of its own:
// locking the keyring would disturb tests running beside it.
#include "BridgeFixture.h"
#include "KeyringControl.h"

#include "state/StateTexts.h"

#include <gtest/gtest.h>

namespace quorva::test {
namespace {

using namespace std::chrono_literals;

TEST(SecretStore, ALockedStoreIsWaitedForAndNeverTakenForNoPairing)
{
    BridgeFixture harness;
    (void)harness.readyState({.candidates = 1}); // paired in an earlier launch
    ASSERT_TRUE(lockKeyring());
    harness.secretStoreRetry = 200ms;
    auto state = harness.makeState();
    const std::size_t before = harness.received().size();
    QCoro::waitFor(state->start());

    EXPECT_EQ(state->phase(), Phase::starting());
    EXPECT_EQ(state->statusMessage(), QStringLiteral("The secret store is not available yet"));
    EXPECT_FALSE(state->hasToken());
    EXPECT_EQ(harness.received().size(), before);

    ASSERT_TRUE(unlockKeyring());
    EXPECT_TRUE(
        BridgeFixture::waitFor([&] { return state->hasToken() && state->phase() == Phase::ready(); }));
}

TEST(SecretStore, AStoreThatRefusesTheTokenAsksForANewCode)
{
    BridgeFixture harness;
    harness.config.beforeRequest = [](const devservice::HttpCall& call) {
        if (call.path.ends_with("/redeem"))
            lockKeyring(); // the code is spent from here on
    };
    auto state = harness.makeState();
    state->setPairingCode(QString::fromStdString(kPairingCode));
    QCoro::waitFor(state->pair());
    ASSERT_TRUE(unlockKeyring());

    EXPECT_TRUE(test::failedWith(state->phase(), texts::secretStoreRefusedPairing())); // the code is spent
    EXPECT_FALSE(state->hasToken());
    EXPECT_FALSE(harness.storedToken());
}

} // namespace
} // namespace quorva::test

namespace quorva::test {
namespace {

// A disconnect while the keyring is locked cannot delete the token, which would bring the
// pairing back at the next unlock: it says so and forgets nothing, and works once unlocked.
TEST(SecretStore, ADisconnectThatCannotForgetTheTokenSaysSoAndKeepsThePairing)
{
    BridgeFixture harness;
    auto state = harness.readyState({.candidates = 1});
    ASSERT_TRUE(lockKeyring());
    QCoro::waitFor(state->disconnect());
    ASSERT_TRUE(unlockKeyring());

    EXPECT_TRUE(test::failedWith(state->phase(), texts::tokenNotForgotten()));
    EXPECT_TRUE(state->hasToken());
    EXPECT_TRUE(harness.storedToken());
    EXPECT_TRUE(state->backupFolder());
    EXPECT_EQ(state->deviceBindings().size(), 1u);

    QCoro::waitFor(state->disconnect());
    EXPECT_EQ(state->phase(), Phase::needsPairing());
    EXPECT_FALSE(harness.storedToken());
}

} // namespace
} // namespace quorva::test
