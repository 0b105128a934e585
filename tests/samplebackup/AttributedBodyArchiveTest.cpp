#include "SampleBackup.h"
#include "SampleTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace quorva::samples;
using namespace quorva::samples::testing;

namespace {

// An archive a device wrote for "Test 3".
constexpr std::string_view kDeviceArchive =
    "040B73747265616D747970656481E803840140848484124E5341747472696275746564537472696E67008484084E534F626A6563"
    "74008592848484084E53537472696E67019484012B0654657374203386840269490106928484840C4E5344696374696F6E6172"
    "7900948401690292849696265F5F6B494D4261736557726974696E67446972656374696F6E4174747269627574654E616D6586"
    "92848484084E534E756D626572008484074E5356616C7565009484012A848401719DFF86928496961D5F5F6B494D4D65737361"
    "6765506172744174747269627574654E616D658692849B9C9D9D00868686";

std::vector<uint8_t> bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

std::vector<uint8_t> concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// Where `needle` starts in `haystack`, or -1.
long find(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& needle)
{
    const auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end());
    return it == haystack.end() ? -1 : it - haystack.begin();
}

// The bytes right after the string's length field and content, i.e. "86 84 02 69 49 01 <run>".
std::vector<uint8_t> afterText(const std::vector<uint8_t>& archive, std::string_view text)
{
    const long at = find(archive, bytes(text));
    if (at < 0)
        return {};
    return {archive.begin() + at + static_cast<long>(text.size()), archive.end()};
}

} // namespace

TEST(AttributedBodyArchive, MatchesADeviceArchiveByteForByte)
{
    const std::vector<uint8_t> expected = fromHex(kDeviceArchive);
    ASSERT_EQ(expected.size(), 235u);
    EXPECT_EQ(archiveAttributedString("Test 3", ArchivedClasses::immutableStrings), expected);
}

TEST(AttributedBodyArchive, MutableClassChainReferencesItsOwnClasses)
{
    const std::vector<uint8_t> archive = archiveAttributedString("Running late");
    const std::vector<uint8_t> head = concat({
        fromHex("040B"),
        bytes("streamtyped"),
        fromHex("81E80384014084848419"),
        bytes("NSMutableAttributedString"),
        fromHex("00848412"),
        bytes("NSAttributedString"),
        fromHex("00848408"),
        bytes("NSObject"),
        fromHex("0085928484840F"),
        bytes("NSMutableString"),
        fromHex("01848408"),
        bytes("NSString"),
        // NSObject is the fourth object of this archive, hence reference 0x95.
        fromHex("019584012B0C"),
        bytes("Running late"),
        fromHex("8684026949010C"),
    });
    ASSERT_GE(archive.size(), head.size());
    EXPECT_EQ(std::vector<uint8_t>(archive.begin(), archive.begin() + static_cast<long>(head.size())), head);
    EXPECT_GE(find(archive, bytes("__kIMMessagePartAttributeName")), 0);
    EXPECT_EQ(std::vector<uint8_t>(archive.end() - 3, archive.end()), fromHex("868686"));
}

TEST(AttributedBodyArchive, LengthCountsBytesAndRunCountsUtf16Units)
{
    // "é" is 2 bytes and 1 unit, "😀" 4 bytes and 2 units.
    const std::string accented = "é😀";
    EXPECT_GE(find(archiveAttributedString(accented), concat({fromHex("2B06"), bytes(accented)})), 0);
    EXPECT_EQ(afterText(archiveAttributedString(accented), accented)[6], 0x03);

    const std::string longest1 = std::string(127, 'a');
    EXPECT_GE(find(archiveAttributedString(longest1), concat({fromHex("2B7F"), bytes(longest1)})), 0);

    const std::string first2 = std::string(128, 'b');
    const auto archive128 = archiveAttributedString(first2);
    EXPECT_GE(find(archive128, concat({fromHex("2B818000"), bytes(first2)})), 0);
    const std::vector<uint8_t> tail = afterText(archive128, first2);
    ASSERT_GE(tail.size(), 9u);
    EXPECT_EQ(std::vector<uint8_t>(tail.begin(), tail.begin() + 9), fromHex("868402694901818000"));

    const std::string huge = std::string(70000, 'c');
    EXPECT_GE(find(archiveAttributedString(huge), concat({fromHex("2B8270110100"), bytes(huge)})), 0);

    const auto empty = archiveAttributedString("");
    EXPECT_GE(find(empty, fromHex("84012B0086840269490100")), 0);
}
