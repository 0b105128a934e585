#pragma once

#include "model/Instant.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorva::backuptest {

// A fresh folder under the system temp folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::filesystem::path operator/(const std::filesystem::path& child) const
    {
        return m_path / child;
    }

private:
    std::filesystem::path m_path;
};

void writeFile(const std::filesystem::path& file, std::string_view bytes);
[[nodiscard]] std::string readFile(const std::filesystem::path& file);
[[nodiscard]] std::string bytesFromHex(std::string_view hex);

// Runs SQL on a database file, creating it when needed. Fails the test on error.
void execute(const std::filesystem::path& database, const std::string& sql);

// A Messages database with the columns the reader uses, filled by `inserts` (SQL).
void writeMessagesDatabase(const std::filesystem::path& database, const std::string& inserts = "");
// A Manifest.db whose Files table holds the given fileID for the Messages database.
void writeManifestDatabase(const std::filesystem::path& database, const std::string& fileIDLiteral);

// Every entry under `folder`: relative path -> SHA-256 of the content (or "<dir>") and modification time.
[[nodiscard]] std::map<std::string, std::string> snapshot(const std::filesystem::path& folder);

// Binary property lists written byte by byte, for lists no well-behaved writer makes.
// `size` bytes of `value`, most significant first.
[[nodiscard]] std::string bigEndian(uint64_t value, int size);
// The encoded objects (the first is the top one) with their offset table and trailer;
// references inside the objects are `refSize` bytes wide.
[[nodiscard]] std::string binaryPlist(const std::vector<std::string>& objects, int refSize = 1);
// A top-level dictionary of the given keys and encoded values (at most 100 entries).
[[nodiscard]] std::string binaryDictionary(const std::vector<std::pair<std::string, std::string>>& entries);
[[nodiscard]] std::string binaryDate(double secondsSince2001);
[[nodiscard]] std::string binaryAsciiString(std::string_view bytes); // at most 255 bytes
// {"Date": a date, "Nested": a chain of `depth` arrays}, each array holding `fanOut` (below 15)
// references to the next and the last an empty one: a tree of fanOut^depth empty arrays.
[[nodiscard]] std::string binaryArrayChain(int depth, int fanOut);

// Calendar instants for tests, in UTC.
[[nodiscard]] Instant utc(int year, unsigned month, unsigned day, int hour = 0, int minute = 0,
                          int second = 0);

} // namespace quorva::backuptest
