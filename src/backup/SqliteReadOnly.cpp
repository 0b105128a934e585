#include "backup/SqliteReadOnly.h"

#include "model/BridgeClientError.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <mutex>
#include <utility>

namespace quorva::sqlite {

struct Connection::Watch {
    std::chrono::steady_clock::time_point endsAt;
    std::stop_token stop;
    const char* endedBy = nullptr;

    // SQLite asks every few thousand steps of a statement; non-zero interrupts it.
    static int check(void* context)
    {
        auto* watch = static_cast<Watch*>(context);
        if (watch->stop.stop_requested())
            watch->endedBy = kStopped;
        else if (std::chrono::steady_clock::now() >= watch->endsAt)
            watch->endedBy = kTookTooLong;
        return watch->endedBy != nullptr ? 1 : 0;
    }
};

namespace {

constexpr int kStepsBetweenChecks = 1000;
constexpr int kPageCacheKibibytes = 8 * 1024;

std::string messageOf(sqlite3* db)
{
    const char* message = db != nullptr ? sqlite3_errmsg(db) : nullptr;
    if (message == nullptr || *message == '\0')
        return "unknown database error";
    return message;
}

} // namespace

std::string immutableUri(const std::filesystem::path& file)
{
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(file, error);
    if (error)
        absolute = file;
    static constexpr char hex[] = "0123456789ABCDEF";
    // "file://" and an empty authority, so that a path starting with "//" stays a path.
    std::string uri = "file://";
    for (const char c : absolute.native()) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                           byte == '~' || byte == '/';
        if (plain) {
            uri += c;
        } else {
            uri += '%';
            uri += hex[byte >> 4];
            uri += hex[byte & 0x0F];
        }
    }
    uri += "?mode=ro&immutable=1";
    return uri;
}

Connection Connection::openReadOnly(const std::filesystem::path& file, ReadBounds bounds)
{
    static std::once_flag heapCeiling;
    std::call_once(heapCeiling, [] {
        const int64_t current = sqlite3_hard_heap_limit64(-1);
        if (current == 0 || current > kHeapCeiling)
            sqlite3_hard_heap_limit64(kHeapCeiling);
    });
    auto watch = std::make_unique<Watch>();
    watch->endsAt = std::chrono::steady_clock::now() + bounds.deadline;
    watch->stop = std::move(bounds.stop);

    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(immutableUri(file).c_str(), &db,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    Connection connection(db, std::move(watch)); // a failed open still hands back a handle to close
    if (rc != SQLITE_OK)
        throw BridgeClientError::database(connection.errorMessage());
    sqlite3_progress_handler(db, kStepsBetweenChecks, &Watch::check, connection.m_watch.get());
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kLargestValue);
    // Sorts and temporary tables stay in memory, under the heap ceiling, instead of on disk.
    const std::string pragmas =
        "PRAGMA temp_store = MEMORY; PRAGMA cache_size = -" + std::to_string(kPageCacheKibibytes) + ";";
    if (sqlite3_exec(db, pragmas.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw BridgeClientError::database(connection.errorMessage());
    return connection;
}

Connection::Connection(sqlite3* db, std::unique_ptr<Watch> watch) : m_db(db), m_watch(std::move(watch)) {}

Connection::Connection(Connection&& other) noexcept
    : m_db(std::exchange(other.m_db, nullptr)), m_watch(std::move(other.m_watch))
{
}

Connection::~Connection()
{
    sqlite3_close(m_db);
}

std::string Connection::errorMessage() const
{
    if (const char* reason = endedBy())
        return reason;
    return messageOf(m_db);
}

const char* Connection::endedBy() const
{
    return m_watch ? m_watch->endedBy : nullptr;
}

bool Connection::computesWhenRead(std::string_view name,
                                  std::initializer_list<std::string_view> columns) const
{
    Statement object(*this, "SELECT type, sql FROM sqlite_master WHERE name = ? COLLATE NOCASE");
    object.bindText(1, name);
    if (!object.step())
        return false;
    std::string sql(object.text(1));
    for (char& c : sql)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (object.text(0) != "table" || sql.starts_with("CREATE VIRTUAL") || object.step())
        return true;

    // hidden: 0 an ordinary column, 1 a virtual table's hidden one, 2 and 3 generated.
    Statement column(*this, "SELECT name, hidden FROM pragma_table_xinfo(?)");
    column.bindText(1, name);
    const auto sameName = [](std::string_view a, std::string_view b) {
        return std::ranges::equal(a, b, [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
        });
    };
    while (column.step()) {
        const std::string_view columnName = column.text(0);
        const bool read = std::ranges::any_of(
            columns, [&](std::string_view wanted) { return sameName(wanted, columnName); });
        if (read && column.int64(1) != 0)
            return true;
    }
    return false;
}

Statement::Statement(const Connection& connection, std::string_view sql) : m_connection(connection)
{
    const int rc = sqlite3_prepare_v2(connection.handle(), sql.data(), static_cast<int>(sql.size()),
                                      &m_statement, nullptr);
    if (rc != SQLITE_OK || m_statement == nullptr) {
        sqlite3_finalize(m_statement); // the destructor does not run for a throwing constructor
        m_statement = nullptr;
        fail();
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

void Statement::fail() const
{
    throw BridgeClientError::database(m_connection.errorMessage());
}

void Statement::bindInt(int index, int value)
{
    if (sqlite3_bind_int(m_statement, index, value) != SQLITE_OK)
        fail();
}

void Statement::bindInt64(int index, int64_t value)
{
    if (sqlite3_bind_int64(m_statement, index, value) != SQLITE_OK)
        fail();
}

void Statement::bindText(int index, std::string_view value)
{
    if (sqlite3_bind_text(m_statement, index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        fail();
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail();
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

bool Statement::isBlob(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_BLOB;
}

int64_t Statement::int64(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

std::string_view Statement::text(int column) const
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    const int length = sqlite3_column_bytes(m_statement, column);
    return bytes != nullptr && length > 0 ? std::string_view(bytes, static_cast<std::size_t>(length))
                                          : std::string_view();
}

std::string_view Statement::blob(int column) const
{
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
    const int length = sqlite3_column_bytes(m_statement, column);
    return bytes != nullptr && length > 0 ? std::string_view(bytes, static_cast<std::size_t>(length))
                                          : std::string_view();
}

} // namespace quorva::sqlite
