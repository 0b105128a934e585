#pragma once

#include "model/Translatable.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// A thin read-only layer over SQLite's C API. Every failure is a BridgeClientError::database
// carrying SQLite's message; handles are released on every path. A backup's database comes from
// outside and may be made to never finish or to fill memory and disk, so every connection is
// bounded: in time, in the size of each value, and in memory, with temporary storage in memory.
namespace quorva::sqlite {

// How long the statements of one connection may run in all, and what ends them earlier.
struct ReadBounds {
    std::chrono::milliseconds deadline{std::chrono::seconds(20)};
    std::stop_token stop;
};

// The largest text or blob a read hands out; a longer value fails the read.
inline constexpr int kLargestValue = 8 * 1024 * 1024;
// What SQLite may allocate in this process at most, all connections together.
inline constexpr int64_t kHeapCeiling = 256 * 1024 * 1024;

// The details of a read that ended early, as BridgeClientError::database carries them.
inline constexpr const char* kTookTooLong =
    QUORVA_TEXT("quorva::BridgeClientError", "reading it took too long");
inline constexpr const char* kStopped = QUORVA_TEXT("quorva::BridgeClientError", "the scan was stopped");

// "file:" URI for the path, percent-encoded, asking for a read-only, unchanging snapshot:
// no lock is taken and no journal, -wal or -shm file is ever created next to it.
[[nodiscard]] std::string immutableUri(const std::filesystem::path& file);

class Connection {
public:
    // Opens an existing database file read-only; never creates it. The bounds count from here.
    [[nodiscard]] static Connection openReadOnly(const std::filesystem::path& file, ReadBounds bounds = {});

    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&&) = delete;
    Connection(const Connection&) = delete;
    ~Connection();

    [[nodiscard]] sqlite3* handle() const { return m_db; }
    // SQLite's message for the last failure, or "unknown database error".
    [[nodiscard]] std::string errorMessage() const;
    // Why the bounds ended a statement (kTookTooLong, kStopped), or null.
    [[nodiscard]] const char* endedBy() const;

    // True when reading `name` would run what the database's author wrote rather than read what
    // is stored: a view, a virtual table, a table whose `columns` (where it has them) are
    // generated, or a name that two objects answer to. False for a stored table and for no
    // object of that name, which the query itself then reports.
    [[nodiscard]] bool computesWhenRead(std::string_view name,
                                        std::initializer_list<std::string_view> columns) const;

private:
    struct Watch;
    Connection(sqlite3* db, std::unique_ptr<Watch> watch);
    sqlite3* m_db;
    std::unique_ptr<Watch> m_watch; // where SQLite's progress callback looks; stays put on a move
};

class Statement {
public:
    Statement(const Connection& connection, std::string_view sql);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    void bindInt(int index, int value);
    void bindInt64(int index, int64_t value);
    void bindText(int index, std::string_view value);
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
