#pragma once

#include "api/BridgeAPI.h"
#include "stores/BridgeTokenStore.h"
#include "stores/UploadCheckpointStore.h"

#include <QCoroTask>
#include <QObject>
#include <QString>

#include "state/Failure.h"

#include <memory>
#include <optional>
#include <stop_token>
#include <string>

namespace quorva {

struct PairingOutcome {
    bool cancelled = false;
    std::string token; // kept in the secret store, when nothing failed
    std::optional<Failure> failure;
};

// One attempt to pair with a code: the service redeems it, the token goes to the secret store,
// and what an earlier pairing was sent is forgotten. A newer attempt or a disconnect cancels it;
// its owner going does not, since a code the service has redeemed must still be kept or it was
// spent for nothing.
class PairingAttempt : public QObject {
    Q_OBJECT

public:
    PairingAttempt(std::shared_ptr<BridgeAPI> api, BridgeTokenStore tokenStore,
                   UploadCheckpointStore checkpoint);

    // The work holds copies only: it goes on when this object is gone.
    [[nodiscard]] QCoro::Task<PairingOutcome> run(std::string code, std::string bridgeName);
    void cancel() { m_stop.request_stop(); }

private:
    std::shared_ptr<BridgeAPI> m_api;
    BridgeTokenStore m_tokenStore;
    UploadCheckpointStore m_checkpoint;
    std::stop_source m_stop;
};

} // namespace quorva
