#include "backup/SqliteReadOnly.h"

#include "model/BridgeClientError.h"

#include <sqlite3.h>

#include <utility>

namespace quorva::sqlite {
namespace {

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

Connection Connection::openReadOnly(const std::filesystem::path& file)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(immutableUri(file).c_str(), &db,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    Connection connection(db); // a failed open still hands back a handle to close
    if (rc != SQLITE_OK)
        throw BridgeClientError::database(connection.errorMessage());
    return connection;
}

Connection::Connection(Connection&& other) noexcept : m_db(std::exchange(other.m_db, nullptr)) {}

Connection::~Connection()
{
    sqlite3_close(m_db);
}

std::string Connection::errorMessage() const
{
    return messageOf(m_db);
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
