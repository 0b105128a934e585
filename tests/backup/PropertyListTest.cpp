#include "backup/PropertyList.h"

#include "BackupTestSupport.h"

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <random>

using quorva::Instant;
using quorva::PropertyList;

namespace {

enum class Encoding { xml, binary };

// A dictionary of every value type, encoded by the platform library itself.
std::string sampleDictionary(Encoding encoding)
{
    plist_t dict = plist_new_dict();
    plist_dict_set_item(dict, "Name", plist_new_string("Maya\u2019s iPhone"));
    plist_dict_set_item(dict, "When", plist_new_date(700000000, 250000));
    plist_dict_set_item(dict, "Flag", plist_new_bool(1));
    plist_dict_set_item(dict, "Count", plist_new_uint(static_cast<uint64_t>(-5)));
    plist_dict_set_item(dict, "List", plist_new_array());
    char* bytes = nullptr;
    uint32_t length = 0;
    std::string out;
    if (encoding == Encoding::xml) {
        plist_to_xml(dict, &bytes, &length);
        out.assign(bytes, length);
        plist_to_xml_free(bytes);
    } else {
        plist_to_bin(dict, &bytes, &length);
        out.assign(bytes, length);
        plist_to_bin_free(bytes);
    }
    plist_free(dict);
    return out;
}

} // namespace

TEST(PropertyList, ReadsTypedValuesFromXmlAndBinary)
{
    for (const Encoding encoding : {Encoding::xml, Encoding::binary}) {
        SCOPED_TRACE(encoding == Encoding::xml ? "xml" : "binary");
        const auto list = PropertyList::parse(sampleDictionary(encoding));
        ASSERT_TRUE(list);
        EXPECT_EQ(list->string("Name"), "Maya\u2019s iPhone");
        EXPECT_EQ(list->boolean("Flag"), true);
        EXPECT_EQ(list->integer("Count"), -5);
        // Wrong types and missing keys answer nothing.
        EXPECT_FALSE(list->string("Flag"));
        EXPECT_FALSE(list->date("Name"));
        EXPECT_FALSE(list->boolean("Count"));
        EXPECT_FALSE(list->integer("List"));
        EXPECT_FALSE(list->string("Missing"));
    }
    // Binary dates keep their fraction of a second.
    const auto binary = PropertyList::parse(sampleDictionary(Encoding::binary));
    EXPECT_EQ(binary->date("When"), Instant::fromReferenceSeconds(700000000.25));
    const auto xml = PropertyList::parse(sampleDictionary(Encoding::xml));
    ASSERT_TRUE(xml->date("When"));
    EXPECT_NEAR(xml->date("When")->unixSeconds, Instant::fromReferenceSeconds(700000000).unixSeconds, 1.0);
}

TEST(PropertyList, ReadsAHandWrittenXmlFile)
{
    const auto list = PropertyList::parse(R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
  <key>CFBundleShortVersionString</key><string>0.1.0</string>
  <key>Last Backup Date</key><date>2024-03-01T08:15:30Z</date>
  <key>IsEncrypted</key><false/>
</dict>
</plist>)");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->string("CFBundleShortVersionString"), "0.1.0");
    EXPECT_EQ(list->date("Last Backup Date"), quorva::backuptest::utc(2024, 3, 1, 8, 15, 30));
    EXPECT_EQ(list->boolean("IsEncrypted"), false);
}

TEST(PropertyList, AnythingButADictionaryIsAbsent)
{
    EXPECT_FALSE(PropertyList::parse(""));
    EXPECT_FALSE(PropertyList::parse("<plist><array><string>x</string></array></plist>"));
    EXPECT_FALSE(PropertyList::parse("<plist><string>x</string></plist>"));
    EXPECT_FALSE(PropertyList::parse("<plist><dict><key>a</key>"));
    EXPECT_FALSE(PropertyList::parse("bplist00"));
    EXPECT_FALSE(PropertyList::parse("not a property list at all"));

    // Every cut of a valid encoding, and random bytes, parse to nothing or to a dictionary;
    // none may crash (the sanitizer build checks the reads).
    for (const Encoding encoding : {Encoding::xml, Encoding::binary}) {
        const std::string whole = sampleDictionary(encoding);
        for (std::size_t length = 0; length < whole.size(); ++length)
            (void)PropertyList::parse(std::string_view(whole).substr(0, length));
    }
    std::mt19937 random(7);
    std::string bytes;
    for (int round = 0; round < 300; ++round) {
        bytes.assign(static_cast<std::size_t>(random() % 300), '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        if (round % 2 == 0)
            bytes.replace(0, std::min<std::size_t>(8, bytes.size()), "bplist00");
        (void)PropertyList::parse(bytes);
    }
}

TEST(PropertyList, ReadsOnlyWholeRegularFiles)
{
    quorva::backuptest::TempFolder folder;
    quorva::backuptest::writeFile(folder / "Info.plist", sampleDictionary(Encoding::binary));
    const auto list = PropertyList::readFile(folder / "Info.plist");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->string("Name"), "Maya\u2019s iPhone");

    EXPECT_FALSE(PropertyList::readFile(folder / "Missing.plist"));
    std::filesystem::create_directory(folder / "Folder.plist");
    EXPECT_FALSE(PropertyList::readFile(folder / "Folder.plist"));
}
