#pragma once

#include "api/BridgeAPI.h"

#include <QCoroTask>

#include <optional>

namespace quorva {

struct ChildrenOutcome;
struct CycleOutcome;
struct CycleRequest;

// What the flows of a pairing read of the published state, and where they report what they
// found. The state object is the one host: a flow publishes nothing itself.
//
// A report may end the session that owns the flow (the service refused the token). A flow
// therefore reports last, and whoever awaits that step awaits it bound to the flow.
class FlowHost {
public:
    // The children as the service answered; false when set-up goes no further (a failure is
    // shown, or the pairing was refused).
    virtual bool childrenAnswered(const ChildrenOutcome& outcome) = 0;
    // Looks at the stored backup folder again, reading only property lists.
    [[nodiscard]] virtual QCoro::Task<> lookAtFolder() = 0;
    // Says what set-up still lacks, or that all is ready.
    virtual void showReadiness() = 0;
    [[nodiscard]] virtual bool canScan() const = 0;
    // What a cycle scans for; nothing, with the reason shown, when set-up lacks the folder.
    [[nodiscard]] virtual std::optional<CycleRequest> cycleRequest() = 0;
    virtual void cycleEnded(const CycleOutcome& outcome) = 0;
    // What set-up lacks and what the family's iPhones need, for the service.
    [[nodiscard]] virtual HeartbeatReport setupReport() const = 0;

protected:
    ~FlowHost() = default;
};

} // namespace quorva
