#pragma once

#include "backup/IPhoneBackupScanner.h"
#include "backup/Sha256.h"
#include "model/BridgeClientError.h"

#include "PropertyListWriter.h"
#include "SampleBackup.h"
#include "SqliteWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

namespace quorva::backuptest {

namespace fs = std::filesystem;

inline const std::string kMessagesFileID = "3d0d7e5fb2ce288813306e4d4636395e047a3d28";
inline const fs::path kHashedMessages = fs::path("3d") / kMessagesFileID;

// A fresh folder under the system temp folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "quorva-backup-XXXXXX").string();
        m_path = fs::canonical(mkdtemp(pattern.data())); // the reader hands back resolved paths
    }
    ~TempFolder() { fs::remove_all(m_path); }
    TempFolder(const TempFolder&) = delete;

    [[nodiscard]] const fs::path& path() const { return m_path; }
    [[nodiscard]] fs::path operator/(const fs::path& child) const { return m_path / child; }

private:
    fs::path m_path;
};

// Names a table row's test after the row.
template <typename Row> std::string rowName(const ::testing::TestParamInfo<Row>& info)
{
    return info.param.name;
}

inline void writeFile(const fs::path& file, std::string_view bytes)
{
    fs::create_directories(file.parent_path());
    samples::writeWholeFile(file, bytes);
}

inline std::string repeat(std::string_view piece, std::size_t times)
{
    std::string out;
    while (times-- > 0)
        out += piece;
    return out;
}

// SQL literals of arbitrary bytes: a blob, and the same bytes stored as text.
inline std::string sqlBlob(std::string_view bytes)
{
    std::string literal = "X'";
    for (const unsigned char byte : bytes)
        literal += {"0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 0x0F]};
    return literal + "'";
}

inline std::string sqlText(std::string_view bytes)
{
    return "CAST(" + sqlBlob(bytes) + " AS TEXT)";
}

inline void execute(const fs::path& database, const std::string& sql)
{
    samples::SqliteWriter(database).execute(sql);
}

// Every entry under `folder`: relative path -> SHA-256 of the content (or "<dir>") and modification time.
inline std::map<std::string, std::string> snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        std::ostringstream content;
        if (!entry.is_directory())
            content << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        entries[fs::relative(entry.path(), folder).string()] =
            (entry.is_directory() ? "<dir>" : sha256Hex(content.str())) + " modified " +
            std::to_string(entry.last_write_time().time_since_epoch().count());
    }
    return entries;
}

inline std::string xmlPlist(const std::string& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" + entries +
           "</dict></plist>";
}

// Calendar instants for tests, in UTC.
inline Instant utc(int year, unsigned month, unsigned day, int hour = 0, int minute = 0, int second = 0)
{
    using namespace std::chrono;
    const sys_seconds at =
        sys_days(std::chrono::year(year) / month / day) + hours(hour) + minutes(minute) + seconds(second);
    return Instant::fromUnixSeconds(static_cast<double>(at.time_since_epoch().count()));
}

// The device name, then the candidates' texts or the failure, as the scan cycle would see the
// newest backup in `chosen`.
inline std::string scanOutcome(const fs::path& chosen)
{
    const IPhoneBackupScanner scanner;
    std::string outcome;
    try {
        const BackupDescriptor backup = scanner.backups(chosen).front();
        outcome = backup.deviceName + ":";
        for (const ScannedMessage& candidate : scanner.scan(backup, Instant::now()).candidates)
            outcome += " " + candidate.text;
    } catch (const BridgeClientError& error) {
        outcome += (outcome.empty() ? "" : " ") + error.description();
    }
    return outcome;
}

} // namespace quorva::backuptest
