#include "Sqlite.h"

#include <sqlite3.h>

namespace quorva::devservice::sqlite {

Database::Database(const std::string& path, OpenMode mode)
{
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == OpenMode::createIfMissing)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        // A failed open still hands back a handle that holds the message and must be closed.
        const std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw Error("cannot open database " + path + ": " + message);
    }
    sqlite3_busy_timeout(m_db, 5000);
    try {
        // WAL lets --dump read while the service writes; NORMAL keeps every commit across a crash
        // of the process, which is all a development database needs.
        exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
    } catch (...) {
        sqlite3_close(m_db);
        throw;
    }
}

Database::~Database()
{
    sqlite3_close(m_db);
}

void Database::exec(const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : errorMessage();
        sqlite3_free(message);
        throw Error(text);
    }
}

std::string Database::errorMessage() const
{
    const char* message = m_db ? sqlite3_errmsg(m_db) : nullptr;
    return message ? message : "unknown database error";
}

Statement::Statement(Database& database, std::string_view sql) : m_database(database)
{
    if (sqlite3_prepare_v2(database.handle(), sql.data(), static_cast<int>(sql.size()), &m_statement,
                           nullptr) != SQLITE_OK)
        fail("prepare");
}

Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

Statement& Statement::bind(int index, std::string_view value)
{
    if (sqlite3_bind_text64(m_statement, index, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8) !=
        SQLITE_OK)
        fail("bind");
    return *this;
}

Statement& Statement::bind(int index, const std::optional<std::string>& value)
{
    if (!value) {
        if (sqlite3_bind_null(m_statement, index) != SQLITE_OK)
            fail("bind");
        return *this;
    }
    return bind(index, std::string_view(*value));
}

Statement& Statement::bind(int index, int64_t value)
{
    if (sqlite3_bind_int64(m_statement, index, value) != SQLITE_OK)
        fail("bind");
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail("step");
}

void Statement::run()
{
    while (step()) {
    }
}

std::string Statement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return data ? std::string(data, static_cast<size_t>(sqlite3_column_bytes(m_statement, column)))
                : std::string();
}

std::optional<std::string> Statement::optionalText(int column) const
{
    if (sqlite3_column_type(m_statement, column) == SQLITE_NULL)
        return std::nullopt;
    return text(column);
}

int64_t Statement::int64(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

void Statement::fail(const char* what) const
{
    throw Error(std::string("sqlite ") + what + ": " + m_database.errorMessage());
}

Transaction::Transaction(Database& database) : m_database(database)
{
    m_database.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction()
{
    if (m_open) {
        try {
            m_database.exec("ROLLBACK");
        } catch (const Error&) {
            // SQLite may already have rolled back on its own after the failure that brought us here.
        }
    }
}

void Transaction::commit()
{
    m_database.exec("COMMIT");
    m_open = false;
}

} // namespace quorva::devservice::sqlite
