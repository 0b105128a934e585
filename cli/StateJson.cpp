#include "StateJson.h"

#include "devices/DeviceBackups.h"

#include "RecordJson.h"
#include "state/BridgeAppState.h"

#include <algorithm>

namespace quorva::cli {

namespace {

// The stage and its figures: a script acts on codes, and the reader's sentences are the window's.
nlohmann::json activityJson(const DeviceActivity& activity)
{
    using S = DeviceActivity::Stage;
    switch (activity.stage) {
    case S::none:
        return nullptr;
    case S::notAnswering:
        return {{"stage", "notAnswering"}};
    case S::waitingForPasscode:
        return {{"stage", "waitingForPasscode"}};
    case S::copying:
        return {{"stage", "copying"}, {"percent", activity.percent}};
    case S::finished:
        return {{"stage", "finished"}};
    case S::failed: {
        nlohmann::json failed{{"stage", "failed"},
                              {"result", DeviceActivity::resultName(activity.result).toStdString()}};
        if (activity.exitStatus && activity.result == BackupRunOutcome::Result::failed)
            failed["exitStatus"] = *activity.exitStatus;
        return failed;
    }
    case S::refused:
        return {{"stage", "refused"},
                {"reason", DeviceActivity::refusalName(activity.refusal).toStdString()}};
    case S::trust: {
        nlohmann::json trust{{"stage", "trust"},
                             {"result", DeviceActivity::trustName(activity.trust).toStdString()}};
        if (activity.trust == TrustOutcome::Result::trusted)
            trust["encryptsBackups"] = activity.willEncrypt;
        return trust;
    }
    }
    return nullptr;
}

} // namespace

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
        const DeviceStatus status = state.deviceBackups()
                                        ? state.deviceBackups()->status(QString::fromStdString(device.id))
                                        : DeviceStatus{};
        // How the iPhone is connected to this computer, for a backup made here.
        const char* connection = status.running        ? "backing up"
                                 : status.untrusted    ? "not trusted"
                                 : status.notAnswering ? "not answering"
                                 : status.connected    ? "connected"
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
            {"activity", activityJson(status.activity)},
        });
    }
    return list;
}

nlohmann::json stateJson(const BridgeAppState& state)
{
    const Phase phase = state.phase();
    const bool failed = phase.kind() == Phase::Kind::failed;
    nlohmann::json attention = nlohmann::json::array();
    for (const Notice& notice : state.overview().notices)
        attention.push_back(texts::noticeText(notice).toStdString());
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
