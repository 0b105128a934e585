#pragma once

#include "model/ScannedMessage.h"
#include "stores/Preferences.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace quorva {

// The identifiers of messages the service has accepted, oldest first, at most maximumCount.
class UploadCheckpointStore {
public:
    explicit UploadCheckpointStore(Preferences preferences,
                                   QString key = QStringLiteral("bridge.uploaded-message-ids"),
                                   int maximumCount = 5000);

    // The list of one device, under a key of its own beside this one. What this list recorded
    // before lists were kept per device still counts as recorded: identifiers never repeat
    // between devices, so nothing is sent twice.
    [[nodiscard]] UploadCheckpointStore forDevice(const std::string& deviceId) const;

    [[nodiscard]] bool contains(const std::string& id) const; // reads the preferences each call
    // Appends the new ones and trims the oldest, sparing those of the candidates still in
    // `window` (the scan's) while any others can go. Throws PlatformError when the list cannot
    // be written.
    void record(const std::vector<std::string>& ids, const std::vector<ScannedMessage>& window = {}) const;
    // Removes the list, and those of every device; never fails.
    void clear() const;
    // The stored identifiers, oldest first.
    [[nodiscard]] std::vector<std::string> identifiers() const;

    // The candidates whose identifiers are not stored, order kept; the list is read once.
    [[nodiscard]] std::vector<ScannedMessage>
    notYetRecorded(const std::vector<ScannedMessage>& candidates) const;

    // A device's list also remembers the backup it last read in full with everything found
    // accepted, by a fingerprint: while it is unchanged, that backup has nothing new to send.
    // Kept with the list, so that whatever forgets the list forgets this too.
    [[nodiscard]] std::optional<std::string> completedBackup() const;
    // Throws PlatformError when it cannot be written.
    void recordCompletedBackup(const std::string& fingerprint) const;

    [[nodiscard]] const QString& key() const { return m_key; }
    [[nodiscard]] int maximumCount() const { return m_maximumCount; }

private:
    [[nodiscard]] QStringList listUnder(const QString& key) const;

    Preferences m_preferences;
    QString m_key;
    int m_maximumCount;
    QString m_earlierKey; // empty for the shared list
};

} // namespace quorva
