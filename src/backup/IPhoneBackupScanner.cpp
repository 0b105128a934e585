// The scan: the newest incoming messages of a backup, classified, with stable identifiers.
#include "backup/IPhoneBackupScanner.h"

#include "backup/BackupFolder.h"
#include "backup/MessagesReader.h"
#include "backup/ScanWindow.h"
#include "backup/Sha256.h"
#include "backup/UnicodeText.h"
#include "classifier/OneTimeCodes.h"
#include "model/BridgeClientError.h"
#include "model/Iso8601.h"

#include <string>

namespace quorva {
namespace {

constexpr int kLookBackDays = 14;
// Messages may be dated a little ahead of this computer's clock (another time zone, a phone's
// clock slightly off); beyond a day the date is wrong, not early.
constexpr double kAheadAllowedSeconds = 24 * 3600.0;
constexpr int64_t kRowLimit = 5000;
constexpr std::size_t kTextCut = 4000;

// Stable across scans of the same device: the backup's id, the row number and the full text as
// it is sent. Not the text as read: from a hash of a text with a short code in it, and the
// masked text, the code could be found by trying every value.
std::string messageIdentifier(const std::string& backupID, int64_t rowID, const std::string& text)
{
    std::string key;
    key.reserve(backupID.size() + text.size() + 24);
    key.append(backupID).append("|").append(std::to_string(rowID)).append("|").append(text);
    return sha256Hex(key);
}

} // namespace

BackupScanResult IPhoneBackupScanner::scan(const BackupDescriptor& backup, Instant startedAt,
                                           std::stop_token stop) const
{
    const Instant since = calendarDaysBefore(startedAt, kLookBackDays);
    if (backup.isEncrypted)
        throw BridgeClientError::encryptedBackup();
    // Its manifest and Messages database may be half replaced: what they say could be anything.
    if (backup.isBeingWritten)
        throw BridgeClientError::backupBeingWritten();
    const auto database = MessagesReader::messagesDatabaseURL(backup.url, {m_deadlines.manifest, stop});
    const Instant until{startedAt.unixSeconds + kAheadAllowedSeconds};
    RecentMessages read = MessagesReader::readMessages(database, since, until, kRowLimit,
                                                       {m_deadlines.messages, std::move(stop)});

    BackupScanResult result;
    result.backup = backup;
    result.inspectedCount = static_cast<int64_t>(read.rows.size());
    result.futureDatedCount = read.laterCount;
    for (MessageRow& row : read.rows) {
        std::vector<std::string> reasons = m_classifier.classify(row.text);
        if (reasons.empty())
            continue;
        // Classified as read, so a code in it changes nothing; sent without the code.
        const std::string sent = maskOneTimeCodes(row.text);
        ScannedMessage& candidate = result.candidates.emplace_back();
        candidate.id = messageIdentifier(backup.id, row.rowID, sent);
        candidate.text.assign(unicode::graphemePrefix(sent, kTextCut));
        candidate.senderName = std::move(row.sender);
        candidate.capturedAt = row.date;
        candidate.reasons = std::move(reasons);
    }
    return result;
}

std::optional<std::string> IPhoneBackupScanner::fingerprint(const BackupDescriptor& backup,
                                                            std::stop_token stop) const
{
    const auto stamp = [](const std::filesystem::path& file) -> std::optional<std::string> {
        std::error_code error;
        const auto size = std::filesystem::file_size(file, error);
        if (error)
            return std::nullopt;
        const auto written = std::filesystem::last_write_time(file, error);
        if (error)
            return std::nullopt;
        return std::to_string(size) + "@" + std::to_string(written.time_since_epoch().count());
    };
    if (backup.isEncrypted || backup.isBeingWritten || !backup.lastBackupAt)
        return std::nullopt;
    try {
        const auto manifest = BackupFolder(backup.url).file("Manifest.db");
        if (!manifest)
            return std::nullopt;
        const auto database =
            MessagesReader::messagesDatabaseURL(backup.url, {m_deadlines.manifest, std::move(stop)});
        const auto manifestStamp = stamp(*manifest);
        const auto databaseStamp = stamp(database);
        if (!manifestStamp || !databaseStamp)
            return std::nullopt;
        return formatInternetDateTime(*backup.lastBackupAt) + "|" + *manifestStamp + "|" + *databaseStamp;
    } catch (const std::exception&) {
        return std::nullopt; // the scan that follows says what is wrong
    }
}

} // namespace quorva
