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

std::string xmlPlist(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n<dict>\n" +
           body + "</dict>\n</plist>\n";
}

} // namespace

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
    ::testing::Values(
        UndecodableText{"Xml",
                        xmlPlist("<key>Unique Identifier</key><string>0A\xC3</string>"
                                 "<key>Display Name</key><string>Maya\xFFs iPhone</string>"),
                        "device", "0A\uFFFD", "Maya\uFFFDs iPhone"},
        UndecodableText{"BinaryAscii",
                        binaryDictionary({{"Unique Identifier", binaryAsciiString("0A\xC3")},
                                          {"Device Name", binaryAsciiString("Maya\xFFs")}}),
                        "device", "0A\uFFFD", "Maya\uFFFDs"},
        UndecodableText{"FolderName", "", "device\xE9", "device\uFFFD", "iPhone backup"}),
    [](const auto& info) { return std::string(info.param.name); });
