#include "backup/MessagesReader.h"

#include "backup/BackupFolder.h"
#include "backup/SqliteReadOnly.h"
#include "backup/TypedStream.h"
#include "backup/UnicodeText.h"
#include "model/BridgeClientError.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <string>
#include <system_error>

namespace quorva {
namespace {

constexpr std::string_view kManifestQuery =
    "SELECT fileID FROM Files WHERE domain = 'HomeDomain' AND relativePath = 'Library/SMS/sms.db' LIMIT 1";

// Rows of the message table that hold no words of the other person: a reaction and its removal
// quote the message reacted to (often the child's own), a non-zero item type is a group event, and
// an unsent message was taken back. Older device versions lack some of these columns.
struct RowFilter {
    std::string_view column;
    std::string_view condition;
};
constexpr RowFilter kRowFilters[] = {{"associated_message_type",
                                      "COALESCE(m.associated_message_type, 0) NOT BETWEEN 2000 AND 2007 AND "
                                      "COALESCE(m.associated_message_type, 0) NOT BETWEEN 3000 AND 3007"},
                                     {"item_type", "COALESCE(m.item_type, 0) = 0"},
                                     {"date_retracted", "COALESCE(m.date_retracted, 0) = 0"}};

bool sameName(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// A stored date no later than the window's end, ?2 in seconds and ?3 in nanoseconds (see
// messageDate). A device whose clock ran ahead leaves rows dated years on: they would sort first
// and take the newest rows' places under the LIMIT, so they are held back in the query itself.
constexpr std::string_view kNotAfterEnd = "(m.date <= ?2 OR (m.date > 10000000000 AND m.date <= ?3))";

// The filters go into WHERE, ahead of the LIMIT, so that a flood of reactions cannot push the
// texts before it out of the newest rows read.
std::string incomingCondition(const sqlite::Connection& connection)
{
    std::string query = "COALESCE(m.is_from_me, 0) = 0";
    bool present[std::size(kRowFilters)] = {};
    sqlite::Statement columns(connection, "PRAGMA table_info(message)");
    while (columns.step()) {
        for (std::size_t i = 0; i < std::size(kRowFilters); ++i)
            present[i] = present[i] || sameName(columns.text(1), kRowFilters[i].column);
    }
    for (std::size_t i = 0; i < std::size(kRowFilters); ++i) {
        if (present[i])
            query.append("\n  AND ").append(kRowFilters[i].condition);
    }
    return query;
}

// The window's end as the two stored forms of a date compare with it.
void bindEnd(sqlite::Statement& statement, Instant until)
{
    const double seconds = std::floor(until.referenceSeconds());
    const auto clamped = [](double value) {
        constexpr double highest = 9.2e18; // below the largest 64-bit integer, beyond every real date
        return static_cast<int64_t>(std::clamp(value, -highest, highest));
    };
    statement.bindInt64(2, clamped(std::min(seconds, 10'000'000'000.0)));
    statement.bindInt64(3, clamped(std::floor(until.referenceSeconds() * 1e9)));
}

enum Column { rowIdColumn = 0, textColumn = 1, attributedBodyColumn = 2, dateColumn = 3, senderColumn = 5 };

// The pieces of the blob between zero bytes that look like human text; the longest wins.
std::optional<std::string> longestTextPiece(std::string_view blob)
{
    std::string_view best;
    std::size_t bestLength = 0;
    std::size_t start = 0;
    while (start < blob.size()) {
        std::size_t end = blob.find('\0', start);
        if (end == std::string_view::npos)
            end = blob.size();
        const std::string_view piece = blob.substr(start, end - start);
        start = end + 1;
        if (piece.empty() || !unicode::isValidUtf8(piece))
            continue;
        const std::string_view trimmed =
            unicode::trim(piece, unicode::TrimSet::controlsWhitespaceAndNewlines);
        if (trimmed.size() < 4 || trimmed.starts_with("NS") || !unicode::containsLetter(trimmed))
            continue;
        const std::size_t length = unicode::graphemeCount(trimmed);
        if (length >= 4 && length > bestLength) {
            best = trimmed;
            bestLength = length;
        }
    }
    if (bestLength == 0)
        return std::nullopt;
    return std::string(best);
}

} // namespace

std::filesystem::path MessagesReader::messagesDatabaseURL(const std::filesystem::path& backupFolder,
                                                          sqlite::ReadBounds bounds)
{
    // Only regular files inside the backup are read: a folder is no database, a pipe would block,
    // and a link out of the backup could lead to another device's messages.
    const BackupFolder backup(backupFolder);
    const auto manifest = backup.file("Manifest.db");
    if (!manifest)
        throw BridgeClientError::database("unable to open database file"); // as SQLite words it
    const auto connection = sqlite::Connection::openReadOnly(*manifest, std::move(bounds));
    if (connection.computesWhenRead("Files", {"fileID", "domain", "relativePath"}))
        throw BridgeClientError::messagesDatabaseMissing();
    sqlite::Statement statement(connection, kManifestQuery);
    if (!statement.step() || statement.isNull(0))
        throw BridgeClientError::messagesDatabaseMissing();
    const std::string fileID = unicode::decodeUtf8Lossy(statement.text(0));
    // A real identifier is forty hexadecimal digits; one that could leave the folder is refused.
    const bool unsafe = fileID.empty() || fileID == "." || fileID.starts_with("..") ||
                        fileID.find_first_of(std::string_view("/\0", 2)) != std::string::npos;
    if (unsafe)
        throw BridgeClientError::messagesDatabaseMissing();
    const std::string prefix(unicode::graphemePrefix(fileID, 2));
    if (auto hashed = backup.file(std::filesystem::path(prefix) / fileID))
        return *std::move(hashed);
    if (auto flat = backup.file(fileID))
        return *std::move(flat);
    throw BridgeClientError::messagesDatabaseMissing();
}

RecentMessages MessagesReader::readMessages(const std::filesystem::path& database, Instant since,
                                            Instant until, int64_t limit, sqlite::ReadBounds bounds)
{
    const auto connection = sqlite::Connection::openReadOnly(database, std::move(bounds));
    // The filter columns are named whether or not the table has them: a generated one is hidden
    // from table_info, so only this check sees it, and filtering on it would run its expression.
    if (connection.computesWhenRead("message",
                                    {"ROWID", "text", "attributedBody", "date", "is_from_me", "handle_id",
                                     "associated_message_type", "item_type", "date_retracted"}) ||
        connection.computesWhenRead("handle", {"ROWID", "id"}))
        throw BridgeClientError::messagesDatabaseMissing();
    const std::string incoming = incomingCondition(connection);
    sqlite::Statement statement(
        connection, "SELECT m.ROWID, m.text, m.attributedBody, m.date, COALESCE(m.is_from_me, 0), h.id\n"
                    "FROM message m\n"
                    "LEFT JOIN handle h ON h.ROWID = m.handle_id\n"
                    "WHERE " +
                        incoming + "\n  AND " + std::string(kNotAfterEnd) +
                        "\nORDER BY m.date DESC\nLIMIT ?1");
    statement.bindInt(1, static_cast<int>(std::clamp<int64_t>(limit, 1, kMaximumLimit)));
    bindEnd(statement, until);

    RecentMessages read;
    std::vector<MessageRow>& rows = read.rows;
    std::string decoded;
    while (statement.step()) {
        // The date is tested first only because it is cheap; either test alone skips the row.
        const Instant date = messageDate(statement.int64(dateColumn));
        if (date < since || date > until)
            continue;
        std::string_view raw;
        std::optional<std::string> recovered;
        if (!statement.isNull(textColumn)) {
            raw = statement.text(textColumn);
            if (!unicode::isValidUtf8(raw)) {
                decoded = unicode::decodeUtf8Lossy(raw);
                raw = decoded;
            }
        } else {
            if (statement.isBlob(attributedBodyColumn))
                recovered = attributedBodyText(statement.blob(attributedBodyColumn));
            if (!recovered)
                continue;
            raw = *recovered;
        }
        const std::string_view text = unicode::trim(raw);
        if (text.empty())
            continue;
        MessageRow& row = rows.emplace_back();
        row.rowID = statement.int64(rowIdColumn);
        row.text.assign(text);
        row.date = date;
        if (!statement.isNull(senderColumn))
            row.sender = unicode::decodeUtf8Lossy(statement.text(senderColumn));
    }

    sqlite::Statement later(connection, "SELECT COUNT(*) FROM message m\nWHERE " + incoming +
                                            "\n  AND typeof(m.date) IN ('integer', 'real') AND NOT " +
                                            std::string(kNotAfterEnd));
    bindEnd(later, until);
    if (later.step())
        read.laterCount = later.int64(0);
    return read;
}

std::optional<std::string> MessagesReader::attributedBodyText(std::string_view blob)
{
    if (blob.empty())
        return std::nullopt;
    if (auto piece = longestTextPiece(blob))
        return piece;
    // The text sits between bytes that are not UTF-8, so the pieces above miss it; read the
    // archive's own string instead.
    if (const auto archived = firstArchivedString(blob))
        return unicode::decodeUtf8Lossy(*archived);
    return std::nullopt;
}

Instant MessagesReader::messageDate(int64_t stored)
{
    const double seconds = stored <= 10'000'000'000 ? static_cast<double>(stored)
                                                    : static_cast<double>(stored) / 1'000'000'000.0;
    return Instant::fromReferenceSeconds(seconds);
}

} // namespace quorva
