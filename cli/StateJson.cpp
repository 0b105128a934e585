#include "StateJson.h"

#include "devices/DeviceBackups.h"

#include "RecordJson.h"
#include "state/BridgeAppState.h"

#include <algorithm>

namespace quorva::cli {

nlohmann::json childrenJson(const std::vector<BridgeChild>& children,
                            const std::map<std::string, std::string>& bindings)
{
    nlohmann::json list = nlohmann::json::array();
    for (const BridgeChild& child : children) {
        const auto bound =
            std::ranges::find(bindings, child.id, &std::pair<const std::string, std::string>::second);
        list.push_back(
            {{"id", child.id},
             {"name", child.name},
             {"deviceId", bound == bindings.end() ? nlohmann::json(nullptr) : nlohmann::json(bound->first)}});
    }
    return list;
}

nlohmann::json devicesJson(const BridgeAppState& state)
{
    nlohmann::json list = nlohmann::json::array();
    for (const BackupDescriptor& device : state.devices()) {
        const auto binding = state.deviceBindings().find(device.id);
        const auto child = binding == state.deviceBindings().end()
                               ? state.childProfiles().end()
                               : std::ranges::find(state.childProfiles(), binding->second, &BridgeChild::id);
        const DeviceActivity activity =
            state.deviceBackups() ? state.deviceBackups()->activity(QString::fromStdString(device.id))
                                  : DeviceActivity{};
        // How the iPhone is connected to this computer, for a backup made here.
        const char* connection = activity.running        ? "backing up"
                                 : activity.untrusted    ? "not trusted"
                                 : activity.notAnswering ? "not answering"
                                 : activity.connected    ? "connected"
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
            {"childName",
             child == state.childProfiles().end() ? nlohmann::json(nullptr) : nlohmann::json(child->name)},
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
    nlohmann::json attention = nlohmann::json::array();
    for (const texts::Notice& notice : state.overview().notices)
        attention.push_back(notice.shown.toStdString());
    return {
        {"phase", phase.name().toStdString()},
        {"failure", failed ? nlohmann::json{{"code", failureName(phase.failure().kind).toStdString()},
                                            {"text", phase.failureText().toStdString()}}
                           : nlohmann::json(nullptr)},
        {"statusMessage", state.statusMessage().toStdString()},
        {"backupFolder",
         state.backupFolder() ? nlohmann::json(state.backupFolder()->string()) : nlohmann::json(nullptr)},
        {"children", childrenJson(state.childProfiles(), state.deviceBindings())},
        {"devices", devicesJson(state)},
        {"attention", attention},
        {"lastScanAt", instantJson(state.lastScanAt())},
        {"lastInspectedCount", state.lastInspectedCount()},
        {"lastCandidateCount", state.lastCandidateCount()},
        {"totalAlertsCreated", state.totalAlertsCreated()},
    };
}

} // namespace quorva::cli
