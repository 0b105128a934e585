// Discovery: which backups a chosen folder holds, and how each is described from its property
// lists, hostile ones included.
#include "model/Iso8601.h"
#include "model/PlatformError.h"

#include "BackupTestSupport.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <set>
#include <tuple>

using namespace quorva;
using namespace quorva::backuptest;
using namespace std::string_literals;

namespace {

// Binary property lists written byte by byte, for lists no well-behaved writer makes.
std::string bigEndian(uint64_t value, int size)
{
    std::string bytes(static_cast<std::size_t>(size), '\0');
    for (int i = size - 1; i >= 0; --i, value >>= 8)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
    return bytes;
}

// The objects (the first is the top one), as if `gap` bytes lay between them and the header.
std::string binaryPlist(const std::vector<std::string>& objects, int refSize = 1, uint64_t gap = 0)
{
    std::string out = "bplist00";
    std::vector<uint64_t> offsets;
    for (const std::string& object : objects) {
        offsets.push_back(gap + out.size());
        out += object;
    }
    const int offsetSize = gap + out.size() < 0x100 ? 1 : gap + out.size() < 0x10000 ? 2 : 4;
    const uint64_t table = gap + out.size();
    for (const uint64_t offset : offsets)
        out += bigEndian(offset, offsetSize);
    out += std::string(6, '\0') + char(offsetSize) + char(refSize);
    return out + bigEndian(objects.size(), 8) + bigEndian(0, 8) + bigEndian(table, 8);
}

std::string ascii(std::string_view bytes)
{
    return char(0x50 + bytes.size()) + std::string(bytes);
}

std::string binaryDate(double secondsSince2001)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &secondsSince2001, sizeof bits);
    return "\x33" + bigEndian(bits, 8);
}

// {"Date": 700000000 s after 2001, "Nested": a chain of `depth` arrays}, each array holding `fanOut`
// (below 15) references to the next and the last an empty one: a tree of fanOut^depth empty arrays.
std::string binaryArrayChain(int depth, int fanOut)
{
    const int refSize = depth + 5 < 0x100 ? 1 : 4;
    const auto ref = [&](int index) { return bigEndian(static_cast<uint64_t>(index), refSize); };
    std::vector<std::string> objects = {"\xD2" + ref(1) + ref(2) + ref(3) + ref(4), ascii("Date"),
                                        ascii("Nested"), binaryDate(7e8)};
    for (int level = 0; level < depth; ++level)
        objects.push_back(char(0xA0 + fanOut) + repeat(ref(5 + level), static_cast<std::size_t>(fanOut)));
    objects.push_back("\xA0");
    return binaryPlist(objects, refSize);
}

// Made when the row runs, for lists of megabytes.
struct Bytes {
    Bytes(const char* bytes) : Bytes(std::string(bytes)) {}
    Bytes(std::string bytes) : make([bytes = std::move(bytes)] { return bytes; }) {}
    Bytes(std::string (*maker)()) : make(maker) {}
    std::function<std::string()> make;
};

using Lists = std::vector<std::pair<const char*, Bytes>>; // file name, content
const auto infoPlist = [](Bytes bytes) { return Lists{{"Info.plist", std::move(bytes)}}; };
const auto statusPlist = [](Bytes bytes) { return Lists{{"Status.plist", std::move(bytes)}}; };
const auto manifestPlist = [](Bytes bytes) { return Lists{{"Manifest.plist", std::move(bytes)}}; };

// The property lists written into a backup folder, and the backup as discovery then describes it.
struct Described {
    const char* name;
    Lists lists;
    std::string described; // id | device name | product type | last backup | encrypted
    const char* folder = "3f2a-device";
    std::uintmax_t spreadOutInfo = 0; // an Info.plist whose objects lie this many bytes past its header
    friend void PrintTo(const Described& row, std::ostream* out) { *out << row.name; }
};

const Instant kFolderDate = utc(2021, 2, 3);
const auto dated = [](const std::string& date) { return "3f2a-device | iPhone backup | - | " + date; };
const std::string kBare = dated("folder date");
const std::string kRead = "3f2a-device | Read | - | folder date";
const std::string kDated = dated("2023-03-08T20:26:40.000Z"); // binaryArrayChain

std::string summary(const BackupDescriptor& d)
{
    const std::string date = !d.lastBackupAt                 ? "-"
                             : d.lastBackupAt == kFolderDate ? "folder date"
                                                             : formatInternetDateTime(*d.lastBackupAt);
    return d.id + " | " + d.deviceName + " | " + d.productType.value_or("-") + " | " + date +
           (d.isEncrypted ? " | encrypted" : "");
}

// A list named "Read" around `value`, without a document type: the survey reads markup before it.
const auto namedList = [](const std::string& value) {
    return xmlPlist("<key>Display Name</key><string>Read</string><key>k</key>" + value);
};
// <plist> and <dict> are two levels of nesting already.
const auto nestedXml = [](int arrays) {
    return namedList(repeat("<array>", arrays) + repeat("</array>", arrays));
};

// Seventy arrays deep, with closing tags hidden before the deepest point and as many opening tags
// hidden after it: a scanner that reads the hidden tags sees no more than 42 levels.
std::string nestingWithHiddenTags(std::string_view hideStart, std::string_view hideEnd)
{
    const auto hidden = [&](std::string_view tag) {
        return std::string(hideStart) + repeat(tag, 40) + std::string(hideEnd);
    };
    return namedList(repeat("<array>", 40) + hidden("</array>") + repeat("<array>", 30) +
                     repeat("</array>", 30) + hidden("<array>") + repeat("</array>", 40));
}

std::string keysXml(int count)
{
    std::string keys;
    for (int i = 0; i < count; ++i)
        keys += "<key>" + std::to_string(i) + "</key><true/>";
    return namedList("<dict>" + keys + "</dict>");
}

// {"Display Name": "Read", "k": the first of `objects`}, binary.
std::string namedBinary(std::vector<std::string> objects)
{
    objects.insert(objects.begin(),
                   {"\xD2\x01\x02\x03\x04", ascii("Display Name"), ascii("k"), ascii("Read")});
    return binaryPlist(objects);
}

// "k": an array holding `times` references to one string of a megabyte.
std::string sharedStringBinary(int times)
{
    return namedBinary({"\xAF\x10" + bigEndian(static_cast<uint64_t>(times), 1) + repeat("\x05", times),
                        "\x5F\x12" + bigEndian(1 << 20, 4) + std::string(1 << 20, 's')});
}

const auto xmlEntry = [](const std::string& key, const std::string& value) {
    return xmlPlist("<key>" + key + "</key>" + value);
};
const auto binaryEntry = [](std::string_view key, const std::string& value) {
    return binaryPlist({"\xD1\x01\x02", ascii(key), value});
};
const auto binaryStatus = [](double secondsSince2001) {
    return binaryEntry("Date", binaryDate(secondsSince2001));
};

// {"Display Name": "Read"} whose objects follow `gap` bytes of nothing, written as a sparse file.
void writeSpreadOutInfo(const fs::path& file, uint64_t gap)
{
    const std::string list = binaryPlist({"\xD1\x01\x02", ascii("Display Name"), ascii("Read")}, 1, gap);
    std::ofstream out(file, std::ios::binary);
    out << list.substr(0, 8);
    out.seekp(static_cast<std::streamoff>(8 + gap));
    out << list.substr(8);
}

// A sample backup of the device `udid` in `folder`, its status dated `date`.
void writeDated(const fs::path& folder, const std::string& udid, std::optional<Instant> date)
{
    samples::SampleBackupPlan plan;
    plan.udid = udid;
    plan.statusDate = date;
    samples::writeSampleBackup(folder, plan);
}

class DescribedBackup : public ::testing::TestWithParam<Described> {};

} // namespace

TEST_P(DescribedBackup, FromWhatItsPropertyListsHold)
{
    const Described& row = GetParam();
    TempFolder folder;
    samples::SampleBackupPlan plan;
    plan.writeInfoPlist = plan.writeStatusPlist = plan.writeManifestPlist = false;
    const fs::path backup = samples::writeSampleBackup(folder / row.folder, plan);
    for (const auto& [file, bytes] : row.lists)
        writeFile(backup / file, bytes.make());
    if (row.spreadOutInfo > 0)
        writeSpreadOutInfo(backup / "Info.plist", row.spreadOutInfo);
    fs::last_write_time(backup, std::chrono::file_clock::from_sys(std::chrono::sys_seconds(
                                    std::chrono::seconds(static_cast<int64_t>(kFolderDate.unixSeconds)))));
    EXPECT_EQ(summary(IPhoneBackupScanner().backups(folder.path()).front()), row.described);
}

const std::vector<Described> kFields = {
    {"EveryFieldFromItsList",
     {{"Info.plist", xmlPlist("<key>Unique Identifier</key><string>00008110-001A2B3C4D5E801E</string>"
                              "<key>Display Name</key><string>Maya’s iPhone</string><key>Device Name</key>"
                              "<string>iPhone</string><key>Product Type</key><string>iPhone14,5</string>"
                              "<key>Last Backup Date</key><date>2020-01-01T00:00:00Z</date>")},
      {"Status.plist", binaryStatus(736378200)},
      {"Manifest.plist", binaryEntry("IsEncrypted", "\x09")}},
     "00008110-001A2B3C4D5E801E | Maya’s iPhone | iPhone14,5 | 2024-05-02T21:30:00.000Z | encrypted"},
    {"StatusWithoutADateGivesWayToInfo",
     {{"Info.plist", xmlEntry("Last Backup Date", "<date>2020-01-01T00:00:00Z</date>")},
      {"Status.plist", binaryEntry("Version", ascii("3.3"))}},
     dated("2020-01-01T00:00:00.000Z")},
    {"ValuesOfAnotherTypeCountAsAbsentAndEmptyStringsAsGiven",
     {{"Info.plist",
       xmlPlist("<key>Unique Identifier</key><string></string><key>Display Name</key><integer>7"
                "</integer><key>Device Name</key><string>Fallback</string><key>Product Type"
                "</key><true/><key>Last Backup Date</key><string>2024-01-01T00:00:00Z</string>")},
      {"Manifest.plist", xmlEntry("IsEncrypted", "<string>true</string>")}},
     " | Fallback | - | folder date"},
    {"UnreadableLists", {{"Info.plist", ""}, {"Manifest.plist", repeat("\xA5", 4096)}}, kBare},
    {"EncryptedAsTheInteger1", manifestPlist(xmlEntry("IsEncrypted", "<integer>1</integer>")),
     kBare + " | encrypted"},
    // Names that are not UTF-8 are repaired as message texts are, so that the scan can send them.
    {"NamesNotUtf8",
     infoPlist(xmlPlist("<key>Unique Identifier</key><string>0A\xC3</string>"
                        "<key>Display Name</key><string>Maya\xFFs iPhone</string>")),
     "0A\uFFFD | Maya\uFFFDs iPhone | - | folder date"},
    {"FolderNameNotUtf8", {}, "device\uFFFD | iPhone backup | - | folder date", "device\xE9"}};
INSTANTIATE_TEST_SUITE_P(Fields, DescribedBackup, ::testing::ValuesIn(kFields), rowName<Described>);

// Dates at full range and precision; one that is ambiguous or off the calendar is absent.
const std::vector<Described> kDates = {
    {"BinaryIn2070", statusPlist(binaryStatus(2177452800.0)), dated("2070-01-01T00:00:00.000Z")},
    {"BinaryJustBefore2001", statusPlist(binaryStatus(-0.75)), dated("2000-12-31T23:59:59.250Z")},
    {"BinaryUnderAUtf16Key", statusPlist(binaryPlist({"\xD1\x01\x02", "\x64\0D\0a\0t\0e"s, binaryDate(0.5)})),
     dated("2001-01-01T00:00:00.500Z")},
    {"BinaryReferencesOfEightBytes",
     statusPlist(
         binaryPlist({"\xD1" + bigEndian(1, 8) + bigEndian(2, 8), ascii("Date"), binaryDate(0.5)}, 8)),
     dated("2001-01-01T00:00:00.500Z")},
    {"XmlIn2070", statusPlist(xmlEntry("Date", "<date>2070-01-01T00:00:00Z</date>")),
     dated("2070-01-01T00:00:00.000Z")},
    {"XmlJustBefore2001", infoPlist(xmlEntry("Last Backup Date", "<date>2000-12-31T23:59:59.250Z</date>")),
     dated("2000-12-31T23:59:59.250Z")},
    {"XmlWrittenTwice",
     statusPlist(xmlPlist("<key>Date</key><date>2024-01-01T00:00:00Z</date>"
                          "<key>Date</key><date>2024-01-02T00:00:00Z</date>")),
     kBare},
    {"BinaryWrittenTwice",
     statusPlist(
         binaryPlist({"\xD2\x01\x02\x03\x04", ascii("Date"), ascii("Date"), binaryDate(0), binaryDate(1)})),
     kBare},
    {"AfterTheCalendar", statusPlist(binaryStatus(1e300)), kBare},
    {"BeforeTheCalendar", statusPlist(binaryStatus(-1e300)), kBare},
    {"NotANumber", statusPlist(binaryStatus(std::nan(""))), kBare}};
INSTANTIATE_TEST_SUITE_P(Dates, DescribedBackup, ::testing::ValuesIn(kDates), rowName<Described>);

// Lists crafted to exhaust the stack or the memory of the platform parser are passed over whole.
const std::vector<Described> kHostile = {
    {"StatusNestedAHundredThousandDeep", statusPlist(binaryArrayChain(100'000, 1)), kBare},
    {"InfoDoublingAtEveryLevel", infoPlist(binaryArrayChain(50, 2)), kBare}, // 272 bytes, 2^50 arrays
    // Real lists run to tens of megabytes; one of over 256 MiB is not read at all.
    {"InfoOfTensOfMegabytes", {}, kRead, "3f2a-device", std::uintmax_t{32} << 20},
    {"InfoAByteOverTheSizeCap", {}, kBare, "3f2a-device", (std::uintmax_t{256} << 20) - 72},
    {"XmlAtTheDepthLimit", infoPlist(nestedXml(62)), kRead},
    {"XmlPastTheDepthLimit", infoPlist(nestedXml(63)), kBare},
    {"BinaryAtTheDepthLimit", statusPlist(binaryArrayChain(62, 1)), kDated},
    {"BinaryPastTheDepthLimit", statusPlist(binaryArrayChain(63, 1)), kBare},
    {"BinaryArrayHoldingItself", infoPlist(binaryPlist({"\xD1\x01\x02", "\x51k", "\xA1\x02"})), kBare},
    {"BinaryExpandingToAHundredThousandObjects", statusPlist(binaryArrayChain(5, 10)), kDated},
    {"BinaryExpandingToAMillionObjects", statusPlist(binaryArrayChain(6, 10)), kBare},
    {"BinarySharingAStringTenTimes", infoPlist(+[] { return sharedStringBinary(10); }), kRead},
    {"BinarySharingAStringTwentyTimes", infoPlist(+[] { return sharedStringBinary(20); }), kBare},
    {"BinaryCountInEightBytes", infoPlist(namedBinary({"\xAF\x13" + bigEndian(1, 8) + "\x03"})), kRead},
    {"BinaryCountInSixteenBytes",
     infoPlist(namedBinary({"\xAF\x14" + bigEndian(0, 8) + bigEndian(1, 8) + "\x03"})), kBare},
    {"XmlDictionaryAtTheEntryLimit", infoPlist(+[] { return keysXml(65536); }), kRead},
    {"XmlDictionaryPastTheEntryLimit", infoPlist(+[] { return keysXml(65537); }), kBare},
    // Markup the parser skips is not counted, and does not hide markup it reads.
    {"XmlDepthInsideCommentsAndCData",
     infoPlist(namedList("<!--" + repeat("<array>", 70) + "--><string><![CDATA[" + repeat("<array>", 70) +
                         "]]></string>")),
     kRead},
    {"XmlTagsInsideComments", infoPlist(nestingWithHiddenTags("<!--", "-->")), kBare},
    {"XmlTagsInsideCData", infoPlist(nestingWithHiddenTags("<string><![CDATA[", "]]></string>")), kBare},
    {"XmlQuotedEndOfAProcessingInstruction",
     infoPlist("<?xml version=\"?><!--\"?>" + nestedXml(70) + "<!-- -->"), kBare},
    {"XmlQuotedEndOfADocumentType",
     infoPlist("<!DOCTYPE plist [ <!ENTITY e \"]><!--\"> ]>" + nestedXml(70) + "<!-- -->"), kBare},
    {"XmlQuotedEndOfATag",
     infoPlist("<plist version=\"><!--\"><dict><key>Display Name</key><string>Read</string><key>k</key>" +
               repeat("<array>", 70) + repeat("</array>", 70) + "</dict><!-- --></plist>"),
     kBare},
    {"XmlDocumentTypeWithQuotedEnd", infoPlist("<!DOCTYPE plist [ <!ENTITY e \"]>\"> ]>" + nestedXml(3)),
     kRead}};

INSTANTIATE_TEST_SUITE_P(Hostile, DescribedBackup, ::testing::ValuesIn(kHostile), rowName<Described>);

TEST(Discovery, ListsBackupSubfoldersNewestFirstThenUndatedOnesInListingOrder)
{
    TempFolder folder;
    for (const auto& [name, date] :
         std::vector<std::pair<std::string, std::optional<Instant>>>{{"older", utc(2024, 1, 1)},
                                                                     {"newer", utc(2024, 6, 1)},
                                                                     {"middle", utc(2024, 3, 1)},
                                                                     {".hidden", utc(2030, 1, 1)},
                                                                     {"undated-1", {}},
                                                                     {"undated-2", {}}})
        writeDated(folder / name, name, date);
    writeFile(folder / "not-a-backup/Info.plist", xmlPlist(""));
    writeFile(folder / "plain-file", "Manifest.db");

    std::vector<std::string> expected = {"newer", "middle", "older"};
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 3650);
    for (const auto& entry : fs::directory_iterator(folder.path())) // undated: all of one folder date
        if (const std::string name = entry.path().filename().string(); name.starts_with("undated")) {
            fs::last_write_time(entry.path(), longAgo);
            expected.push_back(name);
        }
    std::vector<std::string> found;
    for (const BackupDescriptor& backup : IPhoneBackupScanner().backups(folder.path()))
        found.push_back(backup.id);
    EXPECT_EQ(found, expected);
    // A folder that cannot be listed is a failure of the platform, not a folder without backups.
    EXPECT_THROW((void)IPhoneBackupScanner().backups(folder / "Backup"), PlatformError);
}

// A device's folder whose first backup is still in its Snapshot folder is that device's backup,
// being written; Snapshot is never a device of its own, whichever folder is chosen.
TEST(Discovery, ASnapshotFolderMakesItsDevicesFolderABackupBeingWritten)
{
    TempFolder folder;
    writeDated(folder / "FINISHED", "FINISHED", utc(2024, 1, 1));
    writeDated(folder / "WRITING" / "Snapshot", "WRITING", utc(2024, 6, 1));
    fs::create_directories(folder / "NAMELESS" / "Snapshot");

    std::vector<std::tuple<std::string, std::string, bool>> found;
    for (const fs::path& chosen : {folder.path(), folder / "WRITING", folder / "NAMELESS"})
        for (const BackupDescriptor& backup : IPhoneBackupScanner().backups(chosen))
            found.emplace_back(backup.id, backup.url.filename().string(), backup.isBeingWritten);
    using Found = std::tuple<std::string, std::string, bool>;
    const std::set<Found> inParent(found.begin(), found.end() - 2);
    EXPECT_EQ(inParent, (std::set<Found>{{"WRITING", "WRITING", true},
                                         {"FINISHED", "FINISHED", false},
                                         {"NAMELESS", "NAMELESS", true}}));
    EXPECT_EQ(found[found.size() - 2], (Found{"WRITING", "WRITING", true}));
    EXPECT_EQ(found.back(), (Found{"NAMELESS", "NAMELESS", true}));
}

// A wording, translated ones included, is filled in only where it names an argument it has.
TEST(Wording, FillsInOnlyTheArgumentsItHas)
{
    EXPECT_EQ(filledIn({"100% of %1, not %2 or 5%3", {"a1"}}), "100% of a1, not %2 or 5%3");
}
