#include "BridgeFixture.h"

#include "model/PlatformWords.h"
#include "state/PairingCode.h"

#include <gtest/gtest.h>

namespace quorva::test {
namespace {

TEST(PairingCode, KeepsUpperCaseLettersAndNumbersAndCountsWhatTheUserSees)
{
    EXPECT_EQ(normalizedPairingCode(QStringLiteral(" abc-12 3\t")), QStringLiteral("ABC123"));
    EXPECT_EQ(normalizedPairingCode(QStringLiteral("a.b_c/1!2?3 \u2014 \U0001F600")),
              QStringLiteral("ABC123"));
    // Digits of any script stay; a Hangul syllable spelt in jamo is one character to the user.
    EXPECT_EQ(normalizedPairingCode(QStringLiteral("e\u0301 \u0663\u0664")), QStringLiteral("E\u0663\u0664"));
    EXPECT_EQ(pairingCodeLength(QStringLiteral("\u1100\u1161\u11A8")), 1u);
}

TEST(Pairing, ACodeTooShortIsNotSentARefusedOneKeepsWhatWasTypedAndAGoodOneSurvivesTheStateGoingAway)
{
    BridgeFixture harness;
    harness.computerName.clear();
    auto state = harness.makeState();
    state->setPairingCode(QStringLiteral("ab-12 3\u0301"));
    QCoro::waitFor(state->pair());
    EXPECT_TRUE(
        test::failedWith(state->phase(), QStringLiteral("Enter the pairing code shown in Quorva Family.")));
    EXPECT_EQ(state->pairingCode(), QStringLiteral("ab-12 3\u0301"));
    EXPECT_TRUE(harness.received().empty());

    state->setPairingCode(QStringLiteral("zzz-999"));
    QCoro::waitFor(state->pair());

    EXPECT_EQ(state->phase().kind(), Phase::Kind::failed);
    EXPECT_EQ(state->pairingCode(), QStringLiteral("zzz-999"));
    EXPECT_FALSE(state->hasToken());
    EXPECT_FALSE(harness.storedToken());

    const auto requests = harness.received();
    ASSERT_EQ(endpoints(requests), std::vector<std::string>{"redeem"});
    EXPECT_EQ(requests[0].body["code"], "ZZZ999");
    EXPECT_EQ(requests[0].body["bridgeName"], words::defaultBridgeName); // no computer name known

    // The code is redeemed and the token kept even when the state goes while the service answers.
    state->setPairingCode(QString::fromStdString(kPairingCode));
    state->requestPair();
    state.reset();
    EXPECT_TRUE(BridgeFixture::waitFor([&] { return harness.storedToken().has_value(); }));
}

TEST(Pairing, SuccessStoresTheTokenLoadsTheFamilyAndFinishesSetUp)
{
    BridgeFixture harness;
    auto state = harness.makeState();
    state->setPairingCode(QStringLiteral(" abc-12 3 "));
    QCoro::waitFor(state->pair());

    ASSERT_TRUE(state->hasToken()) << state->phase().failureText().toStdString();
    EXPECT_EQ(harness.storedToken(), state->token());
    EXPECT_TRUE(state->pairingCode().isEmpty());
    EXPECT_EQ(state->childProfiles(), (std::vector<BridgeChild>{{kAva, "Ava"}}));
    EXPECT_FALSE(Preferences().value(QStringLiteral("bridge.selected-child-id")));
    // No backup yet: set-up reports what is missing and the automatic loop runs.
    EXPECT_EQ(state->phase(), Phase::needsSetup());
    EXPECT_TRUE(state->hasAutomaticScanning());

    const auto requests = harness.received();
    EXPECT_EQ(endpoints(requests), (std::vector<std::string>{"redeem", "children", "heartbeat"}));
    EXPECT_EQ(requests[0].body["bridgeName"], "Test Mac");
    EXPECT_FALSE(requests[0].hasAuthorization);
    EXPECT_TRUE(requests[1].hasAuthorization);
}

} // namespace
} // namespace quorva::test

namespace quorva::test {
namespace {

// A parent who mistypes a new code while paired keeps the old pairing, and its schedule with it.
TEST(Pairing, AFailedNewPairingLeavesTheFamilyScannedOnSchedule)
{
    BridgeFixture harness;
    auto state = harness.readyState({.candidates = 1}, std::chrono::milliseconds(150));
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return recordedIds().size() == 1; }));

    state->setPairingCode(QStringLiteral("WRONG-999"));
    QCoro::waitFor(state->pair());
    ASSERT_EQ(state->phase().kind(), Phase::Kind::failed);
    ASSERT_TRUE(state->hasToken());

    harness.writeBackup(harness.path("backup"), {.candidates = 2});
    EXPECT_TRUE(BridgeFixture::waitFor([&] { return recordedIds().size() == 2; }))
        << "the schedule ended with the failed pairing";
}

} // namespace
} // namespace quorva::test
