#pragma once

#include <QString>

#include <filesystem>

namespace quorva {

// Remembers the chosen backup folder across runs as a folder reference in the preferences.
class BackupBookmarkStore {
public:
    explicit BackupBookmarkStore(QString key = QStringLiteral("bridge.backup-bookmark"));

    // Stores a fresh reference. Throws PlatformError when none can be made; the earlier one stays.
    void save(const std::filesystem::path& folder) const;
    // Throws BridgeClientError::backupAccessLost when nothing is stored, PlatformError when the
    // folder cannot be found again. A stale reference is refreshed in place first.
    [[nodiscard]] std::filesystem::path resolve() const;
    // Removes the reference; never fails.
    void clear() const;

    [[nodiscard]] const QString& key() const { return m_key; }

private:
    QString m_key;
};

} // namespace quorva
