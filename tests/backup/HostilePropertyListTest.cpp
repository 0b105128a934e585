// Property lists crafted to hurt the reader, met the way discovery and the scan cycle meet them.
#include "backup/IPhoneBackupScanner.h"
#include "backup/Sha256.h"
#include "model/BridgeClientError.h"
#include "model/Iso8601.h"

#include "BackupTestSupport.h"
#include "SampleBackup.h"

#include <gtest/gtest.h>

using namespace quorva;
using namespace quorva::backuptest;
namespace fs = std::filesystem;

namespace {

std::string repeat(std::string_view piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    while (times-- > 0)
        out += piece;
    return out;
}

std::string xmlPlist(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST "
           "1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n<dict>\n" +
           body + "</dict>\n</plist>\n";
}

std::string deepXml()
{
    return xmlPlist("<key>Display Name</key><string>Deep</string><key>Nested</key>" +
                    repeat("<array>", 1'000'000) + repeat("</array>", 1'000'000));
}

std::string manyKeysXml()
{
    std::string body = "<key>Display Name</key><string>Wide</string><key>Apps</key><dict>";
    for (int i = 0; i < 300'000; ++i)
        body += "<key>app" + std::to_string(i) + "</key><true/>";
    return xmlPlist(body + "</dict>");
}

std::string deepBinary()
{
    return binaryArrayChain(100'000, 1);
}

// 272 bytes that stand for 2^50 arrays.
std::string doublingBinary()
{
    return binaryArrayChain(50, 2);
}

struct HostileList {
    const char* name;
    const char* file;
    std::string (*bytes)();
    friend void PrintTo(const HostileList& list, std::ostream* out) { *out << list.name; }
};

class HostilePropertyList : public ::testing::TestWithParam<HostileList> {};

} // namespace

// The list is passed over, and the backup is described exactly as if the file were not there.
TEST_P(HostilePropertyList, IsTakenAsAbsent)
{
    TempFolder folder;
    samples::SampleBackupPlan plan;
    plan.writeInfoPlist = plan.writeStatusPlist = false;
    const fs::path backup = samples::writeSampleBackup(folder / "3f2a-device", plan);
    writeFile(backup / GetParam().file, GetParam().bytes());
    const auto written = fs::last_write_time(backup);

    const IPhoneBackupScanner scanner;
    const BackupDescriptor hostile = scanner.backups(folder.path()).front();
    fs::remove(backup / GetParam().file);
    fs::last_write_time(backup, written);
    EXPECT_EQ(hostile, scanner.backups(folder.path()).front());
    EXPECT_EQ(hostile.deviceName, "iPhone backup");
}

INSTANTIATE_TEST_SUITE_P(
    Backup, HostilePropertyList,
    ::testing::Values(HostileList{"InfoNestedAMillionDeep", "Info.plist", deepXml},
                      HostileList{"StatusNestedAHundredThousandDeep", "Status.plist", deepBinary},
                      HostileList{"InfoDoublingAtEveryLevel", "Info.plist", doublingBinary},
                      HostileList{"InfoWithThreeHundredThousandKeys", "Info.plist", manyKeysXml}),
    [](const auto& info) { return std::string(info.param.name); });

// Installed apps' metadata and icons make real Info.plists tens of megabytes.
TEST(HostileBackup, ABigInfoPlistStillNamesTheDevice)
{
    TempFolder folder;
    samples::SampleBackupPlan plan;
    plan.writeInfoPlist = false;
    const fs::path backup = samples::writeSampleBackup(folder / "device", plan);
    std::string icon = "\n\t\t";
    for (int line = 0; line < 1500; ++line)
        icon += repeat("iVBORw0KGgo", 6) + "\n\t\t";
    std::string apps;
    for (int app = 0; app < 300; ++app)
        apps += "<key>app.example.number" + std::to_string(app) +
                "</key><dict><key>PlaceholderIcon</key><data>" + icon +
                "</data><key>iTunesMetadata</key><data>" + icon + "</data></dict>\n";
    const std::string info = xmlPlist("<key>Applications</key><dict>" + apps +
                                      "</dict><key>Display Name</key><string>Maya’s iPhone</string>"
                                      "<key>Last Backup Date</key><date>2024-05-02T21:30:00Z</date>");
    ASSERT_GT(info.size(), 20'000'000u);
    writeFile(backup / "Info.plist", info);

    const BackupDescriptor d = IPhoneBackupScanner().backups(folder.path()).front();
    EXPECT_EQ(d.deviceName, "Maya’s iPhone");
    EXPECT_EQ(d.lastBackupAt, utc(2024, 5, 2, 21, 30));
}

namespace {

struct DatedList {
    const char* name;
    const char* file;
    std::string bytes;
    const char* expected;
    friend void PrintTo(const DatedList& list, std::ostream* out) { *out << list.name; }
};

class BackupDate : public ::testing::TestWithParam<DatedList> {};

std::string xmlDate(const char* key, const char* text)
{
    return xmlPlist(std::string("<key>") + key + "</key><date>" + text + "</date>");
}

} // namespace

TEST_P(BackupDate, IsReadAtFullRangeAndPrecision)
{
    TempFolder folder;
    samples::SampleBackupPlan plan;
    plan.writeInfoPlist = plan.writeStatusPlist = false;
    const fs::path backup = samples::writeSampleBackup(folder / "device", plan);
    writeFile(backup / GetParam().file, GetParam().bytes);
    const auto date = IPhoneBackupScanner().backups(folder.path()).front().lastBackupAt;
    ASSERT_TRUE(date);
    EXPECT_EQ(formatInternetDateTime(*date), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Backup, BackupDate,
    ::testing::Values(
        DatedList{"BinaryStatusIn2070", "Status.plist",
                  binaryDictionary({{"Date", binaryDate(2177452800.0)}}), "2070-01-01T00:00:00.000Z"},
        DatedList{"BinaryStatusIn1900", "Status.plist",
                  binaryDictionary({{"Date", binaryDate(-3187296000.0)}}), "1900-01-01T00:00:00.000Z"},
        DatedList{"BinaryStatusJustBefore2001", "Status.plist",
                  binaryDictionary({{"Date", binaryDate(-0.75)}}), "2000-12-31T23:59:59.250Z"},
        DatedList{"BinaryStatusSecondsBefore2001", "Status.plist",
                  binaryDictionary({{"Date", binaryDate(-1.75)}}), "2000-12-31T23:59:58.250Z"},
        DatedList{"XmlStatusIn2070", "Status.plist", xmlDate("Date", "2070-01-01T00:00:00Z"),
                  "2070-01-01T00:00:00.000Z"},
        DatedList{"XmlInfoIn1900", "Info.plist", xmlDate("Last Backup Date", "1900-01-01T00:00:00Z"),
                  "1900-01-01T00:00:00.000Z"},
        DatedList{"XmlInfoJustBefore2001", "Info.plist",
                  xmlDate("Last Backup Date", "2000-12-31T23:59:59.250Z"), "2000-12-31T23:59:59.250Z"},
        DatedList{"BinaryInfoIn2070", "Info.plist",
                  binaryDictionary({{"Last Backup Date", binaryDate(2177452800.0)}}),
                  "2070-01-01T00:00:00.000Z"}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct UndecodableText {
    const char* name;
    std::string info; // Info.plist, or empty for none
    const char* folder;
    const char* id;
    const char* deviceName;
    friend void PrintTo(const UndecodableText& text, std::ostream* out) { *out << text.name; }
};

class UndecodableBackupText : public ::testing::TestWithParam<UndecodableText> {};

} // namespace

// Names that are not UTF-8 are repaired as message texts are, so that the scan can send them.
TEST_P(UndecodableBackupText, IsRepaired)
{
    TempFolder folder;
    samples::SampleBackupPlan plan;
    plan.writeInfoPlist = false;
    samples::SampleMessage message;
    message.text = "Send money now";
    message.date = Instant::now();
    plan.messages = {message};
    const fs::path backup = samples::writeSampleBackup(folder / GetParam().folder, plan);
    if (!GetParam().info.empty())
        writeFile(backup / "Info.plist", GetParam().info);

    const IPhoneBackupScanner scanner;
    const BackupDescriptor d = scanner.backups(folder.path()).front();
    EXPECT_EQ(d.id, GetParam().id);
    EXPECT_EQ(d.deviceName, GetParam().deviceName);
    const auto candidates = scanner.scan(d, Instant::now()).candidates;
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(candidates[0].id, sha256Hex(std::string(GetParam().id) + "|1|Send money now"));
}

INSTANTIATE_TEST_SUITE_P(
    Backup, UndecodableBackupText,
    ::testing::Values(UndecodableText{"Xml",
                                      xmlPlist("<key>Unique Identifier</key><string>0A\xC3</string>"
                                               "<key>Display Name</key><string>Maya\xFFs iPhone</string>"),
                                      "device", "0A\uFFFD", "Maya\uFFFDs iPhone"},
                      UndecodableText{"BinaryAscii",
                                      binaryDictionary({{"Unique Identifier", binaryAsciiString("0A\xC3")},
                                                        {"Device Name", binaryAsciiString("Maya\xFFs")}}),
                                      "device", "0A\uFFFD", "Maya\uFFFDs"},
                      UndecodableText{"FolderName", "", "device\xE9", "device\uFFFD", "iPhone backup"}),
    [](const auto& info) { return std::string(info.param.name); });
