#pragma once

#include "backup/SqliteReadOnly.h"
#include "model/Instant.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorva {

// How long a scan's reads of a backup's databases may run before they are given up.
struct ReadDeadlines {
    std::chrono::milliseconds messages{std::chrono::seconds(20)};
    std::chrono::milliseconds manifest{std::chrono::seconds(5)};
};

// One incoming message as read from the Messages database; private to the scanner.
struct MessageRow {
    int64_t rowID = 0;
    std::string text; // trimmed of white space and line breaks; never empty
    Instant date;
    std::optional<std::string> sender; // the handle's id; absent without one

    friend bool operator==(const MessageRow&, const MessageRow&) = default;
};

// What one read of the Messages database yields.
struct RecentMessages {
    std::vector<MessageRow> rows; // newest first
    int64_t laterCount = 0;       // incoming rows dated after the window's end, left unread
};

// Locates and reads the Messages database of a backup. Stateless; each call opens its own
// read-only snapshot connection and closes it before returning, so the backup is never touched.
class MessagesReader {
public:
    // Where the Messages database file of the backup folder is, with links resolved; a file that
    // resolves outside the folder counts as absent, and so does one named by a manifest whose
    // file list is not a stored table. Throws BridgeClientError::database (also when the lookup
    // passes its bounds) or ::messagesDatabaseMissing.
    [[nodiscard]] static std::filesystem::path messagesDatabaseURL(const std::filesystem::path& backupFolder,
                                                                   sqlite::ReadBounds bounds = {
                                                                       ReadDeadlines{}.manifest, {}});

    // Up to `limit` (clamped into 1 ... 25000) newest incoming messages with usable text dated
    // from `since` to `until`; newest first. Rows dated after `until` take no part of the limit;
    // they are only counted. Throws BridgeClientError::messagesDatabaseMissing when its messages
    // or handles are not stored tables, ::database when the read passes its bounds or the
    // database turns out to be damaged part-way through.
    [[nodiscard]] static RecentMessages
    readMessages(const std::filesystem::path& database, Instant since, Instant until, int64_t limit,
                 sqlite::ReadBounds bounds = {ReadDeadlines{}.messages, {}});

    // The text kept in an attributed body blob (m.attributedBody), or nothing.
    [[nodiscard]] static std::optional<std::string> attributedBodyText(std::string_view blob);

    // A stored m.date: seconds since 2001 up to 10000000000, nanoseconds above.
    [[nodiscard]] static Instant messageDate(int64_t stored);

    static constexpr int64_t kMaximumLimit = 25000;
};

} // namespace quorva
