#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// A thin read-only layer over SQLite's C API. Every failure is a BridgeClientError::database
// carrying SQLite's message; handles are released on every path.
namespace quorva::sqlite {

// "file:" URI for the path, percent-encoded, asking for a read-only, unchanging snapshot:
// no lock is taken and no journal, -wal or -shm file is ever created next to it.
[[nodiscard]] std::string immutableUri(const std::filesystem::path& file);

class Connection {
public:
    // Opens an existing database file read-only; never creates it.
    [[nodiscard]] static Connection openReadOnly(const std::filesystem::path& file);

    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&&) = delete;
    Connection(const Connection&) = delete;
    ~Connection();

    [[nodiscard]] sqlite3* handle() const { return m_db; }
    // SQLite's message for the last failure, or "unknown database error".
    [[nodiscard]] std::string errorMessage() const;

private:
    explicit Connection(sqlite3* db) : m_db(db) {}
    sqlite3* m_db;
};

class Statement {
public:
    Statement(const Connection& connection, std::string_view sql);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    void bindInt(int index, int value);
    // True when a row is available; false when done. A failure throws.
    [[nodiscard]] bool step();

    [[nodiscard]] bool isNull(int column) const;
    [[nodiscard]] bool isBlob(int column) const;
    [[nodiscard]] int64_t int64(int column) const;
    // Views stay valid until the next step.
    [[nodiscard]] std::string_view text(int column) const;
    [[nodiscard]] std::string_view blob(int column) const;

private:
    [[noreturn]] void fail() const;
    const Connection& m_connection;
    sqlite3_stmt* m_statement = nullptr;
};

} // namespace quorva::sqlite
