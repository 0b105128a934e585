#pragma once

#include "stores/Preferences.h"

#include <QString>

#include <filesystem>

namespace quorva {

// Remembers the chosen backup folder across runs as a folder reference in the preferences.
class BackupBookmarkStore {
public:
    explicit BackupBookmarkStore(Preferences preferences,
                                 QString key = QStringLiteral("bridge.backup-bookmark"));

    // Stores a fresh reference. Throws PlatformError when none can be made; the earlier one stays.
    void save(const std::filesystem::path& folder) const;
    // Throws BridgeClientError::backupAccessLost when nothing is stored, PlatformError when the
    // folder cannot be found again. A stale reference is refreshed in place first.
    [[nodiscard]] std::filesystem::path resolve() const;
    // Removes the reference; never fails.
    void clear() const;
    // Whether a folder was chosen, found again or not.
    [[nodiscard]] bool isStored() const;

    [[nodiscard]] const QString& key() const { return m_key; }

private:
    Preferences m_preferences;
    QString m_key;
};

} // namespace quorva
