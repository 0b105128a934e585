#include "SqliteWriter.h"

#include <sqlite3.h>

#include <stdexcept>

namespace quorva::samples {

namespace {
[[noreturn]] void fail(sqlite3* db, std::string_view what)
{
    throw std::runtime_error(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}
} // namespace

SqliteWriter::SqliteWriter(const std::filesystem::path& file)
{
    const int rc = sqlite3_open_v2(file.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        throw std::runtime_error("cannot create " + file.string() + ": " + message);
    }
}

SqliteWriter::~SqliteWriter()
{
    sqlite3_close(m_db);
}

void SqliteWriter::execute(std::string_view sql)
{
    char* error = nullptr;
    if (sqlite3_exec(m_db, std::string(sql).c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : sqlite3_errmsg(m_db);
        sqlite3_free(error);
        throw std::runtime_error("SQL failed (" + message + "): " + std::string(sql.substr(0, 80)));
    }
}

int64_t SqliteWriter::lastInsertRowID() const
{
    return sqlite3_last_insert_rowid(m_db);
}

SqliteStatement::SqliteStatement(SqliteWriter& db, std::string_view sql) : m_db(db.handle())
{
    if (sqlite3_prepare_v2(m_db, sql.data(), static_cast<int>(sql.size()), &m_statement, nullptr) !=
        SQLITE_OK)
        fail(m_db, "prepare");
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bindInt(int index, std::optional<int64_t> value)
{
    check(value ? sqlite3_bind_int64(m_statement, index, *value) : sqlite3_bind_null(m_statement, index),
          "bind");
}

void SqliteStatement::bindOptionalText(int index, const std::optional<std::string>& value)
{
    if (value)
        bindText(index, *value);
    else
        check(sqlite3_bind_null(m_statement, index), "bind");
}

void SqliteStatement::bindText(int index, std::string_view value)
{
    check(sqlite3_bind_text64(m_statement, index, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8),
          "bind");
}

void SqliteStatement::bindBlob(int index, std::span<const uint8_t> value)
{
    check(sqlite3_bind_blob64(m_statement, index, value.data(), value.size(), SQLITE_TRANSIENT), "bind");
}

void SqliteStatement::run()
{
    const int rc = sqlite3_step(m_statement);
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    if (rc != SQLITE_DONE)
        fail(m_db, "insert");
}

void SqliteStatement::check(int rc, const char* what)
{
    if (rc != SQLITE_OK)
        fail(m_db, what);
}

} // namespace quorva::samples
