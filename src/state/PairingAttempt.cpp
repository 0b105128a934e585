#include "state/PairingAttempt.h"

#include "state/StateTexts.h"

namespace quorva {

namespace {

QCoro::Task<PairingOutcome> redeemAndKeep(std::shared_ptr<BridgeAPI> api, BridgeTokenStore tokenStore,
                                          UploadCheckpointStore checkpoint, std::stop_token stop,
                                          std::string code, std::string bridgeName)
{
    PairingOutcome outcome;
    try {
        const BridgeRedeemResponse response = co_await api->redeem(std::move(code), std::move(bridgeName));
        outcome.token = response.bridgeToken;
    } catch (...) {
        outcome.failure = failureOf(std::current_exception());
    }
    if (stop.stop_requested()) {
        outcome.cancelled = true;
        co_return outcome;
    }
    if (outcome.failure)
        co_return outcome;
    try {
        // Stored before it is used: a token only in memory would be lost at the next launch.
        co_await tokenStore.save(outcome.token);
    } catch (...) {
        outcome.failure = Failure{FailureCase::secretStoreRefusedPairing, {}, {}};
        co_return outcome;
    }
    if (stop.stop_requested()) {
        // Disconnected while the store was writing: what it wrote is of a forgotten pairing.
        co_await tokenStore.remove();
        outcome.cancelled = true;
        co_return outcome;
    }
    // What the pairing before was sent, this one's family has not received.
    try {
        checkpoint.clear();
    } catch (const std::exception&) {
        // Left over, it only holds back what the old pairing already has.
    }
    co_return outcome;
}

} // namespace

PairingAttempt::PairingAttempt(std::shared_ptr<BridgeAPI> api, BridgeTokenStore tokenStore,
                               UploadCheckpointStore checkpoint)
    : m_api(std::move(api)), m_tokenStore(std::move(tokenStore)), m_checkpoint(std::move(checkpoint))
{
}

QCoro::Task<PairingOutcome> PairingAttempt::run(std::string code, std::string bridgeName)
{
    return redeemAndKeep(m_api, m_tokenStore, m_checkpoint, m_stop.get_token(), std::move(code),
                         std::move(bridgeName));
}

} // namespace quorva
