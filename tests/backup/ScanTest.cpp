#include "backup/IPhoneBackupScanner.h"
#include "backup/ScanWindow.h"

#include "BackupTestSupport.h"
#include "SampleBackup.h"

#include <gtest/gtest.h>
#include <unicode/timezone.h>

#include <cmath>
#include <memory>

using namespace quorva;
using namespace quorva::backuptest;

namespace {

samples::SampleMessage incoming(std::string text, Instant date, std::optional<int64_t> rowID = std::nullopt)
{
    samples::SampleMessage m;
    m.rowID = rowID;
    m.text = std::move(text);
    m.sender = "+15555550123";
    m.date = date;
    m.dateEncoding = samples::DateEncoding::seconds; // exact, for boundaries to the second
    return m;
}

Instant minutesBefore(Instant instant, double minutes)
{
    return Instant{instant.unixSeconds - 60.0 * minutes};
}

// Sets ICU's default time zone for one test and puts the previous one back.
class DefaultTimeZone {
public:
    explicit DefaultTimeZone(const char* id) : m_previous(icu::TimeZone::createDefault())
    {
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone(id));
    }
    ~DefaultTimeZone() { icu::TimeZone::adoptDefault(m_previous.release()); }

private:
    std::unique_ptr<icu::TimeZone> m_previous;
};

class Scan : public ::testing::Test {
protected:
    BackupScanResult scanNewest(const samples::SampleBackupPlan& plan, Instant startedAt)
    {
        samples::writeSampleBackup(folder / "backup", plan);
        const auto backups = scanner.backups(folder.path());
        return scanner.scan(backups.front(), startedAt);
    }

    TempFolder folder;
    IPhoneBackupScanner scanner;
};

} // namespace

TEST_F(Scan, CandidatesCarryStableIdentifiersNewestFirst)
{
    const Instant now = utc(2024, 6, 1, 12);
    samples::SampleBackupPlan plan;
    plan.udid = "TEST-UDID";
    plan.messages = {incoming("Please keep this secret, ok?", minutesBefore(now, 30), 42),
                     incoming("See you at practice", minutesBefore(now, 20), 43),
                     incoming("Send money now", minutesBefore(now, 10), -7),
                     incoming("  Nobody likes you, loser  ", minutesBefore(now, 40), 44)};
    plan.messages[3].sender.reset();

    const BackupScanResult result = scanNewest(plan, now);
    EXPECT_EQ(result.backup.id, "TEST-UDID");
    EXPECT_EQ(result.inspectedCount, 4);
    ASSERT_EQ(result.candidates.size(), 3u);
    EXPECT_EQ(result.candidates[0],
              (ScannedMessage{"ac569b7e98f931b9e4fe5d252c9b69453967e231cc45ab68603df3ede250b5b4",
                              "Send money now",
                              "+15555550123",
                              minutesBefore(now, 10),
                              {"scam or financial pressure"}}));
    EXPECT_EQ(result.candidates[1].id, "86526e808a54395ae9df7982c02d4010bf87d6c3bd30f2f5626a220668f1ed49");
    EXPECT_EQ(result.candidates[2].text, "Nobody likes you, loser");
    EXPECT_EQ(result.candidates[2].senderName, std::nullopt);
    EXPECT_EQ(result.candidates[2].reasons, std::vector<std::string>{"bullying"});

    // A second scan finds the same identifiers; another device's backup finds others.
    EXPECT_EQ(scanner.scan(result.backup, now).candidates, result.candidates);
    BackupDescriptor other = result.backup;
    other.id = "OTHER-UDID";
    EXPECT_NE(scanner.scan(other, now).candidates[0].id, result.candidates[0].id);
}

TEST_F(Scan, TheWindowIsFourteenCalendarDaysInTheUsersTimeZone)
{
    // Summer time starts in Berlin on 31 March 2024: fourteen calendar days before noon on
    // 5 April (10:00Z) is noon on 22 March (11:00Z), 14 x 24 hours plus one.
    const DefaultTimeZone berlin("Europe/Berlin");
    const Instant startedAt = utc(2024, 4, 5, 10);
    samples::SampleBackupPlan plan;
    plan.messages = {incoming("at the window's start", utc(2024, 3, 22, 11)),
                     incoming("a second before", utc(2024, 3, 22, 10, 59, 59)),
                     incoming("fourteen times 24 hours", utc(2024, 3, 22, 10, 30)),
                     incoming("just now", utc(2024, 4, 5, 9, 59))};
    const auto result = scanNewest(plan, startedAt);
    EXPECT_EQ(result.inspectedCount, 2);
}

TEST_F(Scan, TheNewestFiveThousandRowsAreFetchedThenFiltered)
{
    const Instant now = Instant::now();
    samples::SampleBackupPlan plan;
    for (int i = 0; i < 6000; ++i) {
        auto m =
            incoming(i % 1000 == 0 ? "Send money now " + std::to_string(i) : "hello " + std::to_string(i),
                     minutesBefore(now, i + 1));
        if (i < 5000 && i % 25 == 1)
            m.text = " \n "; // 200 of the newest 5000 have no usable text
        plan.messages.push_back(std::move(m));
    }
    const auto result = scanNewest(plan, now);
    EXPECT_EQ(result.inspectedCount, 4800);
    ASSERT_EQ(result.candidates.size(), 5u); // rows 0, 1000 ... 4000; not 5000
    EXPECT_EQ(result.candidates.back().text, "Send money now 4000");
}

// Only reachable with a clock gone wrong, or a wall-clock time that the calendar skips.
TEST(ScanWindow, GivesUpOnlyOutsideTheCalendar)
{
    const DefaultTimeZone berlin("Europe/Berlin");
    // 02:30 on 31 March does not exist in Berlin; the window still starts near it.
    const Instant gap = calendarDaysBefore(utc(2024, 4, 14, 0, 30), 14);
    EXPECT_GE(gap, utc(2024, 3, 30, 23, 30));
    EXPECT_LE(gap, utc(2024, 3, 31, 1, 30));
    EXPECT_EQ(calendarDaysBefore(Instant{1e300}, 14), Instant::distantPast());
    EXPECT_EQ(calendarDaysBefore(Instant{std::nan("")}, 14), Instant::distantPast());
}
