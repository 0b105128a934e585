#pragma once

#include "backup/MessagesReader.h"
#include "classifier/LocalRiskClassifier.h"
#include "model/BackupDescriptor.h"
#include "model/BackupScanResult.h"
#include "model/Instant.h"

#include <filesystem>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace quorva {

// Each device's newest finished backup, or its newest when none is finished; newest first.
[[nodiscard]] std::vector<BackupDescriptor> newestPerDevice(const std::vector<BackupDescriptor>& backups);

// Finds the backups in a chosen folder and turns the newest one's recent incoming
// messages into candidates. A plain value: it keeps nothing between calls.
class IPhoneBackupScanner {
public:
    explicit IPhoneBackupScanner(LocalRiskClassifier classifier = LocalRiskClassifier(),
                                 ReadDeadlines deadlines = {});

    // Newest first, never empty. Throws BridgeClientError::noBackupFound, or PlatformError
    // when the folder cannot be listed.
    [[nodiscard]] std::vector<BackupDescriptor> backups(const std::filesystem::path& folder) const;
    // Never fails: every missing or unreadable piece falls back.
    [[nodiscard]] BackupDescriptor describeBackup(const std::filesystem::path& backupFolder) const;
    // Reads the backup read-only. Throws BridgeClientError (encryptedBackup,
    // messagesDatabaseMissing, database: also when a read passes its deadline or `stop` is requested).
    [[nodiscard]] BackupScanResult scan(const BackupDescriptor& backup, Instant startedAt,
                                        std::stop_token stop = {}) const;
    // What changes whenever the backup's messages may have changed: its date, and the size and
    // modification time of its manifest and Messages database. Nothing when a piece is missing.
    [[nodiscard]] std::optional<std::string> fingerprint(const BackupDescriptor& backup,
                                                         std::stop_token stop = {}) const;

    [[nodiscard]] const LocalRiskClassifier& classifier() const { return m_classifier; }

private:
    // What the folder's own property lists say; `fallbackId` when they name no device.
    [[nodiscard]] BackupDescriptor describeFolder(const std::filesystem::path& backupFolder,
                                                  const std::string& fallbackId) const;

    LocalRiskClassifier m_classifier;
    ReadDeadlines m_deadlines;
};

} // namespace quorva
