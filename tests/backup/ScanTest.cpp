// The scan of a backup's newest incoming messages: identifiers, window and limit.
#include "backup/ScanWindow.h"

#include "BackupTestSupport.h"

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

BackupScanResult scanNewest(const TempFolder& folder, const samples::SampleBackupPlan& plan,
                            Instant startedAt)
{
    samples::writeSampleBackup(folder / "backup", plan);
    const IPhoneBackupScanner scanner;
    return scanner.scan(scanner.backups(folder.path()).front(), startedAt);
}

// Sets ICU's default time zone, the user's, for one test and puts the previous one back.
struct DefaultTimeZone {
    explicit DefaultTimeZone(const char* id)
    {
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone(id));
    }
    ~DefaultTimeZone() { icu::TimeZone::adoptDefault(previous.release()); }
    std::unique_ptr<icu::TimeZone> previous{icu::TimeZone::createDefault()};
};

} // namespace

// The identifier covers the whole text, the candidate carries the first 4000 characters.
TEST(Scan, CandidatesCarryStableIdentifiersNewestFirst)
{
    TempFolder folder;
    const Instant now = utc(2024, 6, 1, 12);
    const std::string longText = "I will hurt you " + std::string(4984, 'a') + "tail";
    samples::SampleBackupPlan plan;
    plan.udid = "TEST-UDID";
    plan.messages = {incoming("Please keep this secret, ok?", minutesBefore(now, 30), 42),
                     incoming("See you at practice", minutesBefore(now, 20), 43),
                     incoming("Send money now", minutesBefore(now, 10), -7),
                     incoming("Nobody likes you, loser", minutesBefore(now, 40), 44),
                     incoming(longText, minutesBefore(now, 50), 5)};
    plan.messages[3].sender.reset();

    const BackupScanResult result = scanNewest(folder, plan, now);
    EXPECT_EQ(result.inspectedCount, 5);
    ASSERT_EQ(result.candidates.size(), 4u);
    EXPECT_EQ(result.candidates[0],
              (ScannedMessage{"ac569b7e98f931b9e4fe5d252c9b69453967e231cc45ab68603df3ede250b5b4",
                              "Send money now",
                              "+15555550123",
                              minutesBefore(now, 10),
                              {"scam or financial pressure"}}));
    EXPECT_EQ(result.candidates[2].reasons, std::vector<std::string>{"bullying"});
    EXPECT_EQ(result.candidates[3].text, longText.substr(0, 4000));
    EXPECT_EQ(result.candidates[3].id, sha256Hex("TEST-UDID|5|" + longText));

    // A second scan finds the same identifiers; another device's backup finds others.
    const IPhoneBackupScanner scanner;
    EXPECT_EQ(scanner.scan(result.backup, now).candidates, result.candidates);
    BackupDescriptor other = result.backup;
    other.id = "OTHER-UDID";
    EXPECT_NE(scanner.scan(other, now).candidates[0].id, result.candidates[0].id);
}

TEST(Scan, TheWindowIsFourteenCalendarDaysInTheUsersTimeZone)
{
    // Summer time starts in Berlin on 31 March 2024: fourteen calendar days before noon on
    // 5 April (10:00Z) is noon on 22 March (11:00Z), 14 x 24 hours plus one.
    const DefaultTimeZone berlin("Europe/Berlin");
    TempFolder folder;
    samples::SampleBackupPlan plan;
    plan.messages = {incoming("at the window's start", utc(2024, 3, 22, 11)),
                     incoming("a second before", utc(2024, 3, 22, 10, 59, 59)),
                     incoming("fourteen times 24 hours", utc(2024, 3, 22, 10, 30)),
                     incoming("just now", utc(2024, 4, 5, 9, 59))};
    EXPECT_EQ(scanNewest(folder, plan, utc(2024, 4, 5, 10)).inspectedCount, 2);

    // Outside the calendar (a clock gone wrong) there is no window; a skipped wall-clock time is
    // no reason to drop it: 02:30 on 31 March does not exist in Berlin.
    EXPECT_EQ(calendarDaysBefore(Instant{std::nan("")}, 14), Instant::distantPast());
    const Instant gap = calendarDaysBefore(utc(2024, 4, 14, 0, 30), 14);
    EXPECT_GE(gap, utc(2024, 3, 30, 23, 30));
    EXPECT_LE(gap, utc(2024, 3, 31, 1, 30));
}

TEST(Scan, TheNewestFiveThousandRowsAreFetchedThenFiltered)
{
    TempFolder folder;
    const Instant now = Instant::now();
    samples::SampleBackupPlan plan;
    for (int i = 0; i < 6000; ++i) {
        plan.messages.push_back(incoming((i % 1000 == 0 ? "Send money now " : "hello ") + std::to_string(i),
                                         minutesBefore(now, i + 1)));
        if (i < 5000 && i % 25 == 1)
            plan.messages.back().text = " \n "; // 200 of the newest 5000 have no usable text
    }
    const auto result = scanNewest(folder, plan, now);
    EXPECT_EQ(result.inspectedCount, 4800);
    ASSERT_EQ(result.candidates.size(), 5u); // rows 0, 1000 ... 4000; not 5000
    EXPECT_EQ(result.candidates.back().text, "Send money now 4000");
}
