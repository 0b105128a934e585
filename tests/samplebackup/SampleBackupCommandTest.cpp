#include "SampleTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sys/wait.h>

using namespace quorva::samples::testing;
namespace fs = std::filesystem;

namespace {

constexpr const char* kMessagesID = "3d0d7e5fb2ce288813306e4d4636395e047a3d28";

// Runs the command with `arguments`, output discarded; returns its exit status.
int run(const std::string& arguments)
{
    const std::string command =
        std::string(QUORVA_SAMPLE_BACKUP_COMMAND) + " " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(SampleBackupCommand, RejectsBadUsageWithStatus2)
{
    ScratchFolder scratch;
    const std::string out = scratch.path().string() + "/b";
    EXPECT_EQ(run("--help"), 0);
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run(out + " --messages"), 2);
    EXPECT_EQ(run(out + " --messages ten"), 2);
    EXPECT_EQ(run(out + " --candidate-share 1.5"), 2);
    EXPECT_EQ(run(out + " --now yesterday"), 2);
    EXPECT_EQ(run(out + " --xml-plists --binary-plists"), 2);
    EXPECT_EQ(run(out + " --devices 0"), 2);
    EXPECT_EQ(run(out + " --frobnicate"), 2);
    EXPECT_EQ(run(out + " " + out), 2);
    EXPECT_FALSE(fs::exists(out));
}

TEST(SampleBackupCommand, WritesOneBackupWithTheAskedOptions)
{
    ScratchFolder scratch;
    const fs::path out = scratch.path() / "one";
    ASSERT_EQ(run(out.string() +
                  " --messages 40 --seed 5 --now 2026-03-01T08:15:30Z --flat --wal --xml-plists "
                  "--encrypted --seconds-dates"),
              0);
    EXPECT_TRUE(fs::is_regular_file(out / kMessagesID));
    EXPECT_TRUE(readBytes(out / "Status.plist").starts_with("<?xml"));
    EXPECT_EQ(plistValue(out / "Manifest.plist", "IsEncrypted"), "true");
    EXPECT_EQ(plistValue(out / "Status.plist", "Date"), "1772352930.000000");
    EXPECT_EQ(readBytes(out / kMessagesID)[18], 2);
    const auto rows =
        query(out / kMessagesID, "SELECT count(*), max(date) FROM message WHERE is_from_me = 0");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], Cell("40"));
    EXPECT_LT(std::stoll(rows[0][1].value_or("0")), 10000000000LL);
}

TEST(SampleBackupCommand, WritesSeveralDevicesAsSubfolders)
{
    ScratchFolder scratch;
    ASSERT_EQ(run(scratch.path().string() + " --devices 3 --messages 10"), 0);
    std::set<std::string> udids, names, dates;
    for (const auto& entry : fs::directory_iterator(scratch.path())) {
        ASSERT_TRUE(fs::exists(entry.path() / "Manifest.db"));
        ASSERT_TRUE(fs::exists(entry.path() / "3d" / kMessagesID));
        const auto udid = plistValue(entry.path() / "Info.plist", "Unique Identifier");
        EXPECT_EQ(udid, entry.path().filename().string());
        udids.insert(udid.value_or(""));
        names.insert(plistValue(entry.path() / "Info.plist", "Device Name").value_or(""));
        dates.insert(plistValue(entry.path() / "Status.plist", "Date").value_or(""));
    }
    EXPECT_EQ(udids.size(), 3u);
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(dates.size(), 3u);
}
