#include "backup/IPhoneBackupScanner.h"
#include "model/BridgeClientError.h"
#include "model/PlatformError.h"

#include "BackupTestSupport.h"
#include "SampleBackup.h"

#include <gtest/gtest.h>

using namespace quorva;
using quorva::backuptest::TempFolder;
using quorva::backuptest::utc;
using quorva::backuptest::writeFile;

namespace {

samples::SampleBackupPlan deviceBackup(std::string udid, std::optional<Instant> statusDate)
{
    samples::SampleBackupPlan plan;
    plan.udid = std::move(udid);
    plan.statusDate = statusDate;
    plan.lastBackupDate = utc(2020, 1, 1);
    return plan;
}

std::string xmlPlist(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n" + body +
           "</dict>\n</plist>\n";
}

void expectClientError(BridgeClientError::Case expected, const std::function<void()>& action)
{
    try {
        action();
        ADD_FAILURE() << "no error";
    } catch (const BridgeClientError& error) {
        EXPECT_EQ(error.kind(), expected) << error.description();
    }
}

} // namespace

TEST(Discovery, DescribesABackupFromItsPropertyLists)
{
    TempFolder folder;
    auto plan = deviceBackup("00008110-001A2B3C4D5E801E", utc(2024, 5, 2, 21, 30));
    plan.displayName = "Maya\u2019s iPhone";
    plan.deviceName = "iPhone";
    plan.encrypted = true;
    samples::writeSampleBackup(folder / "backup", plan);

    const BackupDescriptor d = IPhoneBackupScanner().describeBackup(folder / "backup");
    EXPECT_EQ(d.id, "00008110-001A2B3C4D5E801E");
    EXPECT_EQ(d.url, folder / "backup");
    EXPECT_EQ(d.deviceName, "Maya\u2019s iPhone");
    EXPECT_EQ(d.productType, "iPhone14,5");
    EXPECT_EQ(d.lastBackupAt, utc(2024, 5, 2, 21, 30)); // Status.plist first
    EXPECT_TRUE(d.isEncrypted);
}

TEST(Discovery, FallsBackPieceByPiece)
{
    TempFolder folder;
    const IPhoneBackupScanner scanner;

    // No Info.plist and no dates: the folder's own name and modification date.
    auto bare = deviceBackup("unused", std::nullopt);
    bare.lastBackupDate.reset();
    bare.writeInfoPlist = false;
    bare.writeManifestPlist = false;
    const auto bareFolder = samples::writeSampleBackup(folder / "3f2a-bare", bare);
    const auto modified = std::filesystem::file_time_type::clock::now() - std::chrono::hours(50);
    std::filesystem::last_write_time(bareFolder, modified);
    BackupDescriptor d = scanner.describeBackup(folder.path() / "3f2a-bare/");
    EXPECT_EQ(d.id, "3f2a-bare");
    EXPECT_EQ(d.deviceName, "iPhone backup");
    EXPECT_EQ(d.productType, std::nullopt);
    ASSERT_TRUE(d.lastBackupAt);
    EXPECT_NEAR(d.lastBackupAt->unixSeconds, Instant::now().unixSeconds - 50 * 3600, 5);
    EXPECT_FALSE(d.isEncrypted);

    // Status.plist without a date: Info.plist's "Last Backup Date"; no "Display Name": "Device Name".
    auto partial = deviceBackup("A1", std::nullopt);
    partial.displayName.reset();
    partial.deviceName = "Old iPhone";
    d = scanner.describeBackup(samples::writeSampleBackup(folder / "partial", partial));
    EXPECT_EQ(d.lastBackupAt, utc(2020, 1, 1));
    EXPECT_EQ(d.deviceName, "Old iPhone");

    // Values of the wrong type count as absent; empty strings are kept.
    const auto odd = folder / "odd";
    samples::writeSampleBackup(odd, deviceBackup("unused", std::nullopt));
    writeFile(odd / "Info.plist",
              xmlPlist("<key>Unique Identifier</key><string></string>\n"
                       "<key>Display Name</key><integer>7</integer>\n"
                       "<key>Device Name</key><string>Fallback name</string>\n"
                       "<key>Product Type</key><true/>\n"
                       "<key>Last Backup Date</key><string>2024-01-01T00:00:00Z</string>\n"));
    writeFile(odd / "Status.plist", "<plist><array><date>2024-01-01T00:00:00Z</date></array></plist>");
    writeFile(odd / "Manifest.plist", xmlPlist("<key>IsEncrypted</key><integer>1</integer>\n"));
    d = scanner.describeBackup(odd);
    EXPECT_EQ(d.id, "");
    EXPECT_EQ(d.deviceName, "Fallback name");
    EXPECT_EQ(d.productType, std::nullopt);
    EXPECT_TRUE(d.isEncrypted); // the integer 1 stands for true

    for (const char* flag : {"<integer>2</integer>", "<string>true</string>", "<integer>-1</integer>"}) {
        writeFile(odd / "Manifest.plist", xmlPlist(std::string("<key>IsEncrypted</key>") + flag + "\n"));
        EXPECT_FALSE(scanner.describeBackup(odd).isEncrypted) << flag;
    }
    writeFile(odd / "Manifest.plist", std::string(4096, '\xA5'));
    writeFile(odd / "Info.plist", "");
    EXPECT_FALSE(scanner.describeBackup(odd).isEncrypted);
    EXPECT_EQ(scanner.describeBackup(odd).id, "odd");
}

TEST(Discovery, ListsBackupSubfoldersNewestFirst)
{
    TempFolder folder;
    samples::writeSampleBackup(folder / "aaa-older", deviceBackup("OLDER", utc(2024, 1, 1)));
    samples::writeSampleBackup(folder / "zzz-newer", deviceBackup("NEWER", utc(2024, 6, 1)));
    samples::writeSampleBackup(folder / "mmm-middle", deviceBackup("MIDDLE", utc(2024, 3, 1)));
    samples::writeSampleBackup(folder / ".hidden", deviceBackup("HIDDEN", utc(2030, 1, 1)));
    std::filesystem::create_directories(folder / "not-a-backup");
    writeFile(folder / "not-a-backup/Info.plist", xmlPlist(""));
    writeFile(folder / "Manifest.db.txt", "a file, not a folder");

    const auto found = IPhoneBackupScanner().backups(folder.path());
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].id, "NEWER");
    EXPECT_EQ(found[1].id, "MIDDLE");
    EXPECT_EQ(found[2].id, "OLDER");
    EXPECT_EQ(found[0].url, folder / "zzz-newer");
}

TEST(Discovery, AFolderThatIsABackupIsTakenAlone)
{
    TempFolder folder;
    samples::writeSampleBackup(folder.path(), deviceBackup("OUTER", utc(2023, 1, 1)));
    samples::writeSampleBackup(folder / "inner", deviceBackup("INNER", utc(2024, 1, 1)));
    const auto found = IPhoneBackupScanner().backups(folder.path());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].id, "OUTER");
}

TEST(Discovery, NoBackupIsAClientErrorAndAnUnlistableFolderAPlatformError)
{
    TempFolder folder;
    const IPhoneBackupScanner scanner;
    expectClientError(BridgeClientError::Case::noBackupFound, [&] { (void)scanner.backups(folder.path()); });
    std::filesystem::create_directories(folder / "empty-device");
    expectClientError(BridgeClientError::Case::noBackupFound, [&] { (void)scanner.backups(folder.path()); });

    const auto missing = folder / "Backup";
    try {
        (void)scanner.backups(missing);
        FAIL() << "no error";
    } catch (const PlatformError& error) {
        EXPECT_EQ(std::string(error.what()), "The folder \u201C" + missing.string() +
                                                 "\u201D could not be opened: No such file or directory.");
    }
    writeFile(folder / "plain-file", "x");
    try {
        (void)scanner.backups(folder / "plain-file");
        FAIL() << "no error";
    } catch (const PlatformError& error) {
        EXPECT_NE(std::string(error.what()).find("Not a directory"), std::string::npos) << error.what();
    }
}
