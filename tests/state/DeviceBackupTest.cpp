#include "BridgeFixture.h"
#include "FakeUsbmuxd.h"

#include "state/DeviceBackups.h"
#include "state/DeviceWatcher.h"
#include "state/IPhoneBackupRun.h"
#include "state/StateTexts.h"

#include <QCoroTask>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string_view>
#include <vector>

namespace quorva::test {
namespace {

using namespace std::chrono_literals;

const QString kUdid = QStringLiteral("00008110-001A2B3C4D5E801E");
const QString kOtherUdid = QStringLiteral("00008030-000C1D2E3F40002E");
const QString kName = QStringLiteral("Maya's iPhone");

// ---- Watching for connected iPhones ---------------------------------------------------------

std::vector<QString> udids(const DeviceWatcher& watcher)
{
    std::vector<QString> all;
    for (const ConnectedIPhone& phone : watcher.connected())
        all.push_back(phone.udid);
    return all;
}

TEST(DeviceWatcher, SeesIPhonesArriveAndLeave)
{
    FakeUsbmuxd usbmuxd;
    ASSERT_TRUE(usbmuxd.isListening());
    usbmuxd.attach(kUdid);

    DeviceWatcher watcher({.serviceAddress = usbmuxd.address()});
    std::vector<QString> connected, disconnected;
    QObject::connect(&watcher, &DeviceWatcher::deviceConnected,
                     [&](const QString& udid) { connected.push_back(udid); });
    QObject::connect(&watcher, &DeviceWatcher::deviceDisconnected,
                     [&](const QString& udid) { disconnected.push_back(udid); });
    ASSERT_TRUE(watcher.start());

    // Connected before Bridge started: found once, although both the list and the events name it.
    ASSERT_TRUE(
        BridgeFixture::waitFor([&] { return watcher.serviceState() == DeviceServiceState::available; }));
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return connected.size() == 1; }));
    BridgeFixture::spin(200ms);
    EXPECT_EQ(connected, std::vector<QString>{kUdid});
    EXPECT_EQ(udids(watcher), std::vector<QString>{kUdid});

    usbmuxd.attach(kOtherUdid);
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return connected.size() == 2; }));
    EXPECT_EQ(connected.back(), kOtherUdid);

    usbmuxd.detach(kUdid);
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return disconnected.size() == 1; }));
    EXPECT_EQ(disconnected.front(), kUdid);
    EXPECT_EQ(udids(watcher), std::vector<QString>{kOtherUdid});
    EXPECT_FALSE(watcher.device(kUdid));

    // A phone that does not answer lockdown keeps no name, and asking it to trust fails plainly.
    ASSERT_TRUE(watcher.device(kOtherUdid));
    EXPECT_TRUE(watcher.device(kOtherUdid)->name.isEmpty());
    const TrustOutcome trust = QCoro::waitFor(watcher.trust(kOtherUdid));
    EXPECT_EQ(trust.result, TrustOutcome::Result::failed);
    EXPECT_FALSE(trust.willEncrypt);
    EXPECT_EQ(QCoro::waitFor(watcher.trust(kUdid)).result, TrustOutcome::Result::notConnected);
}

TEST(DeviceWatcher, WithoutUsbmuxdSaysSoAndFindsItWhenItStarts)
{
    FakeUsbmuxd usbmuxd;
    usbmuxd.attach(kUdid);
    usbmuxd.stop();

    DeviceWatcher watcher({.serviceAddress = usbmuxd.address(), .retryInterval = 100ms});
    std::vector<DeviceServiceState> states;
    QObject::connect(&watcher, &DeviceWatcher::serviceStateChanged,
                     [&](DeviceServiceState state) { states.push_back(state); });
    ASSERT_TRUE(watcher.start());
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return !states.empty(); }));
    EXPECT_EQ(watcher.serviceState(), DeviceServiceState::unavailable);
    EXPECT_TRUE(watcher.connected().empty());
    EXPECT_EQ(QCoro::waitFor(watcher.trust(kUdid)).result, TrustOutcome::Result::notConnected);

    ASSERT_TRUE(usbmuxd.start());
    ASSERT_TRUE(
        BridgeFixture::waitFor([&] { return watcher.serviceState() == DeviceServiceState::available; }));
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return watcher.device(kUdid).has_value(); }));
}

TEST(DeviceWatcher, OneWatcherAtATime)
{
    FakeUsbmuxd usbmuxd;
    {
        DeviceWatcher first({.serviceAddress = usbmuxd.address()});
        ASSERT_TRUE(first.start());
        DeviceWatcher second({.serviceAddress = usbmuxd.address()});
        EXPECT_FALSE(second.start());
    }
    // Once the first is gone, another may watch.
    DeviceWatcher third({.serviceAddress = usbmuxd.address()});
    EXPECT_TRUE(third.start());
}

// What the parent reads after each answer the phone can give to "Trust this computer?".
struct TrustCase {
    const char* name;
    TrustOutcome outcome;
    const char* says;
    operator std::string_view() const { return name; } // how gtest prints the row
};

class TrustTexts : public ::testing::TestWithParam<TrustCase> {};

TEST_P(TrustTexts, NameThePhoneAndWhatToDo)
{
    const QString text = texts::trustOutcome(kName, GetParam().outcome);
    EXPECT_TRUE(text.contains(kName)) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String(GetParam().says))) << text.toStdString();
}

using R = TrustOutcome::Result;
INSTANTIATE_TEST_SUITE_P(
    Answers, TrustTexts,
    ::testing::Values(TrustCase{"Locked", {R::unlockFirst}, "Unlock Maya's iPhone and tap Trust"},
                      TrustCase{"AskingNow", {R::waitingForAnswer}, "Tap Trust"},
                      TrustCase{"Denied", {R::denied}, "did not trust this computer"},
                      TrustCase{"ForgotThisComputer", {R::pairAgain}, "tap Trust"},
                      TrustCase{"EncryptsBackups",
                                {R::trusted, true},
                                "Bridge reads only unencrypted backups: turn off Encrypt local backup"},
                      TrustCase{"Trusted", {R::trusted, false}, "trusts this computer"},
                      TrustCase{"NotConnected", {R::notConnected}, "not connected"}),
    RowName());

// ---- Making a backup -------------------------------------------------------------------------

// What the stand-in for idevicebackup2 does.
struct FakeTool {
    std::vector<int> progress;  // percentages, each redrawn over the one before
    const char* snapshot = "";  // Status.plist's SnapshotState; none written when empty
    bool snapshotIsOld = false; // Status.plist dated before the run
    int exitStatus = 0;
    double silenceFirst = 0; // seconds without a word before anything else
    bool hang = false;       // sleeps after its progress and never ends by itself
    const char* lastWords = "";
};

class Backup : public ::testing::Test {
protected:
    // Writes the fake tool; it records its arguments beside itself.
    QString writeTool(const FakeTool& fake)
    {
        QByteArray script =
            "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + m_bin.filePath("args").toUtf8() + "\"\n";
        if (fake.silenceFirst > 0)
            script += "sleep " + QByteArray::number(fake.silenceFirst) + "\n";
        script += "echo 'Backup directory is \"'\"$4\"'\"'\necho 'Requesting backup from device...'\n";
        for (const int percent : fake.progress) {
            const int bar = percent / 2;
            script += "printf '\\r[" + QByteArray(bar, '=') + QByteArray(50 - bar, ' ') +
                      "] %3d%% Finished' " + QByteArray::number(percent) + "\nsleep 0.02\n";
        }
        if (!fake.progress.empty())
            script += "echo\n";
        if (*fake.snapshot) {
            const QByteArray date = fake.snapshotIsOld ? QByteArray("echo 2020-05-01T10:00:00Z")
                                                       : QByteArray("date -u +%Y-%m-%dT%H:%M:%SZ");
            script += "mkdir -p \"$4/$2\"\ncat > \"$4/$2/Status.plist\" <<EOF\n"
                      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>\n"
                      "<key>SnapshotState</key><string>" +
                      QByteArray(fake.snapshot) + "</string>\n<key>Date</key><date>$(" + date +
                      ")</date>\n<key>IsFullBackup</key><false/>\n</dict></plist>\nEOF\n";
        }
        if (*fake.lastWords)
            script += "echo '" + QByteArray(fake.lastWords) + "'\n";
        if (fake.hang)
            script += "exec sleep 30\n";
        script += "exit " + QByteArray::number(fake.exitStatus) + "\n";

        QFile file(m_bin.filePath("idevicebackup2"));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(script);
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
        return file.fileName();
    }

    [[nodiscard]] std::filesystem::path root() const { return m_root.path().toStdString(); }

    [[nodiscard]] QStringList toolArguments() const
    {
        QFile file(m_bin.filePath("args"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QTemporaryDir m_bin;
    QTemporaryDir m_root;
};

// Everything the run showed on its way, and how it ended.
struct Watched {
    BackupRunOutcome outcome;
    std::vector<BackupRunStage> stages;
    std::vector<int> progress;
    std::vector<QString> shown; // the state texts the parent saw
};

Watched watch(IPhoneBackupRun& run)
{
    Watched watched;
    QObject::connect(&run, &IPhoneBackupRun::stageChanged, [&](BackupRunStage stage) {
        watched.stages.push_back(stage);
        watched.shown.push_back(texts::backupRunState(kName, stage, run.percent()));
    });
    QObject::connect(&run, &IPhoneBackupRun::progressed, [&](int percent) {
        watched.progress.push_back(percent);
        watched.shown.push_back(texts::backupRunState(kName, run.stage(), percent));
    });
    watched.outcome = QCoro::waitFor(run.run());
    return watched;
}

bool showed(const Watched& watched, const QString& text)
{
    return std::find(watched.shown.begin(), watched.shown.end(), text) != watched.shown.end();
}

TEST_F(Backup, AFinishedRunReachesAHundredAndIsTheNewBackupAndTheNextIsIncremental)
{
    const FakeTool fake{.progress = {0, 12, 42, 87, 100}, .snapshot = "finished"};
    IPhoneBackupRun run(kUdid, root(), {.tool = writeTool(fake)});
    const Watched watched = watch(run);

    EXPECT_EQ(watched.outcome.result, BackupRunOutcome::Result::finished);
    EXPECT_EQ(watched.outcome.percent, 100);
    EXPECT_EQ(watched.outcome.exitStatus, 0);
    EXPECT_TRUE(watched.outcome.snapshotDate);
    EXPECT_FALSE(watched.outcome.incremental);
    EXPECT_EQ(watched.progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(watched.progress.begin(), watched.progress.end()));
    EXPECT_TRUE(showed(watched, QStringLiteral("Backing up Maya's iPhone: 42 %")));
    EXPECT_EQ(watched.stages.front(), BackupRunStage::waitingForPasscode);
    EXPECT_EQ(watched.stages.back(), BackupRunStage::ended);
    // Always for this one phone, into the folder the scanner reads.
    EXPECT_EQ(toolArguments(),
              (QStringList{QStringLiteral("-u"), kUdid, QStringLiteral("backup"), m_root.path()}));
    EXPECT_FALSE(texts::backupRunOutcome(kName, watched.outcome).isEmpty());

    // The next run finds the phone's backup in the folder: incremental.
    QFile info(QString::fromStdString((root() / kUdid.toStdString() / "Info.plist").string()));
    ASSERT_TRUE(info.open(QIODevice::WriteOnly));
    info.close();
    IPhoneBackupRun next(kUdid, root(), {.tool = writeTool(fake)});
    const BackupRunOutcome again = QCoro::waitFor(next.run());
    EXPECT_EQ(again.result, BackupRunOutcome::Result::finished);
    EXPECT_TRUE(again.incremental);
}

// How a run ends, told apart by how the tool ended and what it left in Status.plist, or by what
// Bridge did to it, and what the parent reads on the way and at the end.
struct EndingCase {
    const char* name;
    FakeTool fake;
    BackupRunOutcome::Result result;
    const char* says = "";          // with the phone's name, in the outcome's text; none when empty
    const char* shownOnTheWay = ""; // a state text the parent saw while the tool ran
    std::chrono::milliseconds stallAfter{0};
    bool cancelOnProgress = false;
    bool toolMissing = false;
    operator std::string_view() const { return name; } // how gtest prints the row
};

class BackupEnding : public Backup, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(BackupEnding, IsToldApart)
{
    const EndingCase& c = GetParam();
    BackupRunOptions options{.tool = c.toolMissing ? m_bin.filePath("not-there") : writeTool(c.fake)};
    if (c.stallAfter.count() > 0)
        options.stallAfter = c.stallAfter, options.terminateGrace = 500ms;
    IPhoneBackupRun run(kUdid, root(), options);
    if (c.cancelOnProgress)
        QObject::connect(
            &run, &IPhoneBackupRun::progressed, &run, [&] { run.cancel(); }, Qt::QueuedConnection);
    QElapsedTimer clock;
    clock.start();
    const Watched watched = watch(run);
    const BackupRunOutcome& outcome = watched.outcome;

    EXPECT_EQ(outcome.result, c.result);
    EXPECT_LT(clock.elapsed(), 5000); // a hanging tool sleeps for 30 s
    const bool endedByItself = !c.toolMissing && !c.cancelOnProgress && c.stallAfter.count() == 0;
    EXPECT_EQ(outcome.exitStatus, endedByItself ? std::optional(c.fake.exitStatus) : std::nullopt);
    EXPECT_EQ(outcome.percent, c.fake.progress.empty() ? 0 : c.fake.progress.back());
    if (*c.fake.lastWords) {
        EXPECT_EQ(outcome.lastLine, QString::fromUtf8(c.fake.lastWords));
    }
    EXPECT_EQ(outcome.snapshotDate.has_value(), c.result == BackupRunOutcome::Result::finished);
    if (*c.shownOnTheWay) {
        EXPECT_TRUE(showed(watched, QString::fromUtf8(c.shownOnTheWay)));
    }
    const QString text = texts::backupRunOutcome(kName, outcome);
    if (*c.says) {
        EXPECT_TRUE(text.contains(kName)) << text.toStdString();
        EXPECT_TRUE(text.contains(QLatin1String(c.says))) << text.toStdString();
    } else {
        EXPECT_TRUE(text.isEmpty()) << text.toStdString();
    }
}

using Result = BackupRunOutcome::Result;
INSTANTIATE_TEST_SUITE_P(
    ByTheTool, BackupEnding,
    ::testing::Values(
        EndingCase{
            "ExitZeroWithoutStatus", {.progress = {100}}, Result::notFinished, "ended without finishing"},
        EndingCase{"ExitZeroUnfinished",
                   {.progress = {100}, .snapshot = "uploading"},
                   Result::notFinished,
                   "ended without finishing"},
        EndingCase{"ExitZeroWithAnOldSnapshot",
                   {.progress = {100}, .snapshot = "finished", .snapshotIsOld = true},
                   Result::notFinished,
                   "ended without finishing"},
        EndingCase{"PhoneLeftLocked",
                   {.exitStatus = 208, .silenceFirst = 0.3, .lastWords = "ErrorCode 208: (Unknown)"},
                   Result::locked,
                   "passcode",
                   "Waiting for the passcode on Maya's iPhone"},
        EndingCase{"UnpluggedMidRun",
                   {.progress = {3, 31},
                    .exitStatus = 255,
                    .lastWords = "Could not receive from mobilebackup2 (-4)"},
                   Result::unplugged,
                   "unplugged"},
        EndingCase{"NotReached",
                   {.exitStatus = 255, .lastWords = "ERROR: Could not connect to lockdownd, error code -8"},
                   Result::notReached,
                   "could not be reached"},
        EndingCase{"NoDiskSpace",
                   {.progress = {64}, .exitStatus = 105},
                   Result::noDiskSpace,
                   "not enough free space"},
        EndingCase{"AnyOtherFailure", {.progress = {9}, .exitStatus = 1}, Result::failed, "exit status 1"},
        EndingCase{.name = "WithoutProgressForTooLong",
                   .fake = {.progress = {17}, .hang = true},
                   .result = Result::stalled,
                   .says = "stopped making progress",
                   .stallAfter = 400ms},
        EndingCase{.name = "Cancelled",
                   .fake = {.progress = {5}, .hang = true},
                   .result = Result::cancelled,
                   .cancelOnProgress = true},
        EndingCase{.name = "WithoutTheTool",
                   .result = Result::toolMissing,
                   .says = "libimobiledevice-utils",
                   .toolMissing = true}),
    RowName());

// ---- Backups this computer makes of the family's iPhones --------------------------------------

// A stand-in for idevicebackup2 that puts a prepared backup in place of the phone's, as a real
// run rewrites it, and records which phone it was asked for.
QString writeCopyingTool(const QTemporaryDir& bin, const std::filesystem::path& prepared)
{
    QFile file(bin.filePath("idevicebackup2"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\necho \"$2\" >> \"" + bin.filePath("asked").toUtf8() +
               "\"\nprintf '\\r[=====     ]  50%% Finished'\nrm -rf \"$4/$2\"\ncp -R \"" +
               QByteArray::fromStdString(prepared.string()) + "\" \"$4/$2\"\n" +
               "cat > \"$4/$2/Status.plist\" <<EOF\n<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<plist version=\"1.0\"><dict><key>SnapshotState</key><string>finished</string>\n"
               "<key>Date</key><date>$(date -u +%Y-%m-%dT%H:%M:%SZ)</date></dict></plist>\nEOF\n"
               "printf '\\r[==========] 100%% Finished\\n'\n");
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner);
    return file.fileName();
}

TEST(BackupsMadeHere, AnAssignedIPhoneConnectedWithAnOldBackupIsBackedUpThenScannedAndNoOtherIs)
{
    const std::string parentsPhone = "00008030-000C1D2E3F40002E", avasPhone = BackupContent{}.udid;
    FakeUsbmuxd usbmuxd;
    QTemporaryDir bin;
    BridgeFixture harness;
    const std::filesystem::path folder = harness.path("Backup");
    harness.writeBackup(folder / avasPhone, {.candidates = 1, .ageHours = 20 * 24});
    harness.writeBackup(
        folder / parentsPhone,
        {.udid = parentsPhone, .deviceName = "Dad's iPhone", .candidates = 5, .ageHours = 30 * 24});
    const std::filesystem::path prepared =
        harness.writeBackup(harness.path("made") / avasPhone, {.candidates = 3, .ageHours = 0});
    harness.deviceWatcher =
        std::make_shared<DeviceWatcher>(DeviceWatcherOptions{.serviceAddress = usbmuxd.address()});
    harness.backupTool = writeCopyingTool(bin, prepared);

    auto state = harness.makeState();
    harness.pair(*state);
    harness.nextChoice = folder;
    QCoro::waitFor(state->chooseBackupFolder());
    ASSERT_TRUE(state->assignDevice(avasPhone, kAva));
    QCoro::waitFor(state->start()); // as at launch: the watcher starts
    usbmuxd.attach(QString::fromStdString(parentsPhone));
    usbmuxd.attach(QString::fromStdString(avasPhone));

    ASSERT_TRUE(BridgeFixture::waitFor([&] { return recordedIds().size() == 3; }))
        << "the new backup's three candidates are scanned and sent; recorded " << recordedIds().size();
    QFile asked(bin.filePath("asked"));
    ASSERT_TRUE(asked.open(QIODevice::ReadOnly));
    EXPECT_EQ(asked.readAll().trimmed(), QByteArray::fromStdString(avasPhone)) << "only Ava's iPhone";
    EXPECT_TRUE(recordedIds(parentsPhone).empty());
    EXPECT_EQ(state->deviceBackups()->activity(QString::fromStdString(avasPhone)).text,
              texts::backupRunOutcome(QStringLiteral("Maya's iPhone"),
                                      {.result = BackupRunOutcome::Result::finished, .exitStatus = 0}));
}

} // namespace
} // namespace quorva::test
