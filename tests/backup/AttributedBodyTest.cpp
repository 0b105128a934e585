#include "backup/MessagesReader.h"
#include "backup/TypedStream.h"

#include "BackupTestSupport.h"
#include "SampleBackup.h"

#include <gtest/gtest.h>

#include <random>

using quorva::firstArchivedString;
using quorva::MessagesReader;
using quorva::backuptest::bytesFromHex;

namespace {

// A real archive from a device; its text is "Test 3".
const std::string kTest3Archive = bytesFromHex(
    "040B73747265616D747970656481E803840140848484124E5341747472696275746564537472696E67008484084E534F626A6563"
    "74008592848484084E53537472696E67019484012B0654657374203386840269490106928484840C4E5344696374696F6E617279"
    "00948401690292849696265F5F6B494D4261736557726974696E67446972656374696F6E4174747269627574654E616D65869284"
    "8484084E534E756D626572008484074E5356616C7565009484012A848401719DFF86928496961D5F5F6B494D4D65737361676550"
    "6172744174747269627574654E616D658692849B9C9D9D00868686");

std::string asString(const std::vector<uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

std::string joinedByZeroBytes(std::initializer_list<std::string_view> pieces)
{
    std::string blob;
    for (const auto piece : pieces) {
        blob.append(piece);
        blob.push_back('\0');
    }
    return blob;
}

} // namespace

TEST(AttributedBody, TheLongestHumanLookingPieceWinsAndTheEarlierOnATie)
{
    EXPECT_EQ(MessagesReader::attributedBodyText(
                  joinedByZeroBytes({"NSAttributedString", "1234", "Hi", "See you at 5", "Running late"})),
              "See you at 5");
    // Control, format and white-space characters at the ends do not count towards the length.
    EXPECT_EQ(MessagesReader::attributedBodyText(
                  joinedByZeroBytes({"\x01\x02+Hello friend\x86", "\x12\tHello there!\n"})),
              "Hello there!");
    // Pieces that are not UTF-8 are passed over; a piece must hold four user-perceived characters.
    EXPECT_EQ(MessagesReader::attributedBodyText(
                  joinedByZeroBytes({"Abc\xFF\xFE long piece", "e\u0301e\u0301e\u0301"})),
              std::nullopt);
    EXPECT_EQ(MessagesReader::attributedBodyText(joinedByZeroBytes({"NSString", "12345", "\u200B\u200B"})),
              std::nullopt);
    EXPECT_EQ(MessagesReader::attributedBodyText(""), std::nullopt);
}

TEST(AttributedBody, TextBetweenNonUtf8BytesIsReadFromTheArchivesString)
{
    // The pieces between zero bytes hold the text only next to bytes like 0x84 and 0x86.
    EXPECT_EQ(MessagesReader::attributedBodyText(kTest3Archive), "Test 3");
    EXPECT_EQ(firstArchivedString(kTest3Archive), "Test 3");

    // Archives as devices write them, short and long, with and without the mutable classes.
    const std::string accented = "Gr\u00FC\u00DFe aus K\u00F6ln \U0001F44B, call me right now";
    for (const std::string& text : {std::string("Ok"), accented, std::string(127, 'a'), std::string(128, 'b'),
                                    std::string(5000, 'c'), std::string(70000, 'd')}) {
        SCOPED_TRACE(text.size());
        EXPECT_EQ(
            MessagesReader::attributedBodyText(asString(quorva::samples::archiveAttributedString(text))),
            text);
        EXPECT_EQ(MessagesReader::attributedBodyText(asString(quorva::samples::archiveAttributedString(
                      text, quorva::samples::ArchivedClasses::immutableStrings))),
                  text);
    }
}

TEST(AttributedBody, TheHeuristicStillWinsWhenItFindsAPiece)
{
    // Messages the piece heuristic reads keep their text, and with it their identifiers.
    std::string archive = std::string("\x04\x0B", 2) + "streamtyped";
    archive += joinedByZeroBytes({"", "Running late tonight"});
    archive += "NSString\x01\x94\x84\x01\x2B\x05Other\x86";
    EXPECT_EQ(MessagesReader::attributedBodyText(archive), "Running late tonight");
}

TEST(AttributedBody, MalformedArchivesYieldNothing)
{
    // Every cut that loses part of the text yields nothing; the whole text comes back only
    // once all its bytes are there.
    const std::size_t textEnd = kTest3Archive.find("Test 3") + 6;
    for (std::size_t length = 0; length < kTest3Archive.size(); ++length) {
        const auto text = firstArchivedString(std::string_view(kTest3Archive).substr(0, length));
        if (length < textEnd)
            EXPECT_EQ(text, std::nullopt) << length;
        else
            EXPECT_EQ(text, "Test 3") << length;
    }

    const std::string header = std::string("\x04\x0B", 2) + "streamtyped";
    const std::string marker = "NSString\x01\x94\x84\x01\x2B";
    EXPECT_EQ(firstArchivedString("NSString\x01\x94\x84\x01\x2B\x02Hi"), std::nullopt);  // not a typedstream
    EXPECT_EQ(firstArchivedString(header + "NSNumber\x84\x01\x2B\x02Hi"), std::nullopt); // no NSString
    EXPECT_EQ(firstArchivedString(header + "NSString\x01\x94\x84\x01\x69\x02Hi"), std::nullopt); // no '+'
    EXPECT_EQ(firstArchivedString(header + marker + "\x83" + "abcd"), std::nullopt); // unknown length tag
    EXPECT_EQ(firstArchivedString(header + marker + "\x81\xFF"), std::nullopt);
    EXPECT_EQ(firstArchivedString(header + marker + "\x82\xFF\xFF\xFF\xFF" + "abc"), std::nullopt);
    EXPECT_EQ(firstArchivedString(header + marker + "\x81\x03" + std::string(1, '\0') + "abc"), "abc");
    EXPECT_EQ(firstArchivedString(header + marker + "\x82\x02" + std::string(3, '\0') + "abc"), "ab");
    // Bytes that are not UTF-8 are replaced, not dropped.
    EXPECT_EQ(MessagesReader::attributedBodyText(header + marker + "\x06" + "Hi \xFF\xFEx"),
              "Hi \uFFFD\uFFFDx");

    // Random damage to a real archive never reads outside the blob.
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::string damaged = kTest3Archive;
        for (int hits = 0; hits < 4; ++hits)
            damaged[random() % damaged.size()] = static_cast<char>(random());
        damaged.resize(random() % damaged.size() + 1);
        (void)MessagesReader::attributedBodyText(damaged);
    }
}
