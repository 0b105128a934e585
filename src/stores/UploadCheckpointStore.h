#pragma once

#include "model/ScannedMessage.h"

#include <QString>

#include <string>
#include <vector>

namespace quorva {

// The identifiers of messages the service has accepted, oldest first, at most maximumCount.
class UploadCheckpointStore {
public:
    explicit UploadCheckpointStore(QString key = QStringLiteral("bridge.uploaded-message-ids"),
                                   int maximumCount = 5000);

    [[nodiscard]] bool contains(const std::string& id) const; // reads the preferences each call
    // Appends the new ones and trims the oldest. Throws PlatformError when the list cannot be written.
    void record(const std::vector<std::string>& ids) const;
    // Removes the list; never fails.
    void clear() const;
    // The stored identifiers, oldest first.
    [[nodiscard]] std::vector<std::string> identifiers() const;

    // The candidates whose identifiers are not stored, order kept; the list is read once.
    [[nodiscard]] std::vector<ScannedMessage>
    notYetRecorded(const std::vector<ScannedMessage>& candidates) const;

    [[nodiscard]] const QString& key() const { return m_key; }
    [[nodiscard]] int maximumCount() const { return m_maximumCount; }

private:
    QString m_key;
    int m_maximumCount;
};

} // namespace quorva
