#include "backup/PropertyList.h"

#include "BackupTestSupport.h"

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cmath>
#include <random>

using quorva::PropertyList;
using namespace quorva::backuptest;

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

std::string repeat(std::string_view piece, int times)
{
    std::string out;
    while (times-- > 0)
        out += piece;
    return out;
}

std::string xmlList(const std::string& value)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>k</key>" + value +
           "</dict></plist>";
}

// <plist> and <dict> are two levels of nesting already.
std::string nestedXml(int arrays)
{
    return xmlList(repeat("<array>", arrays) + repeat("</array>", arrays));
}

// Seventy arrays deep, with closing tags hidden before the deepest point and as many opening tags
// hidden after it: a scanner that reads the hidden tags sees no more than 42 levels.
std::string nestingWithHiddenTags(std::string_view hideStart, std::string_view hideEnd)
{
    const auto hidden = [&](std::string_view tag) {
        return std::string(hideStart) + repeat(tag, 40) + std::string(hideEnd);
    };
    return xmlList(repeat("<array>", 40) + hidden("</array>") + repeat("<array>", 30) +
                   repeat("</array>", 30) + hidden("<array>") + repeat("</array>", 40));
}

std::string keysXml(int count)
{
    std::string keys;
    for (int i = 0; i < count; ++i)
        keys += "<key>" + std::to_string(i) + "</key><true/>";
    return xmlList("<dict>" + keys + "</dict>");
}

// An array holding `times` references to one ASCII string of `size` bytes.
std::string sharedStringBinary(uint32_t size, int times)
{
    const std::string array = "\xAF\x10" + bigEndian(static_cast<uint64_t>(times), 1) +
                              std::string(static_cast<std::size_t>(times), '\x03');
    return binaryPlist({"\xD1\x01\x02", binaryAsciiString("k"), array,
                        "\x5F\x12" + bigEndian(size, 4) + std::string(size, 's')});
}

struct BoundedList {
    const char* name;
    std::string bytes;
    bool readable;
    friend void PrintTo(const BoundedList& list, std::ostream* out) { *out << list.name; }
};

class PropertyListBounds : public ::testing::TestWithParam<BoundedList> {};

} // namespace

TEST_P(PropertyListBounds, AreKeptBeforeTheParserSeesTheList)
{
    EXPECT_EQ(PropertyList::parse(GetParam().bytes).has_value(), GetParam().readable);
}

INSTANTIATE_TEST_SUITE_P(
    Nesting, PropertyListBounds,
    ::testing::Values(
        BoundedList{"XmlAtTheDepthLimit", nestedXml(62), true},
        BoundedList{"XmlPastTheDepthLimit", nestedXml(63), false},
        BoundedList{"BinaryAtTheDepthLimit", binaryArrayChain(62, 1), true},
        BoundedList{"BinaryPastTheDepthLimit", binaryArrayChain(63, 1), false},
        BoundedList{"BinaryArrayHoldingItself", binaryPlist({"\xD1\x01\x02", "\x51k", "\xA1\x02"}), false},
        // Markup the parser skips is not counted, and does not hide markup it reads.
        BoundedList{"XmlDepthInsideCommentsAndCData",
                    xmlList("<!--" + repeat("<array>", 70) + "--><string><![CDATA[" + repeat("<array>", 70) +
                            "]]></string>"),
                    true},
        BoundedList{"XmlTagsInsideComments", nestingWithHiddenTags("<!--", "-->"), false},
        BoundedList{"XmlTagsInsideCData", nestingWithHiddenTags("<string><![CDATA[", "]]></string>"), false},
        BoundedList{"XmlQuotedEndOfAProcessingInstruction",
                    "<?xml version=\"?><!--\"?>" + nestedXml(70) + "<!-- -->", false},
        BoundedList{"XmlQuotedEndOfADocumentType",
                    "<!DOCTYPE plist [ <!ENTITY e \"]><!--\"> ]>" + nestedXml(70) + "<!-- -->", false},
        BoundedList{"XmlQuotedEndOfATag",
                    "<plist version=\"><!--\"><dict><key>k</key>" + repeat("<array>", 70) +
                        repeat("</array>", 70) + "</dict><!-- --></plist>",
                    false},
        BoundedList{"XmlDocumentTypeWithQuotedEnd", "<!DOCTYPE plist [ <!ENTITY e \"]>\"> ]>" + nestedXml(3),
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Size, PropertyListBounds,
    ::testing::Values(BoundedList{"BinaryExpandingToAHundredThousandObjects", binaryArrayChain(5, 10), true},
                      BoundedList{"BinaryExpandingToAMillionObjects", binaryArrayChain(6, 10), false},
                      BoundedList{"BinarySharingAStringTenTimes", sharedStringBinary(1 << 20, 10), true},
                      BoundedList{"BinarySharingAStringTwentyTimes", sharedStringBinary(1 << 20, 20), false},
                      BoundedList{"XmlDictionaryAtTheEntryLimit", keysXml(65536), true},
                      BoundedList{"XmlDictionaryPastTheEntryLimit", keysXml(65537), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PropertyList, DatesThatAreAmbiguousOrOffTheCalendarAreAbsent)
{
    const std::string twice =
        "<key>D</key><date>2024-01-01T00:00:00Z</date><key>D</key><date>2024-01-02T00:00:00Z</date>";
    EXPECT_FALSE(PropertyList::parse("<plist><dict>" + twice + "</dict></plist>")->date("D"));
    EXPECT_FALSE(
        PropertyList::parse(binaryDictionary({{"D", binaryDate(0)}, {"D", binaryDate(1)}}))->date("D"));
    for (const double seconds : {1e300, -1e300, std::nan("")})
        EXPECT_FALSE(PropertyList::parse(binaryDictionary({{"D", binaryDate(seconds)}}))->date("D"))
            << seconds;
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
