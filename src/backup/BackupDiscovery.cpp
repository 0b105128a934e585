// Discovery: the Finder backups in a chosen folder, described and ordered newest first.
#include "backup/BackupFolder.h"
#include "backup/IPhoneBackupScanner.h"
#include "backup/PropertyList.h"
#include "backup/UnicodeText.h"
#include "model/BridgeClientError.h"
#include "model/PlatformError.h"

#include <algorithm>
#include <chrono>
#include <system_error>

namespace quorva {
namespace {

// While a device writes a backup it fills this folder inside its own and moves the files into
// place at the end: what the folder holds is a backup being written, never a device of its own.
constexpr const char* kSnapshot = "Snapshot";

bool holdsManifest(const std::filesystem::path& folder)
{
    std::error_code error;
    return std::filesystem::exists(folder / "Manifest.db", error);
}

bool holdsSnapshot(const std::filesystem::path& folder)
{
    std::error_code error;
    return std::filesystem::is_directory(folder / kSnapshot, error);
}

bool isBackup(const std::filesystem::path& folder)
{
    return holdsManifest(folder) || holdsSnapshot(folder);
}

std::optional<Instant> modificationDate(const std::filesystem::path& folder)
{
    std::error_code error;
    const auto written = std::filesystem::last_write_time(folder, error);
    if (error)
        return std::nullopt;
    const auto system = std::chrono::file_clock::to_sys(written);
    return Instant::fromUnixSeconds(
        std::chrono::duration_cast<std::chrono::duration<double>>(system.time_since_epoch()).count());
}

// The folder's own name, also when the path ends in a separator.
std::string folderName(const std::filesystem::path& folder)
{
    const std::filesystem::path name =
        folder.has_filename() ? folder.filename() : folder.parent_path().filename();
    return unicode::decodeUtf8Lossy(name.native());
}

// The entries of `folder` that are backups, in listing order; hidden entries are skipped, and so
// are links to folders outside `folder`.
std::vector<std::filesystem::path> listedBackups(const std::filesystem::path& folder)
{
    const BackupFolder chosen(folder);
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error)
        throw PlatformError::folder(folder, PlatformError::FolderStep::opening, error);
    std::vector<std::filesystem::path> found;
    for (const std::filesystem::directory_iterator end; entries != end; entries.increment(error)) {
        if (error)
            break;
        const std::filesystem::path& entry = entries->path();
        if (entry.filename().native().starts_with('.') || entry.filename() == kSnapshot)
            continue;
        if (isBackup(entry) && chosen.contains(entry))
            found.push_back(entry);
    }
    if (error)
        throw PlatformError::folder(folder, PlatformError::FolderStep::reading, error);
    return found;
}

template <typename T, typename... Lookups> std::optional<T> firstPresent(Lookups&&... lookups)
{
    std::optional<T> value;
    ((value = value ? value : lookups()), ...);
    return value;
}

} // namespace

IPhoneBackupScanner::IPhoneBackupScanner(LocalRiskClassifier classifier, ReadDeadlines deadlines)
    : m_classifier(std::move(classifier)), m_deadlines(deadlines)
{
}

std::vector<BackupDescriptor> IPhoneBackupScanner::backups(const std::filesystem::path& folder) const
{
    // A chosen folder that is itself a backup is taken alone, even if it holds other backups.
    const std::vector<std::filesystem::path> candidates =
        isBackup(folder) ? std::vector<std::filesystem::path>{folder} : listedBackups(folder);

    std::vector<BackupDescriptor> descriptors;
    descriptors.reserve(candidates.size());
    for (const auto& candidate : candidates)
        descriptors.push_back(describeBackup(candidate));
    std::stable_sort(descriptors.begin(), descriptors.end(), [](const auto& a, const auto& b) {
        return a.lastBackupAt.value_or(Instant::distantPast()) >
               b.lastBackupAt.value_or(Instant::distantPast());
    });
    if (descriptors.empty())
        throw BridgeClientError::noBackupFound();
    return descriptors;
}

BackupDescriptor IPhoneBackupScanner::describeBackup(const std::filesystem::path& backupFolder) const
{
    const std::string name = folderName(backupFolder);
    if (!holdsSnapshot(backupFolder))
        return describeFolder(backupFolder, name);
    // Nothing in it is read until it is finished. During a first backup the device's property
    // lists are only in the snapshot; the folder is named after the device in any case.
    const bool ownLists = BackupFolder(backupFolder).file("Info.plist").has_value();
    BackupDescriptor descriptor = describeFolder(ownLists ? backupFolder : backupFolder / kSnapshot, name);
    descriptor.url = backupFolder;
    descriptor.isBeingWritten = true;
    return descriptor;
}

BackupDescriptor IPhoneBackupScanner::describeFolder(const std::filesystem::path& backupFolder,
                                                     const std::string& fallbackId) const
{
    const BackupFolder backup(backupFolder);
    auto readList = [&backup](const char* name) {
        const auto file = backup.file(name);
        return file ? PropertyList::readFile(*file) : std::nullopt;
    };
    const auto manifest = readList("Manifest.plist");
    const auto info = readList("Info.plist");
    const auto status = readList("Status.plist");

    auto infoString = [&](const char* key) {
        return [&info, key] { return info ? info->string(key) : std::nullopt; };
    };

    BackupDescriptor descriptor;
    descriptor.id = infoString("Unique Identifier")().value_or(fallbackId);
    descriptor.url = backupFolder;
    descriptor.deviceName = firstPresent<std::string>(infoString("Display Name"), infoString("Device Name"))
                                .value_or("iPhone backup");
    descriptor.productType = infoString("Product Type")();
    descriptor.lastBackupAt =
        firstPresent<Instant>([&] { return status ? status->date("Date") : std::nullopt; },
                              [&] { return info ? info->date("Last Backup Date") : std::nullopt; },
                              [&] { return modificationDate(backupFolder); });
    // Only a snapshot the tool marked finished is whole; one without the mark predates it.
    if (const auto snapshot = status ? status->string("SnapshotState") : std::nullopt)
        descriptor.isBeingWritten = *snapshot != "finished";
    if (manifest) {
        if (const auto flag = manifest->boolean("IsEncrypted"))
            descriptor.isEncrypted = *flag;
        else if (const auto number = manifest->integer("IsEncrypted"); number == 0 || number == 1)
            descriptor.isEncrypted = *number == 1;
    }
    return descriptor;
}

std::vector<BackupDescriptor> newestPerDevice(const std::vector<BackupDescriptor>& backups)
{
    // `backups` is newest first, so the first finished one of a device is its newest finished one;
    // a device with nothing finished keeps its newest, to say that it is being written.
    std::vector<BackupDescriptor> chosen;
    for (const BackupDescriptor& backup : backups) {
        const auto same = std::ranges::find(chosen, backup.id, &BackupDescriptor::id);
        if (same == chosen.end())
            chosen.push_back(backup);
        else if (same->isBeingWritten && !backup.isBeingWritten)
            *same = backup;
    }
    return chosen;
}

} // namespace quorva
