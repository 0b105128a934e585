#pragma once

#include "SampleBackup.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quorva::samples {

inline constexpr std::string_view kMessagesDomain = "HomeDomain";
inline constexpr std::string_view kMessagesPath = "Library/SMS/sms.db";

// One row of the manifest's Files table: a file (flags 1) or a folder (flags 2) on the device.
struct ManifestEntry {
    std::string domain;
    std::string relativePath;
    int flags = 1;
    uint64_t size = 0;
};

// The name a backup gives a device file: SHA-1 hex of domain, "-", relative path.
[[nodiscard]] std::string backupFileID(std::string_view domain, std::string_view relativePath);

// Writes Manifest.db listing `entries`; `modified` dates their metadata.
void writeManifestDatabase(const std::filesystem::path& file, const std::vector<ManifestEntry>& entries,
                           Instant modified);

// Writes the Messages database holding `messages`, in rollback or write-ahead-log journal mode.
void writeMessagesDatabase(const std::filesystem::path& file, const std::vector<SampleMessage>& messages,
                           bool walMode);

} // namespace quorva::samples
