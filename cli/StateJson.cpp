#include "StateJson.h"

#include "RecordJson.h"
#include "state/BridgeAppState.h"

namespace quorva::cli {

nlohmann::json stateJson(const BridgeAppState& state)
{
    const Phase phase = state.phase();
    const bool failed = phase.kind() == Phase::Kind::failed;
    return {
        {"phase", phase.name().toStdString()},
        {"failure", failed ? nlohmann::json(phase.failureText().toStdString()) : nlohmann::json(nullptr)},
        {"statusMessage", state.statusMessage().toStdString()},
        {"selectedChildID",
         state.selectedChildID() ? nlohmann::json(*state.selectedChildID()) : nlohmann::json(nullptr)},
        {"selectedBackup", state.selectedBackup() ? backupJson(*state.selectedBackup()) : nlohmann::json(nullptr)},
        {"lastScanAt", instantJson(state.lastScanAt())},
        {"lastInspectedCount", state.lastInspectedCount()},
        {"lastCandidateCount", state.lastCandidateCount()},
        {"totalAlertsCreated", state.totalAlertsCreated()},
    };
}

} // namespace quorva::cli
