#include "BackupTestSupport.h"

#include "backup/Sha256.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace quorva::backuptest {

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quorva-backup-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_path = std::filesystem::canonical(pattern); // the reader hands back resolved paths
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

std::string bigEndian(uint64_t value, int size)
{
    std::string bytes(static_cast<std::size_t>(size), '\0');
    for (int i = size - 1; i >= 0; --i, value >>= 8)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
    return bytes;
}

std::string binaryPlist(const std::vector<std::string>& objects, int refSize)
{
    std::string out = "bplist00";
    std::vector<uint64_t> offsets;
    for (const std::string& object : objects) {
        offsets.push_back(out.size());
        out += object;
    }
    const int offsetSize = out.size() < 0x100 ? 1 : out.size() < 0x10000 ? 2 : 4;
    const uint64_t table = out.size();
    for (const uint64_t offset : offsets)
        out += bigEndian(offset, offsetSize);
    out += std::string(6, '\0') + char(offsetSize) + char(refSize);
    return out + bigEndian(objects.size(), 8) + bigEndian(0, 8) + bigEndian(table, 8);
}

std::string binaryDictionary(const std::vector<std::pair<std::string, std::string>>& entries)
{
    const std::size_t n = entries.size();
    std::string dictionary = n < 15 ? std::string(1, char(0xD0 + n)) : "\xDF\x10" + bigEndian(n, 1);
    std::vector<std::string> objects(1);
    for (std::size_t i = 0; i < n; ++i) {
        dictionary += char(1 + i);
        objects.push_back(binaryAsciiString(entries[i].first));
    }
    for (std::size_t i = 0; i < n; ++i) {
        dictionary += char(1 + n + i);
        objects.push_back(entries[i].second);
    }
    objects[0] = dictionary;
    return binaryPlist(objects);
}

std::string binaryDate(double secondsSince2001)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &secondsSince2001, sizeof bits);
    return "\x33" + bigEndian(bits, 8);
}

std::string binaryAsciiString(std::string_view bytes)
{
    const std::string length = bytes.size() < 15 ? std::string(1, char(0x50 + bytes.size()))
                                                 : "\x5F\x10" + bigEndian(bytes.size(), 1);
    return length + std::string(bytes);
}

std::string binaryArrayChain(int depth, int fanOut)
{
    const int refSize = depth + 5 < 0x100 ? 1 : 4;
    const auto ref = [&](int index) { return bigEndian(static_cast<uint64_t>(index), refSize); };
    std::vector<std::string> objects = {"\xD2" + ref(1) + ref(2) + ref(3) + ref(4), binaryAsciiString("Date"),
                                        binaryAsciiString("Nested"), binaryDate(7e8)};
    for (int level = 0; level < depth; ++level) {
        std::string array(1, char(0xA0 + fanOut));
        for (int i = 0; i < fanOut; ++i)
            array += ref(5 + level);
        objects.push_back(array);
    }
    objects.push_back("\xA0");
    return binaryPlist(objects, refSize);
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
