#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// A small read-write layer over SQLite's C API for the development service's own database.
namespace quorva::devservice::sqlite {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Database {
public:
    enum class OpenMode { createIfMissing, existingOnly };

    // Opens the file read-write, in WAL mode, with a busy timeout; throws Error on failure.
    Database(const std::string& path, OpenMode mode);
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    // Runs one or more statements that return no rows.
    void exec(const char* sql);
    [[nodiscard]] sqlite3* handle() const { return m_db; }
    [[nodiscard]] std::string errorMessage() const;

private:
    sqlite3* m_db = nullptr;
};

// One prepared statement; binding indexes start at 1, column indexes at 0.
class Statement {
public:
    Statement(Database& database, std::string_view sql);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    Statement& bind(int index, std::string_view value);
    Statement& bind(int index, const std::string& value) { return bind(index, std::string_view(value)); }
    Statement& bind(int index, const std::optional<std::string>& value);
    Statement& bind(int index, int64_t value);

    // True when a row is available, false when done; a failure throws.
    [[nodiscard]] bool step();
    // Steps a statement that returns no rows.
    void run();

    [[nodiscard]] std::string text(int column) const;
    [[nodiscard]] std::optional<std::string> optionalText(int column) const;
    [[nodiscard]] int64_t int64(int column) const;

private:
    [[noreturn]] void fail(const char* what) const;
    Database& m_database;
    sqlite3_stmt* m_statement = nullptr;
};

// BEGIN IMMEDIATE on construction; rolls back unless commit() was called.
class Transaction {
public:
    explicit Transaction(Database& database);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void commit();

private:
    Database& m_database;
    bool m_open = true;
};

} // namespace quorva::devservice::sqlite
