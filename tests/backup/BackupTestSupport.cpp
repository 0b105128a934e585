#include "BackupTestSupport.h"

#include "backup/Sha256.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace quorva::backuptest {

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quorva-backup-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code error;
    // Tests make folders read-only; give the permissions back so that removal works for anyone.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
}

void writeFile(const std::filesystem::path& file, std::string_view bytes)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string bytesFromHex(std::string_view hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    return bytes;
}

void execute(const std::filesystem::path& database, const std::string& sql)
{
    sqlite3* db = nullptr;
    int rc = sqlite3_open(database.c_str(), &db);
    char* message = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    const std::string why = message ? message : (db ? sqlite3_errmsg(db) : "open failed");
    sqlite3_free(message);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << why << "\n" << sql;
}

void writeMessagesDatabase(const std::filesystem::path& database, const std::string& inserts)
{
    std::filesystem::create_directories(database.parent_path());
    execute(database, "CREATE TABLE message (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, guid TEXT, text TEXT, "
                      "handle_id INTEGER DEFAULT 0, attributedBody BLOB, service TEXT, date INTEGER, "
                      "date_read INTEGER, is_from_me INTEGER DEFAULT 0);"
                      "CREATE TABLE handle (ROWID INTEGER PRIMARY KEY AUTOINCREMENT, id TEXT NOT NULL, "
                      "country TEXT, service TEXT, uncanonicalized_id TEXT, person_centric_id TEXT);" +
                          inserts);
}

void writeManifestDatabase(const std::filesystem::path& database, const std::string& fileIDLiteral)
{
    std::filesystem::create_directories(database.parent_path());
    execute(database,
            "CREATE TABLE Files (fileID TEXT PRIMARY KEY, domain TEXT, relativePath TEXT, flags INTEGER, "
            "file BLOB);"
            "INSERT INTO Files VALUES ('0123', 'HomeDomain', 'Library/Notes/notes.sqlite', 1, NULL);"
            "INSERT INTO Files VALUES (" +
                fileIDLiteral + ", 'HomeDomain', 'Library/SMS/sms.db', 1, NULL);");
}

std::map<std::string, std::string> snapshot(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string relative = std::filesystem::relative(entry.path(), folder).string();
        const auto written = entry.last_write_time().time_since_epoch().count();
        entries[relative] =
            (entry.is_directory() ? std::string("<dir>") : sha256Hex(readFile(entry.path()))) + " modified " +
            std::to_string(written);
    }
    return entries;
}

Instant utc(int year, unsigned month, unsigned day, int hour, int minute, int second)
{
    using namespace std::chrono;
    const sys_days date = std::chrono::year(year) / std::chrono::month(month) / std::chrono::day(day);
    const auto seconds =
        date.time_since_epoch() + hours(hour) + minutes(minute) + std::chrono::seconds(second);
    return Instant::fromUnixSeconds(
        static_cast<double>(duration_cast<std::chrono::seconds>(seconds).count()));
}

} // namespace quorva::backuptest
