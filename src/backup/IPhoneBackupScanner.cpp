// The scan: the newest incoming messages of a backup, classified, with stable identifiers.
#include "backup/IPhoneBackupScanner.h"

#include "backup/MessagesReader.h"
#include "backup/ScanWindow.h"
#include "backup/Sha256.h"
#include "backup/UnicodeText.h"
#include "model/BridgeClientError.h"

#include <string>

namespace quorva {
namespace {

constexpr int kLookBackDays = 14;
constexpr int64_t kRowLimit = 5000;
constexpr std::size_t kTextCut = 4000;

// Stable across scans of the same device: the backup's id, the row number and the full text.
std::string messageIdentifier(const std::string& backupID, const MessageRow& row)
{
    std::string key;
    key.reserve(backupID.size() + row.text.size() + 24);
    key.append(backupID).append("|").append(std::to_string(row.rowID)).append("|").append(row.text);
    return sha256Hex(key);
}

} // namespace

BackupScanResult IPhoneBackupScanner::scan(const BackupDescriptor& backup, Instant startedAt,
                                           std::stop_token stop) const
{
    const Instant since = calendarDaysBefore(startedAt, kLookBackDays);
    if (backup.isEncrypted)
        throw BridgeClientError::encryptedBackup();
    const auto database = MessagesReader::messagesDatabaseURL(backup.url, {m_deadlines.manifest, stop});
    std::vector<MessageRow> rows =
        MessagesReader::readMessages(database, since, kRowLimit, {m_deadlines.messages, std::move(stop)});

    BackupScanResult result;
    result.backup = backup;
    result.inspectedCount = static_cast<int64_t>(rows.size());
    for (MessageRow& row : rows) {
        std::vector<std::string> reasons = m_classifier.classify(row.text);
        if (reasons.empty())
            continue;
        ScannedMessage& candidate = result.candidates.emplace_back();
        candidate.id = messageIdentifier(backup.id, row);
        candidate.text.assign(unicode::graphemePrefix(row.text, kTextCut));
        candidate.senderName = std::move(row.sender);
        candidate.capturedAt = row.date;
        candidate.reasons = std::move(reasons);
    }
    return result;
}

} // namespace quorva
