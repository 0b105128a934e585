#include "BackupFiles.h"
#include "SqliteWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>

namespace quorva::samples {
namespace {

// A trimmed-down copy of the device schema: every column a reader might touch, with the
// device's defaults, so NULLs appear only where a test puts them.
constexpr std::string_view kSchema = R"sql(
CREATE TABLE _SqliteDatabaseProperties (key TEXT, value TEXT, UNIQUE(key));
CREATE TABLE handle (ROWID INTEGER PRIMARY KEY AUTOINCREMENT UNIQUE, id TEXT NOT NULL, country TEXT,
  service TEXT NOT NULL, uncanonicalized_id TEXT, person_centric_id TEXT, UNIQUE (id, service));
CREATE TABLE message (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT UNIQUE NOT NULL, text TEXT,
  replace INTEGER DEFAULT 0, service_center TEXT, handle_id INTEGER DEFAULT 0, subject TEXT, country TEXT,
  attributedBody BLOB, version INTEGER DEFAULT 0, type INTEGER DEFAULT 0, service TEXT, account TEXT,
  account_guid TEXT, error INTEGER DEFAULT 0, date INTEGER, date_read INTEGER, date_delivered INTEGER,
  is_delivered INTEGER DEFAULT 0, is_finished INTEGER DEFAULT 0, is_emote INTEGER DEFAULT 0,
  is_from_me INTEGER DEFAULT 0, is_empty INTEGER DEFAULT 0, is_delayed INTEGER DEFAULT 0,
  is_auto_reply INTEGER DEFAULT 0, is_prepared INTEGER DEFAULT 0, is_read INTEGER DEFAULT 0,
  is_system_message INTEGER DEFAULT 0, is_sent INTEGER DEFAULT 0, has_dd_results INTEGER DEFAULT 0,
  cache_has_attachments INTEGER DEFAULT 0, cache_roomnames TEXT, was_data_detected INTEGER DEFAULT 0,
  was_deduplicated INTEGER DEFAULT 0, is_archive INTEGER DEFAULT 0, item_type INTEGER DEFAULT 0,
  other_handle INTEGER DEFAULT 0, group_title TEXT, group_action_type INTEGER DEFAULT 0,
  share_status INTEGER DEFAULT 0, share_direction INTEGER DEFAULT 0, expressive_send_style_id TEXT,
  associated_message_guid TEXT, associated_message_type INTEGER DEFAULT 0, balloon_bundle_id TEXT,
  payload_data BLOB, message_summary_info BLOB, reply_to_guid TEXT, thread_originator_guid TEXT,
  date_edited INTEGER DEFAULT 0, date_retracted INTEGER DEFAULT 0, part_count INTEGER);
CREATE TABLE chat (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT UNIQUE NOT NULL, style INTEGER,
  state INTEGER, account_id TEXT, properties BLOB, chat_identifier TEXT, service_name TEXT, room_name TEXT,
  account_login TEXT, is_archived INTEGER DEFAULT 0, last_read_message_timestamp INTEGER DEFAULT 0,
  display_name TEXT, group_id TEXT);
CREATE TABLE chat_handle_join (chat_id INTEGER REFERENCES chat (ROWID) ON DELETE CASCADE,
  handle_id INTEGER REFERENCES handle (ROWID) ON DELETE CASCADE, UNIQUE(chat_id, handle_id));
CREATE TABLE chat_message_join (chat_id INTEGER REFERENCES chat (ROWID) ON DELETE CASCADE,
  message_id INTEGER REFERENCES message (ROWID) ON DELETE CASCADE, message_date INTEGER DEFAULT 0,
  PRIMARY KEY (chat_id, message_id));
CREATE TABLE attachment (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT UNIQUE NOT NULL,
  created_date INTEGER DEFAULT 0, filename TEXT, mime_type TEXT, transfer_name TEXT, total_bytes INTEGER DEFAULT 0);
CREATE TABLE message_attachment_join (message_id INTEGER REFERENCES message (ROWID) ON DELETE CASCADE,
  attachment_id INTEGER REFERENCES attachment (ROWID) ON DELETE CASCADE, UNIQUE(message_id, attachment_id));
CREATE TABLE deleted_messages (ROWID INTEGER PRIMARY KEY AUTOINCREMENT UNIQUE, guid TEXT NOT NULL);
INSERT INTO _SqliteDatabaseProperties VALUES ('_ClientVersion', '17000'), ('counter_in_all', '0');
)sql";

// Built after the rows go in: cheaper than maintaining them row by row, same file in the end.
constexpr std::string_view kIndexes = R"sql(
CREATE INDEX message_idx_date ON message(date);
CREATE INDEX message_idx_handle ON message(handle_id, date);
CREATE INDEX message_idx_is_read ON message(is_read, is_from_me, is_finished);
CREATE INDEX chat_message_join_idx_message_date_id_chat_id ON chat_message_join(chat_id, message_date, message_id);
)sql";

int64_t encodeDate(Instant instant, DateEncoding encoding)
{
    const double value = instant.referenceSeconds() * (encoding == DateEncoding::seconds ? 1.0 : 1e9);
    // Far-off test dates saturate instead of overflowing the column.
    constexpr double kLimit = 9.2e18;
    return std::isnan(value) ? 0 : std::llround(std::clamp(value, -kLimit, kLimit));
}

uint64_t splitMix(uint64_t x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// Upper-case UUID text, unique per index (the first 64 bits are a bijection of it).
std::string messageGuid(uint64_t index)
{
    const uint64_t high = splitMix(index);
    const uint64_t low = splitMix(~index);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%08X-%04X-%04X-%04X-%012llX", static_cast<unsigned>(high >> 32),
                  static_cast<unsigned>((high >> 16) & 0xffff), static_cast<unsigned>(high & 0xffff),
                  static_cast<unsigned>(low >> 48), static_cast<unsigned long long>(low & 0xffffffffffffULL));
    return buffer;
}

bool isPhoneNumber(std::string_view id)
{
    return !id.empty() && (id[0] == '+' || (id[0] >= '0' && id[0] <= '9'));
}

class MessagesWriter {
public:
    explicit MessagesWriter(SqliteWriter& db)
        : m_db(db),
          m_handle(
              db, "INSERT INTO handle (id, country, service, uncanonicalized_id) VALUES (?, 'us', 'SMS', ?)"),
          m_chat(db, "INSERT INTO chat (guid, style, state, account_id, chat_identifier, service_name, "
                     "display_name) "
                     "VALUES (?, 45, 3, 'p:0', ?, 'SMS', '')"),
          m_chatHandle(db, "INSERT INTO chat_handle_join (chat_id, handle_id) VALUES (?, ?)"),
          m_message(
              db,
              "INSERT INTO message (ROWID, guid, text, handle_id, attributedBody, service, account, date, "
              "date_read, date_delivered, is_from_me, is_read, is_delivered, is_sent, is_finished, "
              "version, part_count) VALUES (?, ?, ?, ?, ?, 'SMS', 'p:0', ?, ?, ?, ?, ?, ?, ?, 1, 10, 1)"),
          m_chatMessage(db,
                        "INSERT INTO chat_message_join (chat_id, message_id, message_date) VALUES (?, ?, ?)")
    {
    }

    void add(const SampleMessage& message, uint64_t index)
    {
        const int64_t handleID = message.sender ? handleFor(*message.sender) : 0;
        const int64_t date = encodeDate(message.date, message.dateEncoding);
        const bool fromMe = message.isFromMe.value_or(0) != 0;
        // Most incoming messages were read within minutes; every seventh is still unread.
        const bool read = fromMe || index % 7 != 0;
        const int64_t readDate =
            read && !fromMe ? encodeDate(Instant{message.date.unixSeconds + 45.0 + double(index % 600)},
                                         message.dateEncoding)
                            : 0;

        m_message.bindInt(1, message.rowID);
        m_message.bindText(2, messageGuid(index));
        m_message.bindOptionalText(3, message.text);
        m_message.bindInt(4, handleID);
        if (message.rawAttributedBody)
            m_message.bindBlob(5, *message.rawAttributedBody);
        else if (message.attributedText)
            m_message.bindBlob(5, archiveAttributedString(*message.attributedText));
        m_message.bindInt(6, date);
        m_message.bindInt(7, readDate);
        m_message.bindInt(8, fromMe ? date : 0);
        m_message.bindInt(9, message.isFromMe ? std::optional<int64_t>(*message.isFromMe) : std::nullopt);
        m_message.bindInt(10, read ? 1 : 0);
        m_message.bindInt(11, fromMe ? 1 : 0);
        m_message.bindInt(12, fromMe ? 1 : 0);
        m_message.run();

        if (handleID != 0) {
            m_chatMessage.bindInt(1, m_chats.at(handleID));
            m_chatMessage.bindInt(2, lastRowID());
            m_chatMessage.bindInt(3, date);
            m_chatMessage.run();
        }
    }

private:
    int64_t handleFor(const std::string& id)
    {
        if (auto it = m_handles.find(id); it != m_handles.end())
            return it->second;
        m_handle.bindText(1, id);
        m_handle.bindOptionalText(2, isPhoneNumber(id) && id.size() > 2 ? std::optional(id.substr(2))
                                                                        : std::nullopt);
        m_handle.run();
        const int64_t handleID = lastRowID();
        m_handles.emplace(id, handleID);

        m_chat.bindText(1, "SMS;-;" + id);
        m_chat.bindText(2, id);
        m_chat.run();
        const int64_t chatID = lastRowID();
        m_chats.emplace(handleID, chatID);
        m_chatHandle.bindInt(1, chatID);
        m_chatHandle.bindInt(2, handleID);
        m_chatHandle.run();
        return handleID;
    }

    [[nodiscard]] int64_t lastRowID() const { return m_db.lastInsertRowID(); }

    SqliteWriter& m_db;
    SqliteStatement m_handle, m_chat, m_chatHandle, m_message, m_chatMessage;
    std::map<std::string, int64_t, std::less<>> m_handles;
    std::map<int64_t, int64_t> m_chats; // handle -> its one-to-one chat
};

} // namespace

void writeMessagesDatabase(const std::filesystem::path& file, const std::vector<SampleMessage>& messages,
                           bool walMode)
{
    {
        SqliteWriter db(file);
        // A generator may skip durability: a crash just means generating again.
        db.execute(walMode ? "PRAGMA journal_mode=WAL; PRAGMA synchronous=OFF;"
                           : "PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF;");
        db.execute(kSchema);
        db.execute("BEGIN;");
        MessagesWriter writer(db);
        uint64_t index = 0;
        for (const SampleMessage& message : messages)
            writer.add(message, index++);
        db.execute(kIndexes);
        db.execute("COMMIT;");
        if (walMode)
            db.execute("PRAGMA wal_checkpoint(TRUNCATE);");
    }
    // Closing the last connection folds the log back and removes it. A leftover would hold rows
    // the main file lacks, so it is an error rather than something to delete.
    if (std::filesystem::exists(file.string() + "-wal") || std::filesystem::exists(file.string() + "-shm"))
        throw std::runtime_error("the write-ahead log of " + file.string() + " was left behind");
}

} // namespace quorva::samples
