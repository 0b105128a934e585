// Messages as a device stores them, read by a scan whose classifier flags every text it reads.
#include "backup/MessagesReader.h"
#include "model/Iso8601.h"

#include "BackupTestSupport.h"

using namespace quorva;
using namespace quorva::backuptest;
using namespace std::string_literals;

namespace {

// Columns of one stored message (an SQL SET clause), and the candidate the scan makes of it:
// its text, " from " its sender unless kSender, " at " its date unless kDate; empty when skipped.
// For a schema, the SQL that changes it, and the texts read or the failure.
struct Stored {
    const char* name;
    std::string set;
    std::string read;
    friend void PrintTo(const Stored& stored, std::ostream* out) { *out << stored.name; }
};

const std::string kSender = "+15555550123";
const std::string kDate = "2023-03-08T20:26:40.000Z"; // 700000000 s after 2001

const std::string kHeader = std::string("\x04\x0B", 2) + "streamtyped";
const std::string kStringMarker = "NSString\x01\x94\x84\x01\x2B";
const std::string kAccented = "Gr\u00FC\u00DFe aus K\u00F6ln \U0001F44B, call me right now";
const std::string kFamily = "\U0001F468\u200D\U0001F469";

std::string body(const std::string& bytes)
{
    return "attributedBody = " + sqlBlob(bytes);
}

// An archive of the bytes after the string type marker.
std::string archive(const std::string& afterTheType)
{
    return body(kHeader + kStringMarker + afterTheType);
}

std::string archived(std::string_view text,
                     samples::ArchivedClasses classes = samples::ArchivedClasses::mutableStrings)
{
    const auto bytes = samples::archiveAttributedString(text, classes);
    return body(std::string(bytes.begin(), bytes.end()));
}

// A blob of the pieces, each followed by a zero byte.
std::string pieces(std::initializer_list<std::string_view> parts)
{
    std::string blob;
    for (const auto part : parts)
        blob.append(part).push_back('\0');
    return body(blob);
}

LocalRiskClassifier flagsEveryText()
{
    RiskRule rule{"read", {}};
    for (const char c : std::string_view("abcdefghijklmnopqrstuvwxyz0123456789"))
        rule.terms.emplace_back(1, c);
    return LocalRiskClassifier({rule});
}

class StoredMessage : public ::testing::TestWithParam<Stored> {};

} // namespace

TEST_P(StoredMessage, IsReadAsTheDeviceMeantIt)
{
    TempFolder folder;
    samples::SampleBackupPlan plan;
    plan.messages.resize(1);
    plan.messages[0].sender = kSender;
    samples::writeSampleBackup(folder / "device", plan);
    execute(folder / "device" / kHashedMessages,
            "INSERT INTO handle (ROWID, id, service) VALUES (2, " + sqlText("+1\xFF") +
                ", 'SMS'); UPDATE message SET text = NULL, date = 700000000, " + GetParam().set);

    const IPhoneBackupScanner scanner(flagsEveryText());
    const auto result = scanner.scan(scanner.backups(folder.path()).front(), utc(2023, 3, 10));
    std::string read;
    for (const ScannedMessage& candidate : result.candidates) {
        const std::string date = formatInternetDateTime(candidate.capturedAt);
        read += candidate.text +
                (candidate.senderName == kSender ? "" : " from " + candidate.senderName.value_or("nobody")) +
                (date == kDate ? "" : " at " + date);
    }
    if (result.futureDatedCount > 0)
        read += std::to_string(result.futureDatedCount) + " dated after the scan";
    EXPECT_EQ(read, GetParam().read);
    EXPECT_EQ(result.inspectedCount, static_cast<int64_t>(result.candidates.size()));
}

const std::vector<Stored> kText = {
    {"Plain", "text = 'Send money now'", "Send money now"},
    {"TrimmedOfWhiteSpaceAndLineBreaks",
     "text = " + sqlText(" \n\r\v\f Hi there \u0085\u2028\u2029\u3000\u00A0"), "Hi there"},
    {"IllFormedUtf8IsReplacedAndTheRestKept",
     "text = " + sqlText("H\xC3\xA9l\xFFlo\0 \xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE2\x82"s),
     "H\u00E9l\uFFFDlo\0 \uFFFD\uFFFD \uFFFD\uFFFD\uFFFD \uFFFD\uFFFD\uFFFD\uFFFD \uFFFD"s},
    {"BlankTextLeavesTheBodyUnread", "text = ' \n ', " + pieces({"A long enough piece"}), ""},
    {"NoTextAndNoBody", "attributedBody = NULL", ""},
    // A line break and a family emoji are one character each, and neither is cut apart.
    {"LongTextCutAtAWholeCharacter", "text = " + sqlText(std::string(3998, 'x') + "\r\n" + kFamily + "tail"),
     std::string(3998, 'x') + "\r\n" + kFamily}};
INSTANTIATE_TEST_SUITE_P(Text, StoredMessage, ::testing::ValuesIn(kText), rowName<Stored>);

const std::vector<Stored> kMetadata = {
    {"IsFromMeNullIsIncoming", "text = 'hello', is_from_me = NULL", "hello"},
    {"SentByTheChild", "text = 'hello', is_from_me = 1", ""},
    {"WithoutAHandleRow", "text = 'hello', handle_id = 99", "hello from nobody"},
    {"SenderThatIsNotUtf8", "text = 'hello', handle_id = 2", "hello from +1\uFFFD"},
    {"SecondsUpToTenBillion", "text = 'hello', date = 10000000000", "1 dated after the scan"}, // 2317
    {"NanosecondsAboveTenBillion", "text = 'hello', date = 10000000001", ""}, // 2001, before the window
    {"Nanoseconds", "text = 'hello', date = 700000000123456789", "hello at 2023-03-08T20:26:40.123Z"},
    {"FarFuture", "text = 'hello', date = 9223372036854775807", "1 dated after the scan"}, // 2293
    {"FarPast", "text = 'hello', date = -9223372036854775807 - 1", ""}};
INSTANTIATE_TEST_SUITE_P(Metadata, StoredMessage, ::testing::ValuesIn(kMetadata), rowName<Stored>);

const std::vector<Stored> kAttributedBody = {
    {"ReadWhenTextIsNull", archived("  Don\u2019t tell your parents\n"), "Don\u2019t tell your parents"},
    // The class chain real devices write.
    {"ImmutableClasses", archived(kAccented, samples::ArchivedClasses::immutableStrings), kAccented},
    // Without an archive, the longest piece between zero bytes that looks like text.
    {"LongestPieceEarliestOnATie",
     pieces({"NSAttributedString", "1234", "Hi", "See you at 5", "Running late"}), "See you at 5"},
    {"PieceEndsDoNotCount", pieces({"\x01\x02\x03\x04\x05\x06Hi you", "\x12Hello!!\n"}), "Hello!!"},
    {"NoPieceLooksLikeText",
     pieces({"Abc\xFF\xFE long piece", "e\u0301e\u0301e\u0301", "NSString", "12345", "\u200B\u200B"}), ""},
    {"PieceBeforeTheArchive", body(kHeader + "\0Running late tonight\0"s + kStringMarker + "\x05Other\x86"),
     "Running late tonight"},
    {"ArchiveLengthInTwoBytes", archive("\x81\x03\0abc"s), "abc"},
    {"ArchiveLengthInFourBytes", archive("\x82\x02\0\0\0abc"s), "ab"},
    {"ArchiveTextNotUtf8", archive("\x06Hi \xFF\xFEx"), "Hi \uFFFD\uFFFDx"},
    {"ArchiveLengthTagUnknown", archive("\x83\x02\0\0\0abc"s), ""},
    {"ArchiveLengthTagJustPastTheShortForm", archive("\x80" + std::string(200, 'x')), ""},
    {"ArchiveLengthCutShort", archive("\x81\xFF"), ""},
    {"ArchiveLengthPastTheEnd", archive("\x82" + repeat("\xFF", 4) + "abc"), ""}};
INSTANTIATE_TEST_SUITE_P(AttributedBody, StoredMessage, ::testing::ValuesIn(kAttributedBody),
                         rowName<Stored>);

namespace {

// Incoming rows that a device stores next to what the other person wrote, among real texts.
const std::string kNotAllMessages =
    "INSERT INTO message (guid, text, date, associated_message_type, item_type, date_retracted, date_edited) "
    "VALUES ('1', 'real one', 1, 0, 0, 0, 0), "
    "('2', 'Loved \u201Cmy own words\u201D', 2, 2000, 0, 0, 0), "
    "('3', 'Reacted to \u201Cmy own words\u201D', 3, 2007, 0, 0, 0), "
    "('4', 'Removed a like from \u201Cmy own words\u201D', 4, 3005, 0, 0, 0), "
    "('5', 'Removed a sticker from \u201Cmy own words\u201D', 5, 3007, 0, 0, 0), "
    "('6', 'Maya named the conversation', 6, 0, 1, 0, 0), "
    "('7', 'unsent words', 7, 0, 0, 700000000, 0), "
    "('8', 'edited words', 8, 0, 0, 0, 700000000), "
    "('9', 'nothing known', 9, NULL, NULL, NULL, NULL);";

class MessageSchema : public ::testing::TestWithParam<Stored> {};

} // namespace

TEST_P(MessageSchema, ReadsOnlyWhatThePersonWrote)
{
    TempFolder folder;
    const fs::path database = samples::writeSampleBackup(folder / "device", {}) / kHashedMessages;
    execute(database, kNotAllMessages + GetParam().set);
    std::string read;
    try {
        for (const MessageRow& row :
             MessagesReader::readMessages(database, Instant::distantPast(), Instant::distantFuture(), 5000)
                 .rows)
            read += (read.empty() ? "" : ", ") + row.text;
    } catch (const BridgeClientError& error) {
        read = error.description();
    }
    EXPECT_EQ(read, GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    NotMessages, MessageSchema,
    ::testing::Values(
        Stored{"WithTheColumns", "", "nothing known, edited words, real one"},
        Stored{"WithoutTheItemType", "ALTER TABLE message DROP COLUMN item_type;",
               "nothing known, edited words, Maya named the conversation, real one"},
        // Filtering on it would run the database author's expression over every row.
        Stored{"ReactionTypeGenerated",
               "ALTER TABLE message DROP COLUMN associated_message_type; ALTER TABLE message ADD COLUMN "
               "associated_message_type INTEGER GENERATED ALWAYS AS (0) VIRTUAL;",
               BridgeClientError::messagesDatabaseMissing().description()},
        // The newest rows of a busy chat can all be reactions; the texts before them must still be read.
        Stored{
            "ReactionsDoNotCrowdOutOlderTexts",
            "DELETE FROM message; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
            "6010) INSERT INTO message (guid, text, date, associated_message_type) SELECT i, IIF(i <= 10, "
            "'real ' || i, 'Liked \u201Creal 1\u201D'), i, IIF(i <= 10, 0, 2001) FROM n;",
            "real 10, real 9, real 8, real 7, real 6, real 5, real 4, real 3, real 2, real 1"}),
    rowName<Stored>);
