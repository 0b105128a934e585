// A scan never changes the backup: no journal, no lock file, not a byte or a date.
#include "BackupTestSupport.h"

using namespace quorva;
using namespace quorva::backuptest;

namespace {

struct Kept {
    const char* name;
    bool walMode;
    bool readOnly;
    const char* parent = "Backup";
    friend void PrintTo(const Kept& kept, std::ostream* out) { *out << kept.name; }
};

void setWritable(const fs::path& folder, bool writable)
{
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const auto option = writable ? fs::perm_options::add : fs::perm_options::remove;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        fs::permissions(entry.path(), write, option);
    fs::permissions(folder, write, option);
}

class BackupIntegrity : public ::testing::TestWithParam<Kept> {};

} // namespace

TEST_P(BackupIntegrity, AScanLeavesTheBackupExactlyAsItWas)
{
    TempFolder folder;
    auto plan = samples::realisticBackup(Instant::now(), 300, 0.1, 5);
    plan.walMode = GetParam().walMode;
    const fs::path chosen = folder / GetParam().parent;
    samples::writeSampleBackup(chosen / "00008110-001A2B3C4D5E801E", plan);
    setWritable(folder.path(), !GetParam().readOnly);
    const auto before = snapshot(folder.path());

    const IPhoneBackupScanner scanner;
    for (int scan = 0; scan < 2; ++scan) {
        const auto result = scanner.scan(scanner.backups(chosen).front(), Instant::now());
        EXPECT_FALSE(result.candidates.empty());
    }
    EXPECT_EQ(snapshot(folder.path()), before);
    setWritable(folder.path(), true);
}

INSTANTIATE_TEST_SUITE_P(
    Backup, BackupIntegrity,
    ::testing::Values(Kept{"RollbackJournal", false, false}, Kept{"WriteAheadLog", true, false},
                      Kept{"ReadOnlyRollbackJournal", false, true}, Kept{"ReadOnlyWriteAheadLog", true, true},
                      // Characters that mean something in the URI the database is opened by.
                      Kept{"FolderNameWithUriCharacters", true, false,
                           "Maya\u2019s backups ?mode=rwc&immutable=0 #1 %41%2F"}),
    rowName<Kept>);
