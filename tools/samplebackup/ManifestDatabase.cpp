#include "BackupFiles.h"
#include "PropertyListWriter.h"
#include "SqliteWriter.h"

#include <openssl/evp.h>

#include <array>
#include <stdexcept>

namespace quorva::samples {

std::string backupFileID(std::string_view domain, std::string_view relativePath)
{
    const std::string name = std::string(domain) + "-" + std::string(relativePath);
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (EVP_Digest(name.data(), name.size(), digest.data(), &length, EVP_sha1(), nullptr) != 1)
        throw std::runtime_error("SHA-1 failed");
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 0x0f];
    }
    return hex;
}

namespace {

// The per-file metadata a manifest keeps as a binary property list.
std::string fileMetadata(const ManifestEntry& entry, Instant modified, uint64_t inode)
{
    const bool isFolder = entry.flags == 2;
    PlistDictionary metadata;
    metadata.setString("RelativePath", entry.relativePath)
        .setInteger("Size", isFolder ? 0 : entry.size)
        .setInteger("Mode", isFolder ? 040755 : 0100644)
        .setInteger("UserID", 501)
        .setInteger("GroupID", 501)
        .setInteger("InodeNumber", inode)
        .setInteger("ProtectionClass", isFolder ? 0 : 3)
        .setDate("Birth", Instant::fromUnixSeconds(modified.unixSeconds - 86400.0 * 200))
        .setDate("LastModified", modified)
        .setDate("LastStatusChange", modified);
    return metadata.serialize(PlistFormat::binary);
}

} // namespace

void writeManifestDatabase(const std::filesystem::path& file, const std::vector<ManifestEntry>& entries,
                           Instant modified)
{
    SqliteWriter db(file);
    db.execute("PRAGMA synchronous=OFF;"
               "CREATE TABLE Files (fileID TEXT PRIMARY KEY, domain TEXT, relativePath TEXT, flags INTEGER, "
               "file BLOB);"
               "CREATE INDEX FilesDomainIdx ON Files(domain);"
               "CREATE INDEX FilesRelativePathIdx ON Files(relativePath);"
               "CREATE INDEX FilesFlagsIdx ON Files(flags);"
               "CREATE TABLE Properties (key TEXT PRIMARY KEY, value BLOB);"
               "BEGIN;");
    SqliteStatement insert(
        db, "INSERT INTO Files (fileID, domain, relativePath, flags, file) VALUES (?, ?, ?, ?, ?)");
    uint64_t inode = 1048576;
    for (const ManifestEntry& entry : entries) {
        const std::string metadata = fileMetadata(entry, modified, inode++);
        insert.bindText(1, backupFileID(entry.domain, entry.relativePath));
        insert.bindText(2, entry.domain);
        insert.bindText(3, entry.relativePath);
        insert.bindInt(4, entry.flags);
        insert.bindBlob(5, {reinterpret_cast<const uint8_t*>(metadata.data()), metadata.size()});
        insert.run();
    }
    db.execute("COMMIT;");
}

} // namespace quorva::samples
