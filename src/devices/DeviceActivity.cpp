#include "devices/DeviceActivity.h"

namespace quorva {

DeviceActivity DeviceActivity::ended(QString deviceName, const BackupRunOutcome& outcome)
{
    using R = BackupRunOutcome::Result;
    if (outcome.result == R::cancelled)
        return {}; // the parent's own doing: nothing to tell
    if (outcome.result == R::finished)
        return {.stage = Stage::finished, .deviceName = std::move(deviceName), .percent = outcome.percent};
    return {.stage = Stage::failed,
            .deviceName = std::move(deviceName),
            .percent = outcome.percent,
            .result = outcome.result,
            .exitStatus = outcome.exitStatus};
}

DeviceActivity DeviceActivity::asked(QString deviceName, const TrustOutcome& outcome)
{
    return {.stage = Stage::trust,
            .deviceName = std::move(deviceName),
            .trust = outcome.result,
            .willEncrypt =
                outcome.result == TrustOutcome::Result::trusted && outcome.willEncrypt.value_or(false)};
}

} // namespace quorva
