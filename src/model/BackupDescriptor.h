#pragma once

#include "model/Hashing.h"
#include "model/Instant.h"

#include <filesystem>
#include <optional>
#include <string>

namespace quorva {

// One iPhone backup folder on this computer, as discovery describes it.
struct BackupDescriptor {
    std::string id;            // the device's identifier, stable across its backups
    std::filesystem::path url; // the backup folder itself
    std::string deviceName;
    std::optional<std::string> productType;
    std::optional<Instant> lastBackupAt;
    bool isEncrypted = false;
    // The backup tool is rewriting this backup in place: its databases may be half written.
    bool isBeingWritten = false;

    friend bool operator==(const BackupDescriptor&, const BackupDescriptor&) = default;
};

// The backup's state as the CLI's JSON and the window's model name it.
// Whether the backup is older than two days at `now`: the parent is told there is nothing newer.
[[nodiscard]] inline bool isOld(const BackupDescriptor& backup, Instant now)
{
    constexpr double oldAfterSeconds = 2 * 24 * 3600.0;
    return backup.lastBackupAt && now.unixSeconds - backup.lastBackupAt->unixSeconds > oldAfterSeconds;
}

[[nodiscard]] inline const char* stateName(const BackupDescriptor& backup)
{
    return backup.isEncrypted ? "encrypted" : backup.isBeingWritten ? "being written" : "finished";
}

} // namespace quorva

template <> struct std::hash<quorva::BackupDescriptor> {
    std::size_t operator()(const quorva::BackupDescriptor& d) const noexcept
    {
        std::size_t seed = 0;
        quorva::hashCombine(seed, d.id);
        quorva::hashCombine(seed, d.url.native());
        quorva::hashCombine(seed, d.deviceName);
        quorva::hashCombine(seed, d.productType);
        quorva::hashCombine(seed, d.lastBackupAt);
        quorva::hashCombine(seed, d.isEncrypted);
        quorva::hashCombine(seed, d.isBeingWritten);
        return seed;
    }
};
