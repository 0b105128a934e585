#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace quorva::samples {

// A read-write SQLite connection for building fixture databases; every failure throws.
class SqliteWriter {
public:
    explicit SqliteWriter(const std::filesystem::path& file); // creates the file
    ~SqliteWriter();
    SqliteWriter(const SqliteWriter&) = delete;
    SqliteWriter& operator=(const SqliteWriter&) = delete;

    void execute(std::string_view sql);
    [[nodiscard]] int64_t lastInsertRowID() const;
    [[nodiscard]] sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
};

// One prepared statement, reused row after row.
class SqliteStatement {
public:
    SqliteStatement(SqliteWriter& db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bindInt(int index, std::optional<int64_t> value);
    void bindOptionalText(int index, const std::optional<std::string>& value);
    void bindText(int index, std::string_view value);
    void bindBlob(int index, std::span<const uint8_t> value);
    // Steps once, expecting no result row, and resets the statement for the next row.
    void run();

private:
    void check(int rc, const char* what);

    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

} // namespace quorva::samples
