// Backups that lead out of themselves through symbolic links, scanned as the scan cycle does.
#include "backup/IPhoneBackupScanner.h"
#include "model/BridgeClientError.h"

#include "BackupTestSupport.h"
#include "SampleBackup.h"

#include <gtest/gtest.h>

using namespace quorva;
using namespace quorva::backuptest;
namespace fs = std::filesystem;

namespace {

const std::string kMessagesFileID = "3d0d7e5fb2ce288813306e4d4636395e047a3d28";

} // namespace

namespace {

// Where a link is put, and what a scan of the chosen folder then gives.
struct LinkCase {
    const char* name;
    // Rearranges `backup` (inside `chosen`) with links; `outside` is a backup outside `chosen`.
    void (*arrange)(const fs::path& chosen, const fs::path& backup, const fs::path& outside);
    std::string outcome;
    friend void PrintTo(const LinkCase& link, std::ostream* out) { *out << link.name; }
};

class LinkedBackup : public ::testing::TestWithParam<LinkCase> {};

samples::SampleBackupPlan backupSaying(const std::string& name, const std::string& text)
{
    samples::SampleBackupPlan plan;
    plan.displayName = name;
    samples::SampleMessage message;
    message.text = text;
    message.date = Instant::now();
    plan.messages = {message};
    return plan;
}

// The device name, then the candidates' texts or the failure, as the scan cycle would see them.
std::string scanOutcome(const fs::path& chosen)
{
    const IPhoneBackupScanner scanner;
    try {
        const BackupDescriptor backup = scanner.backups(chosen).front();
        std::string outcome = backup.deviceName + ":";
        try {
            for (const ScannedMessage& candidate : scanner.scan(backup, Instant::now()).candidates)
                outcome += " " + candidate.text;
        } catch (const BridgeClientError& error) {
            outcome += " " + error.description();
        }
        return outcome;
    } catch (const BridgeClientError& error) {
        return error.description();
    }
}

void replaceWithLink(const fs::path& target, const fs::path& link)
{
    fs::remove_all(link);
    fs::create_symlink(target, link);
}

const fs::path kHashed = fs::path("3d") / kMessagesFileID;

} // namespace

TEST_P(LinkedBackup, NothingOutsideTheBackupIsRead)
{
    TempFolder folder;
    const fs::path chosen = folder / "Backup";
    const fs::path backup =
        samples::writeSampleBackup(chosen / "device", backupSaying("Inside", "Send money now, inside"));
    const fs::path outside =
        samples::writeSampleBackup(folder / "elsewhere", backupSaying("Outside", "Send money now, outside"));
    GetParam().arrange(chosen, backup, outside);
    EXPECT_EQ(scanOutcome(chosen), GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Backup, LinkedBackup,
    ::testing::Values(LinkCase{"NoLink", [](const fs::path&, const fs::path&, const fs::path&) {},
                               "Inside: Send money now, inside"},
                      LinkCase{"MessagesDatabaseLinkedOut",
                               [](const fs::path&, const fs::path& backup, const fs::path& outside) {
                                   replaceWithLink(outside / kHashed, backup / kHashed);
                               },
                               "Inside: The selected backup does not contain a readable Messages database."},
                      LinkCase{"MessagesFolderLinkedOut",
                               [](const fs::path&, const fs::path& backup, const fs::path& outside) {
                                   replaceWithLink(outside / "3d", backup / "3d");
                               },
                               "Inside: The selected backup does not contain a readable Messages database."},
                      LinkCase{"FlatMessagesDatabaseLinkedOut",
                               [](const fs::path&, const fs::path& backup, const fs::path& outside) {
                                   fs::remove_all(backup / "3d");
                                   replaceWithLink(outside / kHashed, backup / kMessagesFileID);
                               },
                               "Inside: The selected backup does not contain a readable Messages database."},
                      LinkCase{"ManifestLinkedOut",
                               [](const fs::path&, const fs::path& backup, const fs::path& outside) {
                                   replaceWithLink(outside / "Manifest.db", backup / "Manifest.db");
                               },
                               "Inside: The Messages backup could not be read: unable to open database file"},
                      LinkCase{"InfoPlistLinkedOut",
                               [](const fs::path&, const fs::path& backup, const fs::path& outside) {
                                   replaceWithLink(outside / "Info.plist", backup / "Info.plist");
                               },
                               "iPhone backup: Send money now, inside"},
                      LinkCase{"DeviceFolderLinkedOut",
                               [](const fs::path&, const fs::path& backup, const fs::path& outside) {
                                   replaceWithLink(outside, backup);
                               },
                               BridgeClientError::noBackupFound().description()},
                      LinkCase{"MessagesDatabaseLinkedWithinTheBackup",
                               [](const fs::path&, const fs::path& backup, const fs::path&) {
                                   fs::create_directory(backup / "moved");
                                   fs::rename(backup / kHashed, backup / "moved/sms.db");
                                   fs::create_symlink("../moved/sms.db", backup / kHashed);
                               },
                               "Inside: Send money now, inside"},
                      LinkCase{"DeviceFolderLinkedWithinTheChosenFolder",
                               [](const fs::path& chosen, const fs::path& backup, const fs::path&) {
                                   fs::create_directory(chosen / ".store");
                                   fs::rename(backup, chosen / ".store/device");
                                   fs::create_symlink(".store/device", backup);
                               },
                               "Inside: Send money now, inside"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BackupLinks, AChosenFolderReachedThroughALinkIsReadAsItself)
{
    TempFolder folder;
    samples::writeSampleBackup(folder / "Backup/device", backupSaying("Inside", "Send money now, inside"));
    fs::create_symlink("Backup", folder / "Chosen");
    EXPECT_EQ(scanOutcome(folder / "Chosen"), "Inside: Send money now, inside");
}
