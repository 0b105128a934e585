// Backups whose files are moved, damaged or linked out of the backup, scanned as the scan cycle does.
#include "model/BridgeClientError.h"

#include "BackupTestSupport.h"

#include <functional>

using namespace quorva;
using namespace quorva::backuptest;

namespace {

struct Paths {
    fs::path chosen;  // the folder the user chose
    fs::path backup;  // the backup in it
    fs::path outside; // another backup, outside the chosen folder
    [[nodiscard]] fs::path manifest() const { return backup / "Manifest.db"; }
    [[nodiscard]] fs::path messages() const { return backup / kHashedMessages; }
};

struct Layout {
    const char* name;
    std::function<void(const Paths&)> arrange;
    std::string outcome;
    friend void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.name; }
};

const std::string kInside = "Inside: Send money now, inside";
const std::string kMissing = "Inside: " + BridgeClientError::messagesDatabaseMissing().description();
const std::string kUnreadable = "Inside: The Messages backup could not be read: ";

samples::SampleBackupPlan backupSaying(const std::string& name, const std::string& text)
{
    samples::SampleBackupPlan plan;
    plan.displayName = name;
    plan.messages.resize(1);
    plan.messages[0].text = text;
    plan.messages[0].date = Instant::now();
    return plan;
}

// The manifest names the Messages database `fileID` (SQL), and the database is moved to `place`.
std::function<void(const Paths&)> relocated(std::string fileID, fs::path place = {})
{
    return [=](const Paths& p) {
        if (!fileID.empty())
            execute(p.manifest(),
                    "UPDATE Files SET fileID = " + fileID + " WHERE fileID = '" + kMessagesFileID + "'");
        if (!place.empty()) {
            fs::create_directories((p.backup / place).parent_path());
            fs::rename(p.messages(), p.backup / place);
        }
    };
}

// The entry of the backup replaced by a link to the same entry of the backup outside.
std::function<void(const Paths&)> linkedOut(fs::path entry)
{
    return [=](const Paths& p) {
        fs::remove_all(p.backup / entry);
        fs::create_symlink(p.outside / entry, p.backup / entry);
    };
}

// Three thousand long messages, then the file cut: the schema sits in the first pages, the rows beyond.
void cutInHalf(const Paths& p)
{
    execute(p.messages(),
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
            "INSERT INTO message (guid, text, date) SELECT i, printf('%.*c', 400, 'y'), i FROM n;");
    fs::resize_file(p.messages(), fs::file_size(p.messages()) / 2);
}

class CraftedBackup : public ::testing::TestWithParam<Layout> {};

} // namespace

TEST_P(CraftedBackup, IsReadOnlyWithinItself)
{
    TempFolder folder;
    const Paths paths{folder / "Backup", folder / "Backup/device", folder / "elsewhere"};
    samples::writeSampleBackup(paths.backup, backupSaying("Inside", "Send money now, inside"));
    samples::writeSampleBackup(paths.outside, backupSaying("Outside", "Send money now, outside"));
    GetParam().arrange(paths);
    EXPECT_EQ(scanOutcome(paths.chosen), GetParam().outcome);
}

const std::vector<Layout> kLocations = {
    {"Flat", relocated("", kMessagesFileID), kInside},
    {"HashedBeforeFlat",
     [](const Paths& p) { fs::copy_file(p.outside / kHashedMessages, p.backup / kMessagesFileID); }, kInside},
    {"OneCharacterFileIdHashed", relocated("'x'", "x/x"), kInside},
    {"Missing", [](const Paths& p) { fs::remove(p.messages()); }, kMissing},
    {"NotInTheManifest",
     [](const Paths& p) {
         execute(p.manifest(), "DELETE FROM Files WHERE fileID = '" + kMessagesFileID + "'");
     },
     kMissing},
    {"FileIdNull", relocated("NULL"), kMissing},
    {"FileIdEmpty", relocated("''"), kMissing},
    {"FileIdDot", relocated("'.'"), kMissing},
    {"FileIdParent", relocated("'..'"), kMissing},
    {"FileIdLeadingOut", relocated("'../../elsewhere/3d/" + kMessagesFileID + "'"), kMissing},
    {"FileIdWithAFolder", relocated("'ab/x'", "ab/x"), kMissing},
    {"FileIdWithAZeroByte", relocated("'x' || char(0)", "x/x"), kMissing}};
INSTANTIATE_TEST_SUITE_P(Locations, CraftedBackup, ::testing::ValuesIn(kLocations), rowName<Layout>);

const std::vector<Layout> kDamage = {
    {"MessagesCutInHalf", cutInHalf, kUnreadable + "database disk image is malformed"},
    {"EncryptedRefusedBeforeTheMessagesAreLookedFor",
     [](const Paths& p) {
         writeFile(p.backup / "Manifest.plist", xmlPlist("<key>IsEncrypted</key><true/>"));
         fs::remove(p.messages());
     },
     "Inside: " + BridgeClientError::encryptedBackup().description()}};
INSTANTIATE_TEST_SUITE_P(Damage, CraftedBackup, ::testing::ValuesIn(kDamage), rowName<Layout>);

const std::vector<Layout> kLinks = {
    {"MessagesDatabaseLinkedOut", linkedOut(kHashedMessages), kMissing},
    {"MessagesFolderLinkedOut", linkedOut("3d"), kMissing},
    {"FlatMessagesDatabaseLinkedOut",
     [](const Paths& p) {
         fs::remove_all(p.backup / "3d");
         fs::create_symlink(p.outside / kHashedMessages, p.backup / kMessagesFileID);
     },
     kMissing},
    {"ManifestLinkedOut", linkedOut("Manifest.db"), kUnreadable + "unable to open database file"},
    {"InfoPlistLinkedOut", linkedOut("Info.plist"), "iPhone backup: Send money now, inside"},
    {"DeviceFolderLinkedOut",
     [](const Paths& p) {
         fs::remove_all(p.backup);
         fs::create_symlink(p.outside, p.backup);
     },
     BridgeClientError::noBackupFound().description()},
    {"MessagesDatabaseLinkedWithinTheBackup",
     [](const Paths& p) {
         relocated("", "moved/sms.db")(p);
         fs::create_symlink("../moved/sms.db", p.messages());
     },
     kInside},
    {"DeviceFolderLinkedWithinTheChosenFolder",
     [](const Paths& p) {
         fs::create_directory(p.chosen / ".store");
         fs::rename(p.backup, p.chosen / ".store/device");
         fs::create_symlink(".store/device", p.backup);
     },
     kInside},
    {"ChosenFolderReachedThroughALink",
     [](const Paths& p) {
         fs::rename(p.chosen, p.chosen.parent_path() / "Chosen");
         fs::create_symlink("Chosen", p.chosen);
     },
     kInside}};
INSTANTIATE_TEST_SUITE_P(Links, CraftedBackup, ::testing::ValuesIn(kLinks), rowName<Layout>);
