// Databases made to hang or exhaust a scan: each ends quickly with its failure, within bounded
// memory and temporary files, and leaves the backup as it was. Each scan runs in a child process,
// so a hang is cut off and its memory measured on its own.
#include "backup/MessagesReader.h"

#include "BackupTestSupport.h"
#include "SqliteFileObserver.h"

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

using namespace quorva;
using namespace quorva::backuptest;
using namespace std::chrono_literals;

namespace {

struct Crafted {
    const char* name;
    bool manifest; // the SQL changes Manifest.db, else the Messages database
    std::string sql;
    friend void PrintTo(const Crafted& crafted, std::ostream* out) { *out << crafted.name; }
};

struct ChildRun {
    std::string outcome; // empty when the child gave no answer in time
    std::chrono::milliseconds elapsed{};
    int64_t peakKilobytes = 0;
    int64_t bytesWritten = 0; // by SQLite, temporary files included
};

// Runs `scan` in a child process, killed once `patience` has passed without an answer.
template <typename Scan> ChildRun inChild(Scan scan, std::chrono::milliseconds patience)
{
    int ends[2];
    EXPECT_EQ(pipe(ends), 0);
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const auto& observer = test::SqliteFileObserver::install();
        const std::string outcome = scan() + "\n" + std::to_string(observer.bytesWritten());
        (void)!write(ends[1], outcome.data(), outcome.size());
        _exit(0);
    }
    close(ends[1]);
    std::string answer;
    char buffer[4096];
    pollfd readable{ends[0], POLLIN, 0};
    if (poll(&readable, 1, static_cast<int>(patience.count())) > 0) // the child writes once, then exits
        for (ssize_t got = 0; (got = read(ends[0], buffer, sizeof buffer)) > 0;)
            answer.append(buffer, static_cast<std::size_t>(got));
    ChildRun run;
    run.elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    kill(child, SIGKILL); // no-op once it has exited
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    close(ends[0]);
    run.peakKilobytes = usage.ru_maxrss;
    if (const auto end = answer.rfind('\n'); end != std::string::npos && WIFEXITED(status)) {
        run.outcome = answer.substr(0, end);
        run.bytesWritten = std::stoll(answer.substr(end + 1));
    }
    return run;
}

std::string endless(const std::string& select)
{
    return "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) " + select + " FROM r";
}

const std::string kMessageColumns = "n AS ROWID, 'guid' || n AS guid, NULL AS attributedBody, "
                                    "700000000000000000 + n AS date, 0 AS is_from_me, 1 AS handle_id";

class CraftedDatabase : public ::testing::TestWithParam<Crafted> {};

} // namespace

TEST_P(CraftedDatabase, EndsQuicklyWithItsFailureAndLeavesTheBackupAsItWas)
{
    TempFolder folder;
    const fs::path device = folder / "Backup" / "00008110-001A2B3C4D5E801E";
    samples::writeSampleBackup(device, samples::realisticBackup(Instant::now(), 50, 0.2));
    execute(GetParam().manifest ? device / "Manifest.db" : device / kHashedMessages, GetParam().sql);
    const auto before = snapshot(folder.path());

    const auto deadline = GetParam().manifest ? 5s : 20s; // the scan's own for that database
    const ChildRun run = inChild([&] { return scanOutcome(folder / "Backup"); }, deadline + 10s);

    EXPECT_EQ(run.outcome, "Maya's iPhone: " + BridgeClientError::messagesDatabaseMissing().description());
    EXPECT_LT(run.elapsed, deadline + 1s);
    EXPECT_LT(run.peakKilobytes, 300 * 1024);
    EXPECT_LT(run.bytesWritten, 50 * 1024 * 1024);
    EXPECT_EQ(snapshot(folder.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, CraftedDatabase,
    ::testing::Values(
        Crafted{"MessagesAnEndlessView", false,
                "DROP TABLE message; CREATE VIEW message AS " +
                    endless("SELECT " + kMessageColumns + ", 'hi' AS text")},
        Crafted{"MessagesABillionRowJoin", false,
                "CREATE TABLE d (n INTEGER); " + ("INSERT INTO d " + endless("SELECT n") + " LIMIT 1000;") +
                    "DROP TABLE message; CREATE VIEW message AS SELECT a.n * 1000000 + b.n * 1000 + c.n "
                    "AS ROWID, 'g' AS guid, 'hi' AS text, NULL AS attributedBody, a.n AS date, "
                    "0 AS is_from_me, 1 AS handle_id FROM d a, d b, d c"},
        Crafted{"HandlesAnEndlessView", false,
                "DROP TABLE handle; CREATE VIEW handle AS " + endless("SELECT n AS ROWID, 'h' || n AS id")},
        Crafted{"MessagesOfTwoHundredMegabytesEach", false,
                "DROP TABLE message; CREATE VIEW message AS " +
                    endless("SELECT " + kMessageColumns + ", printf('%.*c', 200000000, 'x') AS text") +
                    " LIMIT 5000"},
        Crafted{"MessagesWithAGeneratedText", false,
                "DROP TABLE message; CREATE TABLE message (ROWID INTEGER PRIMARY KEY, guid TEXT, "
                "attributedBody BLOB, date INTEGER, is_from_me INTEGER, handle_id INTEGER); "
                "INSERT INTO message (guid, date) " +
                    endless("SELECT n, 700000000000000000 + n") +
                    " LIMIT 5000; ALTER TABLE message ADD COLUMN text TEXT GENERATED ALWAYS AS "
                    "(printf('%.*c', 200000000, 'x')) VIRTUAL"},
        Crafted{
            "MessagesAVirtualTable", false,
            "DROP TABLE message; CREATE VIRTUAL TABLE message USING fts5 (guid, text, attributedBody, date, "
            "is_from_me, handle_id); INSERT INTO message VALUES ('g', 'call me', NULL, 700000000000000000, "
            "0, 1)"},
        Crafted{
            "ManifestFilesAnEndlessView", true,
            "DROP TABLE Files; CREATE VIEW Files AS " +
                endless("SELECT 'f' || n AS fileID, 'Domain' || n AS domain, 'Path' || n AS relativePath")}),
    rowName<Crafted>);

// A Messages database so slow to read that the read passes its deadline: the scan ends there,
// and a stopped scan ends at once.
TEST(SlowDatabase, ReadingEndsAtTheDeadlineOrWhenStopped)
{
    TempFolder folder;
    samples::writeSampleBackup(folder / "Backup" / "device",
                               samples::realisticBackup(Instant::now(), 3000, 0.2));
    const auto slowScan = [&](std::chrono::milliseconds deadline, std::chrono::milliseconds stopAfter) {
        test::SqliteFileObserver::install().setReadDelay(20ms);
        const IPhoneBackupScanner scanner(LocalRiskClassifier(), ReadDeadlines{deadline, deadline});
        const BackupDescriptor backup = scanner.backups(folder / "Backup").front();
        std::stop_source stop; // shared with the stopper, which the child's exit ends
        std::thread([stop, stopAfter]() mutable {
            std::this_thread::sleep_for(stopAfter);
            stop.request_stop();
        }).detach();
        try {
            (void)scanner.scan(backup, Instant::now(), stop.get_token());
            return std::string("read in full");
        } catch (const BridgeClientError& error) {
            return error.description();
        }
    };
    const ChildRun late = inChild([&] { return slowScan(500ms, 60s); }, 10s);
    EXPECT_EQ(late.outcome, BridgeClientError::database("reading it took too long").description());
    EXPECT_LT(late.elapsed, 1500ms);
    const ChildRun stopped = inChild([&] { return slowScan(60s, 100ms); }, 10s);
    EXPECT_EQ(stopped.outcome, BridgeClientError::database("the scan was stopped").description());
    EXPECT_LT(stopped.elapsed, 1s);
}
