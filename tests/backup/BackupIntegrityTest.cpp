#include "backup/IPhoneBackupScanner.h"
#include "backup/SqliteReadOnly.h"

#include "BackupTestSupport.h"
#include "SampleBackup.h"

#include <gtest/gtest.h>

using namespace quorva;
using quorva::backuptest::snapshot;
using quorva::backuptest::TempFolder;

namespace {

samples::SampleBackupPlan busyBackup(bool walMode)
{
    auto plan = samples::realisticBackup(Instant::now(), 300, 0.1, 5);
    plan.walMode = walMode;
    return plan;
}

void makeReadOnly(const std::filesystem::path& folder)
{
    using std::filesystem::perms;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        std::filesystem::permissions(entry.path(),
                                     perms::owner_write | perms::group_write | perms::others_write,
                                     std::filesystem::perm_options::remove);
    std::filesystem::permissions(folder, perms::owner_write | perms::group_write | perms::others_write,
                                 std::filesystem::perm_options::remove);
}

// Discovery and a whole scan, as the scan cycle runs them.
BackupScanResult scanNewest(const std::filesystem::path& folder)
{
    const IPhoneBackupScanner scanner;
    return scanner.scan(scanner.backups(folder).front(), Instant::now());
}

} // namespace

TEST(BackupIntegrity, AScanLeavesTheBackupExactlyAsItWas)
{
    for (const bool walMode : {false, true}) {
        for (const bool readOnly : {false, true}) {
            SCOPED_TRACE(std::string(walMode ? "WAL" : "rollback journal") + (readOnly ? ", read-only" : ""));
            TempFolder folder;
            const auto backup =
                samples::writeSampleBackup(folder / "00008110-001A2B3C4D5E801E", busyBackup(walMode));
            if (readOnly)
                makeReadOnly(folder.path());
            const auto before = snapshot(folder.path());

            const auto result = scanNewest(folder.path());
            EXPECT_GT(result.inspectedCount, 0);
            EXPECT_FALSE(result.candidates.empty());
            (void)scanNewest(folder.path());

            EXPECT_EQ(snapshot(folder.path()), before);
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path())) {
                const std::string name = entry.path().filename().string();
                EXPECT_FALSE(name.ends_with("-wal") || name.ends_with("-shm") || name.ends_with("-journal"))
                    << name;
            }
        }
    }
}

TEST(BackupIntegrity, FolderNamesThatMeanSomethingInAUriAreOpenedAsTheyAre)
{
    TempFolder folder;
    const auto parent = folder / "Maya\u2019s backups ?mode=rwc&immutable=0 #1 %41%2F";
    samples::writeSampleBackup(parent / "backup", busyBackup(false));
    const auto before = snapshot(folder.path());
    EXPECT_GT(scanNewest(parent).inspectedCount, 0);
    EXPECT_EQ(snapshot(folder.path()), before);

    EXPECT_EQ(sqlite::immutableUri("/a b/c?d#e%f/\u00E9.db"),
              "file:///a%20b/c%3Fd%23e%25f/%C3%A9.db?mode=ro&immutable=1");
}
