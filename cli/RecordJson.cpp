#include "RecordJson.h"

#include "model/Iso8601.h"

namespace quorva::cli {

nlohmann::json instantJson(const std::optional<Instant>& instant)
{
    return instant ? nlohmann::json(formatInternetDateTime(*instant)) : nlohmann::json(nullptr);
}

namespace {
template <typename T> nlohmann::json optionalJson(const std::optional<T>& value)
{
    return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}
} // namespace

nlohmann::json backupJson(const BackupDescriptor& backup)
{
    return {
        {"id", backup.id},
        {"url", backup.url.string()},
        {"deviceName", backup.deviceName},
        {"productType", optionalJson(backup.productType)},
        {"lastBackupAt", instantJson(backup.lastBackupAt)},
        {"isEncrypted", backup.isEncrypted},
    };
}

nlohmann::json candidateJson(const ScannedMessage& message)
{
    return {
        {"id", message.id},
        {"text", message.text},
        {"senderName", optionalJson(message.senderName)},
        {"capturedAt", formatInternetDateTime(message.capturedAt)},
        {"reasons", message.reasons},
    };
}

} // namespace quorva::cli
