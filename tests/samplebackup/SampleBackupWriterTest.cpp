#include "SampleBackup.h"
#include "SampleTestSupport.h"

#include <gtest/gtest.h>

using namespace quorva;
using namespace quorva::samples;
using namespace quorva::samples::testing;
namespace fs = std::filesystem;

namespace {

constexpr const char* kMessagesID = "3d0d7e5fb2ce288813306e4d4636395e047a3d28";

SampleMessage message(std::string text, double unixSeconds)
{
    SampleMessage m;
    m.text = std::move(text);
    m.sender = "+15555550123";
    m.date = Instant::fromUnixSeconds(unixSeconds);
    return m;
}

Cell messagesRow(const fs::path& folder)
{
    const auto rows = query(folder / "Manifest.db",
                            "SELECT fileID FROM Files WHERE domain = 'HomeDomain' AND relativePath = "
                            "'Library/SMS/sms.db'");
    return rows.empty() ? Cell() : rows.front().front();
}

} // namespace

TEST(SampleBackupWriter, PutsTheMessagesDatabaseWhereAsked)
{
    ScratchFolder scratch;
    SampleBackupPlan plan;
    plan.messages = {message("Dinner is at six", 1.7e9)};

    plan.location = MessagesLocation::hashed;
    const fs::path hashed = writeSampleBackup(scratch.path() / "hashed", plan);
    EXPECT_EQ(messagesRow(hashed), Cell(kMessagesID));
    EXPECT_TRUE(fs::is_regular_file(hashed / "3d" / kMessagesID));
    EXPECT_FALSE(fs::exists(hashed / kMessagesID));
    // Other files are listed too, each stored under its own identifier.
    const auto others = query(hashed / "Manifest.db", "SELECT fileID FROM Files WHERE flags = 1");
    EXPECT_GE(others.size(), 5u);
    for (const auto& row : others)
        EXPECT_TRUE(fs::is_regular_file(hashed / row[0]->substr(0, 2) / *row[0])) << *row[0];

    plan.location = MessagesLocation::flat;
    const fs::path flat = writeSampleBackup(scratch.path() / "flat", plan);
    EXPECT_EQ(messagesRow(flat), Cell(kMessagesID));
    EXPECT_TRUE(fs::is_regular_file(flat / kMessagesID));
    EXPECT_FALSE(fs::exists(flat / "3d"));

    plan.location = MessagesLocation::missingFile;
    const fs::path missing = writeSampleBackup(scratch.path() / "missing", plan);
    EXPECT_EQ(messagesRow(missing), Cell(kMessagesID));
    EXPECT_FALSE(fs::exists(missing / "3d" / kMessagesID));
    EXPECT_FALSE(fs::exists(missing / kMessagesID));

    plan.location = MessagesLocation::notInManifest;
    const fs::path unlisted = writeSampleBackup(scratch.path() / "unlisted", plan);
    EXPECT_FALSE(messagesRow(unlisted).has_value());
    EXPECT_FALSE(query(unlisted / "Manifest.db", "SELECT count(*) FROM Files").empty());
}

TEST(SampleBackupWriter, WritingAgainReplacesThePreviousBackup)
{
    ScratchFolder scratch;
    SampleBackupPlan plan;
    plan.messages = {message("first", 1.7e9), message("second", 1.7e9 + 1)};
    writeSampleBackup(scratch.path(), plan);
    plan.messages = {message("only", 1.7e9)};
    plan.walMode = true;
    writeSampleBackup(scratch.path(), plan);
    const auto rows = query(scratch.path() / "3d" / kMessagesID, "SELECT text FROM message");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], Cell("only"));
    EXPECT_EQ(query(scratch.path() / "Manifest.db",
                    "SELECT count(*) FROM Files WHERE fileID = '" + std::string(kMessagesID) + "'")[0][0],
              Cell("1"));
}

TEST(SampleBackupWriter, StoresEachMessageFieldAsADeviceWould)
{
    ScratchFolder scratch;
    SampleBackupPlan plan;
    const double unix = kSecondsFrom1970To2001 + 700000000.0;

    SampleMessage nanos = message("nanoseconds", unix + 0.25);
    SampleMessage seconds = message("seconds", unix);
    seconds.dateEncoding = DateEncoding::seconds;
    SampleMessage archived = message("", unix);
    archived.text.reset();
    archived.attributedText = "Only in the body";
    archived.rowID = 900;
    SampleMessage raw = message("raw", unix);
    raw.rawAttributedBody = std::vector<uint8_t>{0x00, 0x01, 0xFF};
    raw.attributedText = "ignored";
    SampleMessage anonymous = message("no handle, unknown direction", unix);
    anonymous.sender.reset();
    anonymous.isFromMe.reset();
    SampleMessage mine = message("sent by me", unix);
    mine.isFromMe = 1;
    mine.sender = "dad@example.com";
    plan.messages = {nanos, seconds, archived, raw, anonymous, mine};
    const fs::path db = writeSampleBackup(scratch.path(), plan) / "3d" / kMessagesID;

    const auto rows =
        query(db, "SELECT m.ROWID, m.text, m.attributedBody, m.date, m.is_from_me, h.id, m.handle_id "
                  "FROM message m LEFT JOIN handle h ON h.ROWID = m.handle_id ORDER BY m.ROWID");
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0][3], Cell("700000000250000000"));
    EXPECT_EQ(rows[0][5], Cell("+15555550123"));
    EXPECT_EQ(rows[1][3], Cell("700000000"));
    EXPECT_EQ(rows[2][0], Cell("900"));
    EXPECT_FALSE(rows[2][1].has_value());
    const auto body = archiveAttributedString("Only in the body");
    EXPECT_EQ(rows[2][2], Cell(std::string(body.begin(), body.end())));
    EXPECT_EQ(rows[3][2], Cell(std::string("\x00\x01\xFF", 3)));
    EXPECT_EQ(rows[4][6], Cell("0"));
    EXPECT_FALSE(rows[4][5].has_value());
    EXPECT_FALSE(rows[4][4].has_value());
    EXPECT_EQ(rows[5][4], Cell("1"));
    EXPECT_EQ(rows[5][5], Cell("dad@example.com"));

    EXPECT_EQ(query(db, "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = 'message' "
                        "AND sql LIKE '%(date)%'")[0][0],
              Cell("1"));
}

TEST(SampleBackupWriter, WalModeLeavesAConsistentFileWithoutLog)
{
    ScratchFolder scratch;
    SampleBackupPlan plan;
    for (int i = 0; i < 2000; ++i)
        plan.messages.push_back(message("message " + std::to_string(i), 1.7e9 + i));

    plan.walMode = true;
    const fs::path wal = writeSampleBackup(scratch.path() / "wal", plan) / "3d" / kMessagesID;
    const std::string header = readBytes(wal).substr(0, 20);
    EXPECT_EQ(header[18], 2); // write and read versions 2: write-ahead log
    EXPECT_EQ(header[19], 2);
    EXPECT_FALSE(fs::exists(wal.string() + "-wal"));
    EXPECT_FALSE(fs::exists(wal.string() + "-shm"));
    // Immutable opening ignores any log, so the rows must all be in the main file.
    const auto rows = query(wal.string() + "?immutable=1", "SELECT count(*) FROM message");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], Cell("2000"));

    plan.walMode = false;
    const fs::path rollback = writeSampleBackup(scratch.path() / "rollback", plan) / "3d" / kMessagesID;
    EXPECT_EQ(readBytes(rollback)[18], 1);
    EXPECT_FALSE(fs::exists(rollback.string() + "-journal"));
}

TEST(SampleBackupWriter, PropertyListsCarryTheDeviceKeysInTheAskedEncoding)
{
    ScratchFolder scratch;
    SampleBackupPlan plan;
    plan.lastBackupDate = Instant::fromUnixSeconds(1772352930.25);
    plan.statusDate = Instant::fromUnixSeconds(1772352931.5);
    plan.encrypted = true;
    const fs::path folder = writeSampleBackup(scratch.path() / "default", plan);

    EXPECT_TRUE(readBytes(folder / "Info.plist").starts_with("<?xml"));
    EXPECT_TRUE(readBytes(folder / "Status.plist").starts_with("bplist00"));
    EXPECT_TRUE(readBytes(folder / "Manifest.plist").starts_with("bplist00"));
    EXPECT_EQ(plistValue(folder / "Info.plist", "Unique Identifier"), plan.udid);
    EXPECT_EQ(plistValue(folder / "Info.plist", "Display Name"), "Maya's iPhone");
    EXPECT_EQ(plistValue(folder / "Info.plist", "Device Name"), "Maya's iPhone");
    EXPECT_EQ(plistValue(folder / "Info.plist", "Product Type"), "iPhone14,5");
    EXPECT_EQ(plistValue(folder / "Info.plist", "Last Backup Date").value_or("").substr(0, 10), "1772352930");
    EXPECT_EQ(plistValue(folder / "Status.plist", "Date"), "1772352931.500000");
    EXPECT_EQ(plistValue(folder / "Status.plist", "SnapshotState"), "finished");
    EXPECT_EQ(plistValue(folder / "Status.plist", "IsFullBackup"), "false");
    EXPECT_TRUE(plistValue(folder / "Status.plist", "UUID").has_value());
    EXPECT_EQ(plistValue(folder / "Manifest.plist", "IsEncrypted"), "true");

    plan.infoFormat = PlistFormat::binary;
    plan.statusFormat = plan.manifestFormat = PlistFormat::xml;
    plan.encrypted = false;
    plan.displayName.reset();
    plan.statusDate.reset();
    plan.writeInfoPlist = true;
    plan.writeManifestPlist = false;
    const fs::path other = writeSampleBackup(scratch.path() / "other", plan);
    EXPECT_TRUE(readBytes(other / "Info.plist").starts_with("bplist00"));
    EXPECT_TRUE(readBytes(other / "Status.plist").starts_with("<?xml"));
    EXPECT_FALSE(fs::exists(other / "Manifest.plist"));
    EXPECT_FALSE(plistValue(other / "Info.plist", "Display Name").has_value());
    EXPECT_EQ(plistValue(other / "Info.plist", "Device Name"), "Maya's iPhone");
    EXPECT_FALSE(plistValue(other / "Status.plist", "Date").has_value());

    plan.writeInfoPlist = plan.writeStatusPlist = false;
    const fs::path bare = writeSampleBackup(scratch.path() / "bare", plan);
    EXPECT_FALSE(fs::exists(bare / "Info.plist"));
    EXPECT_FALSE(fs::exists(bare / "Status.plist"));
    EXPECT_TRUE(fs::exists(bare / "Manifest.db"));
}
