#include "backup/MessagesReader.h"
#include "model/BridgeClientError.h"
#include "model/Iso8601.h"

#include "BackupTestSupport.h"
#include "SampleBackup.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

using namespace quorva;
using quorva::backuptest::execute;
using quorva::backuptest::TempFolder;
using quorva::backuptest::utc;
using quorva::backuptest::writeFile;

namespace {

const std::string kMessagesFileID = "3d0d7e5fb2ce288813306e4d4636395e047a3d28";

BridgeClientError clientError(const std::function<void()>& action)
{
    try {
        action();
    } catch (const BridgeClientError& error) {
        return error;
    }
    ADD_FAILURE() << "no error";
    return BridgeClientError::notPaired();
}

std::vector<MessageRow> readAll(const std::filesystem::path& database, int64_t limit = 5000)
{
    return MessagesReader::readMessages(database, Instant::distantPast(), limit);
}

std::string iso(Instant instant)
{
    return formatInternetDateTime(instant);
}

} // namespace

TEST(MessagesDatabase, IsFoundThroughTheManifestHashedOrFlat)
{
    TempFolder folder;
    samples::SampleBackupPlan plan;
    const auto hashed = samples::writeSampleBackup(folder / "hashed", plan);
    EXPECT_EQ(MessagesReader::messagesDatabaseURL(hashed), hashed / "3d" / kMessagesFileID);

    plan.location = samples::MessagesLocation::flat;
    const auto flat = samples::writeSampleBackup(folder / "flat", plan);
    EXPECT_EQ(MessagesReader::messagesDatabaseURL(flat), flat / kMessagesFileID);

    for (const auto location :
         {samples::MessagesLocation::missingFile, samples::MessagesLocation::notInManifest}) {
        plan.location = location;
        const auto broken = samples::writeSampleBackup(folder / "broken", plan);
        EXPECT_EQ(clientError([&] { (void)MessagesReader::messagesDatabaseURL(broken); }).kind(),
                  BridgeClientError::Case::messagesDatabaseMissing);
    }
}

TEST(MessagesDatabase, OddFileIdentifiersNeverLeadOutOfTheBackup)
{
    TempFolder folder;
    const auto backup = folder / "backup";
    auto locate = [&](const std::string& literal) {
        std::filesystem::remove(backup / "Manifest.db");
        backuptest::writeManifestDatabase(backup / "Manifest.db", literal);
        return MessagesReader::messagesDatabaseURL(backup);
    };
    writeFile(backup / "x", "flat");
    EXPECT_EQ(locate("'x'"), backup / "x"); // one character: B/x/x, then B/x
    std::filesystem::remove(backup / "x");
    writeFile(backup / "x/x", "hashed");
    EXPECT_EQ(locate("'x'"), backup / "x/x");

    writeFile(folder / "outside.db", "not in the backup");
    writeFile(backup / "ab" / "x", "");
    for (const std::string literal :
         {"''", "NULL", "'../outside.db'", "'..'", "'.'", "'ab/x'", "'x' || char(0)"}) {
        EXPECT_EQ(clientError([&] { (void)locate(literal); }).kind(),
                  BridgeClientError::Case::messagesDatabaseMissing)
            << literal;
    }
}

TEST(MessagesDatabase, AManifestThatIsNotADatabaseIsADatabaseError)
{
    TempFolder folder;
    const auto missing = clientError([&] { (void)MessagesReader::messagesDatabaseURL(folder.path()); });
    EXPECT_EQ(missing.kind(), BridgeClientError::Case::database);
    EXPECT_EQ(missing.description(), "The Messages backup could not be read: unable to open database file");

    writeFile(folder / "Manifest.db", std::string(8192, 'Q'));
    EXPECT_EQ(clientError([&] { (void)MessagesReader::messagesDatabaseURL(folder.path()); }).detail(),
              "file is not a database");
    writeFile(folder / "Manifest.db", "");
    EXPECT_EQ(clientError([&] { (void)MessagesReader::messagesDatabaseURL(folder.path()); }).detail(),
              "no such table: Files");
}

TEST(MessagesRead, DatesAreSecondsUpToTenBillionThenNanoseconds)
{
    EXPECT_EQ(iso(MessagesReader::messageDate(10000000000)), "2317-11-21T17:46:40.000Z");
    EXPECT_EQ(iso(MessagesReader::messageDate(10000000001)), "2001-01-01T00:00:10.000Z");
    EXPECT_EQ(iso(MessagesReader::messageDate(700000000000000000)), "2023-03-08T20:26:40.000Z");
    EXPECT_EQ(MessagesReader::messageDate(700000000000000000), MessagesReader::messageDate(700000000));
    EXPECT_EQ(MessagesReader::messageDate(700000000123456789).unixSeconds,
              978307200.0 + 700000000123456789 / 1e9);

    TempFolder folder;
    const auto db = folder / "sms.db";
    backuptest::writeMessagesDatabase(db, "INSERT INTO message (ROWID, text, date) VALUES "
                                          "(1, 'far future', 9223372036854775807),"
                                          "(2, 'far past', -9223372036854775807 - 1),"
                                          "(3, 'no date', NULL), (4, 'text date', 'yesterday');");
    const auto rows = readAll(db);
    ASSERT_EQ(rows.size(), 4u);
    for (const MessageRow& row : rows) {
        if (row.text == "far future")
            EXPECT_EQ(iso(row.date).substr(0, 5), "2293-");
        else if (row.text == "far past")
            EXPECT_LT(row.date, utc(1, 1, 1));
        else
            EXPECT_EQ(row.date, Instant::fromReferenceSeconds(0)) << row.text; // NULL and text read as 0
    }
    // A window drops the far past, however far.
    EXPECT_EQ(MessagesReader::readMessages(db, utc(2000, 1, 1), 10).size(), 3u);
}

TEST(MessagesRead, ReadsIncomingMessagesNewestFirstWithSenders)
{
    TempFolder folder;
    const auto db = folder / "sms.db";
    backuptest::writeMessagesDatabase(
        db, "INSERT INTO handle (ROWID, id) VALUES (1, '+15555550123'), (2, 'friend@example.com');"
            "INSERT INTO message (ROWID, text, handle_id, date, is_from_me) VALUES "
            "(10, 'oldest', 1, 100, 0),"
            "(11, '  newest \n', 2, 300000000000, NULL)," // NULL is_from_me counts as incoming
            "(12, 'mine', 1, 200, 1),"
            "(13, 'no handle row', 99, 250, 0),"
            "(14, 'handle zero', 0, 240, 0),"
            "(15, '\tTabbed\t', 1, 230, 0),"
            "(16, '   ', 1, 220, 0)," // blank text: skipped, its attributed body not consulted
            "(17, NULL, 1, 210, 0),"
            "(18, CAST(X'48C3A96CFF6C6F' AS TEXT), 1, 205, 0);");
    execute(
        db,
        "UPDATE message SET attributedBody = X'0041206C6F6E6720656E6F75676820706965636500' WHERE ROWID = 16");
    const auto rows = readAll(db);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0],
              (MessageRow{11, "newest", Instant::fromReferenceSeconds(300.0), "friend@example.com"}));
    EXPECT_EQ(rows[1], (MessageRow{13, "no handle row", Instant::fromReferenceSeconds(250), std::nullopt}));
    EXPECT_EQ(rows[2].rowID, 14);
    EXPECT_EQ(rows[2].sender, std::nullopt);
    EXPECT_EQ(rows[3].text, "\tTabbed\t");
    EXPECT_EQ(rows[4].text, "H\u00E9l\uFFFDlo"); // ill-formed UTF-8 replaced
    EXPECT_EQ(rows[5], (MessageRow{10, "oldest", Instant::fromReferenceSeconds(100), "+15555550123"}));
}

TEST(MessagesRead, SinceIsInclusiveAndOldRowsDoNotStopTheRead)
{
    TempFolder folder;
    const auto db = folder / "sms.db";
    backuptest::writeMessagesDatabase(
        db, "INSERT INTO message (ROWID, text, date) VALUES "
            "(1, 'at since', 1000000000000000000), (2, 'a second early', 999999999000000000),"
            "(3, 'newer', 1000000001000000000);");
    const auto rows = MessagesReader::readMessages(db, Instant::fromReferenceSeconds(1e9), 10);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "newer");
    EXPECT_EQ(rows[1].text, "at since");
}

TEST(MessagesRead, TheLimitIsClampedIntoOneToTwentyFiveThousand)
{
    TempFolder folder;
    const auto db = folder / "sms.db";
    backuptest::writeMessagesDatabase(
        db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 25010) "
            "INSERT INTO message (ROWID, text, date) SELECT i, 'message ' || i, i FROM n;");
    EXPECT_EQ(readAll(db, 0).size(), 1u);
    EXPECT_EQ(readAll(db, -5).size(), 1u);
    EXPECT_EQ(readAll(db, 3)[2].text, "message 25008");
    EXPECT_EQ(readAll(db, 100000).size(), 25000u);
    EXPECT_EQ(readAll(db, INT64_MAX).size(), 25000u);
}

TEST(MessagesRead, TextOnlyInTheAttributedBodyIsRecovered)
{
    TempFolder folder;
    samples::SampleBackupPlan plan;
    const Instant now = Instant::now();
    auto message = [&](std::optional<std::string> text, std::optional<std::string> attributed,
                       int minutesAgo) {
        samples::SampleMessage m;
        m.text = std::move(text);
        m.attributedText = std::move(attributed);
        m.sender = "+15555550100";
        m.date = Instant::fromUnixSeconds(now.unixSeconds - 60.0 * minutesAgo);
        return m;
    };
    plan.messages = {message(std::nullopt, "Test 3", 1), message(std::nullopt, "  Ok \n", 2),
                     message(std::nullopt, std::nullopt, 3), message("plain", "ignored", 4)};
    const auto backup = samples::writeSampleBackup(folder / "b", plan);
    const auto rows = readAll(MessagesReader::messagesDatabaseURL(backup));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].text, "Test 3");
    EXPECT_EQ(rows[1].text, "Ok"); // trimmed like any other text
    EXPECT_EQ(rows[2].text, "plain");
}

TEST(MessagesRead, HugeTextsAreReadWhole)
{
    TempFolder folder;
    const auto db = folder / "sms.db";
    backuptest::writeMessagesDatabase(db, "INSERT INTO message (ROWID, text, date) VALUES "
                                          "(1, ' ' || printf('%.*c', 3000000, 'x') || ' ', 5);");
    const auto rows = readAll(db);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].text, std::string(3000000, 'x'));
}

TEST(MessagesRead, DamagedOrForeignDatabasesAreDatabaseErrors)
{
    TempFolder folder;
    const auto db = folder / "sms.db";
    EXPECT_EQ(clientError([&] { (void)readAll(db); }).detail(), "unable to open database file");
    writeFile(db, "");
    EXPECT_EQ(clientError([&] { (void)readAll(db); }).detail(), "no such table: message");
    std::mt19937 random(3);
    std::string noise(16384, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    writeFile(db, noise);
    EXPECT_EQ(clientError([&] { (void)readAll(db); }).detail(), "file is not a database");
}

TEST(MessagesRead, DamageFoundWhileSteppingIsReportedNotTakenAsTheEnd)
{
    TempFolder folder;
    const auto db = folder / "sms.db";
    backuptest::writeMessagesDatabase(
        db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
            "INSERT INTO message (ROWID, text, date) SELECT i, printf('message %d %.*c', i, 400, 'x'), i "
            "FROM n;");
    const auto size = std::filesystem::file_size(db);
    ASSERT_GT(size, 200u * 4096u);

    // Cut off the second half: the schema still reads, the rows do not.
    std::filesystem::resize_file(db, size / 2);
    const auto truncated = clientError([&] { (void)readAll(db); });
    EXPECT_EQ(truncated.kind(), BridgeClientError::Case::database);
    EXPECT_FALSE(truncated.detail().empty());

    // Overwrite pages in the middle with noise.
    backuptest::writeMessagesDatabase(folder / "noisy.db",
                                      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                      "WHERE i < 3000) INSERT INTO message (ROWID, text, date) "
                                      "SELECT i, printf('%.*c', 400, 'y'), i FROM n;");
    {
        std::fstream file(folder / "noisy.db", std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(40 * 4096);
        const std::string noise(20 * 4096, '\x5A');
        file.write(noise.data(), static_cast<std::streamsize>(noise.size()));
    }
    EXPECT_EQ(clientError([&] { (void)readAll(folder / "noisy.db"); }).kind(),
              BridgeClientError::Case::database);
}
