#include "StateJson.h"

#include "state/DeviceBackups.h"

#include "RecordJson.h"
#include "state/BridgeAppState.h"

namespace quorva::cli {

nlohmann::json childrenJson(const std::vector<BridgeChild>& children,
                            const std::optional<std::string>& selectedID)
{
    nlohmann::json list = nlohmann::json::array();
    for (const BridgeChild& child : children)
        list.push_back({{"id", child.id}, {"name", child.name}, {"selected", selectedID == child.id}});
    return list;
}

nlohmann::json devicesJson(const BridgeAppState& state)
{
    nlohmann::json list = nlohmann::json::array();
    for (const BackupDescriptor& device : state.devices()) {
        const auto binding = state.deviceBindings().find(device.id);
        const DeviceActivity activity =
            state.deviceBackups() ? state.deviceBackups()->activity(QString::fromStdString(device.id))
                                  : DeviceActivity{};
        // How the iPhone is connected to this computer, for a backup made here.
        const char* connection = activity.running     ? "backing up"
                                 : activity.untrusted ? "not trusted"
                                 : activity.connected ? "connected"
                                                      : "not connected";
        list.push_back({
            {"id", device.id},
            {"name", device.deviceName},
            {"productType",
             device.productType ? nlohmann::json(*device.productType) : nlohmann::json(nullptr)},
            {"lastBackupAt", instantJson(device.lastBackupAt)},
            {"state", stateName(device)},
            {"childId", binding == state.deviceBindings().end() ? nlohmann::json(nullptr)
                                                                : nlohmann::json(binding->second)},
            {"connection", connection},
            {"activity",
             activity.text.isEmpty() ? nlohmann::json(nullptr) : nlohmann::json(activity.text.toStdString())},
        });
    }
    return list;
}

nlohmann::json stateJson(const BridgeAppState& state)
{
    const Phase phase = state.phase();
    const bool failed = phase.kind() == Phase::Kind::failed;
    return {
        {"phase", phase.name().toStdString()},
        {"failure", failed ? nlohmann::json(phase.failureText().toStdString()) : nlohmann::json(nullptr)},
        {"statusMessage", state.statusMessage().toStdString()},
        {"children", childrenJson(state.childProfiles(), state.selectedChildID())},
        {"selectedChildID",
         state.selectedChildID() ? nlohmann::json(*state.selectedChildID()) : nlohmann::json(nullptr)},
        {"selectedBackup",
         state.selectedBackup() ? backupJson(*state.selectedBackup()) : nlohmann::json(nullptr)},
        {"lastScanAt", instantJson(state.lastScanAt())},
        {"lastInspectedCount", state.lastInspectedCount()},
        {"lastCandidateCount", state.lastCandidateCount()},
        {"totalAlertsCreated", state.totalAlertsCreated()},
    };
}

} // namespace quorva::cli
