#include "SampleBackup.h"

#include "BackupFiles.h"
#include "PropertyListWriter.h"

#include <openssl/evp.h>

#include <array>
#include <cctype>

namespace quorva::samples {
namespace {

namespace fs = std::filesystem;

// Files a real backup lists next to the Messages database, so a reader cannot get away with
// taking the first row or the only file.
std::vector<ManifestEntry> otherDeviceFiles()
{
    return {
        {"HomeDomain", "Library", 2, 0},
        {"HomeDomain", "Library/SMS", 2, 0},
        {"HomeDomain", "Library/SMS/Drafts", 2, 0},
        {"HomeDomain", "Library/AddressBook/AddressBook.sqlitedb", 1, 2048},
        {"HomeDomain", "Library/Calendar/Calendar.sqlitedb", 1, 2048},
        {"HomeDomain", "Library/Notes/notes.sqlite", 1, 1024},
        {"HomeDomain", "Library/Preferences/app.quorva.sample.plist", 1, 256},
        {"MediaDomain", "Library/SMS/Attachments", 2, 0},
        {"MediaDomain", "Library/SMS/Attachments/4f/15/IMG_0412.HEIC", 1, 4096},
        {"CameraRollDomain", "Media/DCIM/100CAMRA/IMG_0413.HEIC", 1, 4096},
        {"RootDomain", "Library/Caches/locationd/consolidated.db", 1, 1024},
        {"WirelessDomain", "Library/CallHistory/call_history.db", 1, 1024},
    };
}

// Stable identifiers derived from the device, upper-case hex like the platform writes them.
std::string derivedHex(std::string_view udid, std::string_view purpose, size_t digits)
{
    std::string id = backupFileID(purpose, udid);
    for (char& c : id)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return id.substr(0, digits);
}

std::string derivedUuid(std::string_view udid, std::string_view purpose)
{
    const std::string hex = derivedHex(udid, purpose, 32);
    return hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" + hex.substr(16, 4) +
           "-" + hex.substr(20, 12);
}

fs::path storedLocation(const fs::path& folder, const std::string& fileID, bool flat)
{
    return flat ? folder / fileID : folder / fileID.substr(0, 2) / fileID;
}

void removeStale(const fs::path& file)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        fs::remove(file.string() + suffix);
}

void writeManifestPlist(const fs::path& folder, const SampleBackupPlan& plan)
{
    PlistDictionary lockdown;
    lockdown.setString("UniqueDeviceID", plan.udid)
        .setString("ProductVersion", "17.4.1")
        .setString("BuildVersion", "21E236")
        .setString("SerialNumber", derivedHex(plan.udid, "serial", 12));
    if (plan.productType)
        lockdown.setString("ProductType", *plan.productType);
    if (plan.deviceName)
        lockdown.setString("DeviceName", *plan.deviceName);

    PlistDictionary manifest;
    manifest.setBool("IsEncrypted", plan.encrypted)
        .setString("Version", "10.0")
        .setString("SystemDomainsVersion", "24.0")
        .setBool("WasPasscodeSet", true)
        .setDictionary("Lockdown", std::move(lockdown))
        .setDictionary("Applications", PlistDictionary());
    if (plan.lastBackupDate)
        manifest.setDate("Date", *plan.lastBackupDate);
    if (plan.encrypted) {
        // Stand-ins for the key bag and the wrapped manifest key; only their presence matters.
        const std::string keyBag = derivedHex(plan.udid, "keybag", 40);
        manifest.setData("BackupKeyBag", {reinterpret_cast<const uint8_t*>(keyBag.data()), keyBag.size()});
        manifest.setData("ManifestKey", {reinterpret_cast<const uint8_t*>(keyBag.data()), 24});
    }
    manifest.writeFile(folder / "Manifest.plist", plan.manifestFormat);
}

void writeInfoPlist(const fs::path& folder, const SampleBackupPlan& plan)
{
    PlistDictionary info;
    info.setString("Build Version", "21E236")
        .setString("GUID", derivedHex(plan.udid, "guid", 32))
        .setString("Product Version", "17.4.1")
        .setString("Serial Number", derivedHex(plan.udid, "serial", 12))
        .setString("Target Identifier", plan.udid)
        .setString("Target Type", "Device")
        .setString("Unique Identifier", plan.udid);
    if (plan.deviceName)
        info.setString("Device Name", *plan.deviceName);
    if (plan.displayName)
        info.setString("Display Name", *plan.displayName);
    if (plan.productType)
        info.setString("Product Type", *plan.productType);
    if (plan.lastBackupDate)
        info.setDate("Last Backup Date", *plan.lastBackupDate);
    info.writeFile(folder / "Info.plist", plan.infoFormat);
}

void writeStatusPlist(const fs::path& folder, const SampleBackupPlan& plan)
{
    PlistDictionary status;
    status.setString("BackupState", "new")
        .setBool("IsFullBackup", false)
        .setString("SnapshotState", plan.snapshotState)
        .setString("UUID", derivedUuid(plan.udid, "status"))
        .setString("Version", "3.3");
    if (plan.statusDate)
        status.setDate("Date", *plan.statusDate);
    status.writeFile(folder / "Status.plist", plan.statusFormat);
}

} // namespace

fs::path writeSampleBackup(const fs::path& folder, const SampleBackupPlan& plan)
{
    fs::create_directories(folder);
    const bool flat = plan.location == MessagesLocation::flat;
    const Instant modified = plan.lastBackupDate.value_or(plan.statusDate.value_or(Instant::now()));

    std::vector<ManifestEntry> entries = otherDeviceFiles();
    for (const ManifestEntry& entry : entries) {
        if (entry.flags != 1)
            continue;
        const fs::path file = storedLocation(folder, backupFileID(entry.domain, entry.relativePath), flat);
        fs::create_directories(file.parent_path());
        writeWholeFile(file, std::string(entry.size, '\0'));
    }

    const std::string messagesID = backupFileID(kMessagesDomain, kMessagesPath);
    // A backup that does not list the Messages database may still hold the file where it would
    // be: only the manifest says what is in a backup.
    const fs::path messagesFile = storedLocation(folder, messagesID, flat);
    removeStale(messagesFile);
    if (plan.location != MessagesLocation::missingFile) {
        fs::create_directories(messagesFile.parent_path());
        writeMessagesDatabase(messagesFile, plan.messages, plan.walMode);
    }
    if (plan.location != MessagesLocation::notInManifest) {
        const auto size = plan.location == MessagesLocation::missingFile ? 0 : fs::file_size(messagesFile);
        // Listed after its folders, among other rows, as a device's manifest has it.
        entries.insert(entries.begin() + 3,
                       ManifestEntry{std::string(kMessagesDomain), std::string(kMessagesPath), 1, size});
    }

    const fs::path manifestDb = folder / "Manifest.db";
    removeStale(manifestDb);
    writeManifestDatabase(manifestDb, entries, modified);

    for (const char* name : {"Manifest.plist", "Info.plist", "Status.plist"})
        fs::remove(folder / name);
    if (plan.writeManifestPlist)
        writeManifestPlist(folder, plan);
    if (plan.writeInfoPlist)
        writeInfoPlist(folder, plan);
    if (plan.writeStatusPlist)
        writeStatusPlist(folder, plan);
    return folder;
}

} // namespace quorva::samples
