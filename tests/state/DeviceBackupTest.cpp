#include "BridgeFixture.h"
#include "FakeBackupTool.h"
#include "FakeUsbmuxd.h"

#include "devices/DeviceBackups.h"
#include "devices/DeviceWatcher.h"
#include "devices/IPhoneBackupRun.h"
#include "state/StateTexts.h"

#include <QCoroTask>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
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

    // A phone that does not answer lockdown keeps no name, and asking it to trust fails plainly.
    ASSERT_TRUE(watcher.device(kOtherUdid));
    EXPECT_TRUE(watcher.device(kOtherUdid)->name.isEmpty());
    const TrustOutcome trust = QCoro::waitFor(watcher.trust(kOtherUdid));
    EXPECT_EQ(trust.result, TrustOutcome::Result::failed);
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

// Phones whose lockdown accepts the connection and then never answers, as a phone does that hangs.
std::vector<QString> attachSilentPhones(FakeUsbmuxd& usbmuxd, int count)
{
    std::vector<QString> phones;
    for (int i = 0; i < count; ++i) {
        phones.push_back(QStringLiteral("00008101-0000000000000%1").arg(i, 3, 10, QLatin1Char('0')));
        usbmuxd.attach(phones.back(), FakeUsbmuxd::Lockdown::silent);
    }
    return phones;
}

QCoro::Task<> scanThenNote(BridgeAppState& state, bool& done)
{
    co_await state.scanNow();
    done = true;
}

TEST(DeviceWatcher, SilentIPhonesDoNotHoldUpAScanAndShowAsNotAnswering)
{
    FakeUsbmuxd usbmuxd;
    BridgeFixture harness;
    harness.deviceWatcher = std::make_shared<DeviceWatcher>(
        DeviceWatcherOptions{.serviceAddress = usbmuxd.address(), .answerWithin = 1s});
    auto state = harness.readyState({.candidates = 2});
    ASSERT_TRUE(harness.deviceWatcher->start());
    const std::vector<QString> phones = attachSilentPhones(usbmuxd, 6);
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return harness.deviceWatcher->connected().size() == 6; }));

    bool scanned = false;
    QCoro::Task<> scanning = scanThenNote(*state, scanned);
    EXPECT_TRUE(BridgeFixture::waitFor([&] { return scanned; })) << "the scan waited for the phones";
    EXPECT_EQ(recordedIds().size(), 2U);
    if (!scanned)
        QCoro::waitFor(std::move(scanning));

    DeviceBackups& backups = *state->deviceBackups();
    const auto allNotAnswering = [&] {
        return std::ranges::all_of(phones,
                                   [&](const QString& udid) { return backups.status(udid).notAnswering; });
    };
    ASSERT_TRUE(BridgeFixture::waitFor(allNotAnswering));
    const DeviceStatus status = backups.status(phones.front());
    EXPECT_TRUE(status.connected);
    EXPECT_EQ(texts::activityText(status.activity), texts::deviceNotAnswering(phones.front()));
}

// ---- Making a backup -------------------------------------------------------------------------

// Shell lines of a stand-in for idevicebackup2 ($2 is the phone, $4 the folder).
QByteArray progressBar(int percent)
{
    return "printf '\\r[=====     ] %3d%% Finished' " + QByteArray::number(percent) + "\nsleep 0.02\n";
}
QByteArray statusPlist(const char* snapshot, bool old = false)
{
    return "mkdir -p \"$4/$2\"\ncat > \"$4/$2/Status.plist\" <<EOF\n<?xml version=\"1.0\" "
           "encoding=\"UTF-8\"?>\n"
           "<plist version=\"1.0\"><dict><key>SnapshotState</key><string>" +
           QByteArray(snapshot) + "</string><key>Date</key><date>$(" +
           (old ? "echo 2020-05-01T10:00:00Z" : "date -u +%Y-%m-%dT%H:%M:%SZ") +
           ")</date></dict></plist>\nEOF\n";
}
QString writeScript(const QTemporaryDir& bin, const QByteArray& lines)
{
    return test::writeBackupTool(bin, lines);
}

// What the stand-in does.
struct FakeTool {
    std::vector<int> progress;  // percentages, each redrawn over the one before
    const char* snapshot = "";  // Status.plist's SnapshotState; none written when empty
    bool snapshotIsOld = false; // Status.plist dated before the run
    int exitStatus = 0;
    bool hang = false; // sleeps after its progress and never ends by itself
    const char* lastWords = "";
};

class Backup : public ::testing::Test {
protected:
    // The stand-in records its arguments beside itself.
    QString writeTool(const FakeTool& fake)
    {
        QByteArray lines = "printf '%s\\n' \"$@\" > \"" + m_bin.filePath("args").toUtf8() + "\"\n";
        for (const int percent : fake.progress)
            lines += progressBar(percent);
        if (*fake.snapshot)
            lines += statusPlist(fake.snapshot, fake.snapshotIsOld);
        lines += "echo\necho '" + QByteArray(fake.lastWords) + "'\n";
        if (fake.hang)
            lines += "exec sleep 30\n";
        return writeScript(m_bin, lines + "exit " + QByteArray::number(fake.exitStatus) + "\n");
    }

    [[nodiscard]] std::filesystem::path root() const { return m_root.path().toStdString(); }

    QTemporaryDir m_bin;
    QTemporaryDir m_root;
};

TEST_F(Backup, AFinishedRunReachesAHundredAndIsTheNewBackupAndTheNextIsIncremental)
{
    const QString tool = writeTool({.progress = {0, 12, 42, 87, 100}, .snapshot = "finished"});
    IPhoneBackupRun run(kUdid, root(), {.tool = tool});
    std::vector<BackupRunStage> stages;
    std::vector<int> progress;
    QObject::connect(&run, &IPhoneBackupRun::stageChanged,
                     [&](BackupRunStage stage) { stages.push_back(stage); });
    QObject::connect(&run, &IPhoneBackupRun::progressed, [&](int percent) { progress.push_back(percent); });
    const BackupRunOutcome outcome = QCoro::waitFor(run.run());

    EXPECT_EQ(outcome.result, BackupRunOutcome::Result::finished);
    EXPECT_EQ(outcome.percent, 100);
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_TRUE(outcome.snapshotDate);
    EXPECT_FALSE(outcome.incremental);
    EXPECT_EQ(progress, (std::vector<int>{0, 12, 42, 87, 100}));
    EXPECT_EQ(stages.front(), BackupRunStage::waitingForPasscode);
    EXPECT_EQ(stages.back(), BackupRunStage::ended);
    // Always for this one phone, into the folder the scanner reads.
    QFile arguments(m_bin.filePath("args"));
    ASSERT_TRUE(arguments.open(QIODevice::ReadOnly));
    EXPECT_EQ(arguments.readAll(), "-u\n" + kUdid.toUtf8() + "\nbackup\n" + m_root.path().toUtf8() + "\n");

    // The next run finds the phone's backup in the folder: incremental.
    std::ofstream(root() / kUdid.toStdString() / "Info.plist");
    IPhoneBackupRun next(kUdid, root(), {.tool = tool});
    const BackupRunOutcome again = QCoro::waitFor(next.run());
    EXPECT_EQ(again.result, BackupRunOutcome::Result::finished);
    EXPECT_TRUE(again.incremental);
}

// How a run ends, told apart by how the tool ended and what it left in Status.plist, or by what
// Bridge did to it.
struct EndingCase {
    const char* name;
    FakeTool fake;
    BackupRunOutcome::Result result;
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
    const BackupRunOutcome outcome = QCoro::waitFor(run.run());

    EXPECT_EQ(outcome.result, c.result);
    EXPECT_LT(clock.elapsed(), 5000); // a hanging tool sleeps for 30 s
    const bool endedByItself = !c.toolMissing && !c.cancelOnProgress && c.stallAfter.count() == 0;
    EXPECT_EQ(outcome.exitStatus, endedByItself ? std::optional(c.fake.exitStatus) : std::nullopt);
    EXPECT_EQ(outcome.percent, c.fake.progress.empty() ? 0 : c.fake.progress.back());
    if (*c.fake.lastWords) {
        EXPECT_EQ(outcome.lastLine, QString::fromUtf8(c.fake.lastWords));
    }
    EXPECT_EQ(outcome.snapshotDate.has_value(), c.result == BackupRunOutcome::Result::finished);
    // The parent is told of every ending but their own cancel, by the phone's name.
    const QString text = texts::activityText(DeviceActivity::ended(kName, outcome));
    EXPECT_TRUE(c.cancelOnProgress ? text.isEmpty() : text.contains(kName)) << text.toStdString();
}

using Result = BackupRunOutcome::Result;
INSTANTIATE_TEST_SUITE_P(
    ByTheTool, BackupEnding,
    ::testing::Values(
        EndingCase{"ExitZeroWithoutStatus", {.progress = {100}}, Result::notFinished},
        EndingCase{"ExitZeroUnfinished", {.progress = {100}, .snapshot = "uploading"}, Result::notFinished},
        EndingCase{"ExitZeroWithAnOldSnapshot",
                   {.progress = {100}, .snapshot = "finished", .snapshotIsOld = true},
                   Result::notFinished},
        EndingCase{
            "PhoneLeftLocked", {.exitStatus = 208, .lastWords = "ErrorCode 208: (Unknown)"}, Result::locked},
        EndingCase{"UnpluggedMidRun",
                   {.progress = {3, 31},
                    .exitStatus = 255,
                    .lastWords = "Could not receive from mobilebackup2 (-4)"},
                   Result::unplugged},
        EndingCase{"NotReached",
                   {.exitStatus = 255, .lastWords = "ERROR: Could not connect to lockdownd, error code -8"},
                   Result::notReached},
        EndingCase{"FolderMissing",
                   {.exitStatus = 255,
                    .lastWords = "ERROR: Backup directory \"/media/disk/Backup\" does not exist!"},
                   Result::folderMissing},
        EndingCase{"NoDiskSpace", {.progress = {64}, .exitStatus = 105}, Result::noDiskSpace},
        EndingCase{"AnyOtherFailure", {.progress = {9}, .exitStatus = 1}, Result::failed},
        EndingCase{"WithoutProgressForTooLong", {.progress = {17}, .hang = true}, Result::stalled, 400ms},
        EndingCase{"Cancelled", {.progress = {5}, .hang = true}, Result::cancelled, {}, true},
        EndingCase{.name = "WithoutTheTool", .result = Result::toolMissing, .toolMissing = true}),
    RowName());

QCoro::Task<> runThenKeep(IPhoneBackupRun& run, std::optional<BackupRunOutcome>& outcome)
{
    outcome = co_await run.run();
}

// A tool that writes without a line break for a long while: a stuck bar, or binary noise.
TEST_F(Backup, EndlessOutputWithoutLineBreaksIsReadAsItComesAndTheBarAfterItIsSeen)
{
    const QString tool =
        writeScript(m_bin, progressBar(7) + "head -c 40000000 /dev/zero | tr '\\0' '='\n" +
                               // A bar cut in two by a pause, so it comes in two reads.
                               "printf '\\r[====  ]  6'\nsleep 0.2\nprintf '3%% Finished'\nsleep 0.2\n" +
                               progressBar(100) + statusPlist("finished"));
    IPhoneBackupRun run(kUdid, root(), {.tool = tool});
    std::vector<int> progress;
    QObject::connect(&run, &IPhoneBackupRun::progressed, [&](int percent) { progress.push_back(percent); });
    std::optional<BackupRunOutcome> outcome;
    QCoro::Task<> running = runThenKeep(run, outcome);
    EXPECT_TRUE(BridgeFixture::waitFor([&] { return outcome.has_value(); })) << "still reading the output";
    if (!outcome)
        QCoro::waitFor(std::move(running));
    EXPECT_EQ(outcome->result, BackupRunOutcome::Result::finished);
    EXPECT_EQ(progress, (std::vector<int>{7, 63, 100}));
}

// ---- Backups this computer makes of the family's iPhones --------------------------------------

// A stand-in that puts a prepared backup in place of the phone's, as a real run rewrites it, and
// records which phone it was asked for.
QString writeCopyingTool(const QTemporaryDir& bin, const std::filesystem::path& prepared)
{
    return writeScript(bin, "echo \"$2\" >> \"" + bin.filePath("asked").toUtf8() + "\"\n" + progressBar(50) +
                                "rm -rf \"$4/$2\"\ncp -R \"" + QByteArray::fromStdString(prepared.string()) +
                                "\" \"$4/$2\"\n" + statusPlist("finished") + progressBar(100));
}

// Ava's iPhone, assigned, and Dad's, in a folder where both backups are weeks old; both phones
// connected to this computer.
struct FamilyWithPhones {
    const std::string parentsPhone = "00008030-000C1D2E3F40002E", avasPhone = BackupContent{}.udid;
    FakeUsbmuxd usbmuxd;
    QTemporaryDir bin;
    BridgeFixture harness;
    std::unique_ptr<BridgeAppState> state;

    explicit FamilyWithPhones(bool automaticBackups)
    {
        const std::filesystem::path folder = harness.path("Backup");
        harness.writeBackup(folder / avasPhone, {.candidates = 1, .ageHours = 20 * 24});
        harness.writeBackup(
            folder / parentsPhone,
            {.udid = parentsPhone, .deviceName = "Dad's iPhone", .candidates = 5, .ageHours = 30 * 24});
        const std::filesystem::path prepared =
            harness.writeBackup(harness.path("made") / avasPhone, {.candidates = 3, .ageHours = 0});
        harness.useDevices(usbmuxd.address(), writeCopyingTool(bin, prepared));
        harness.automaticBackups = automaticBackups;

        state = harness.makeState();
        harness.pair(*state);
        harness.nextChoice = folder;
        QCoro::waitFor(state->chooseBackupFolder());
        EXPECT_TRUE(state->assignDevice(avasPhone, kAva));
        QCoro::waitFor(state->start()); // as at launch: the watcher starts
        usbmuxd.attach(QString::fromStdString(parentsPhone));
        usbmuxd.attach(QString::fromStdString(avasPhone));
    }

    [[nodiscard]] QByteArray asked() const
    {
        QFile file(bin.filePath("asked"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
    }
};

TEST(BackupsMadeHere, AnAssignedIPhoneConnectedWithAnOldBackupIsBackedUpThenScannedAndNoOtherIs)
{
    FamilyWithPhones family(true);
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return recordedIds().size() == 3; }))
        << "the new backup's three candidates are scanned and sent; recorded " << recordedIds().size();
    EXPECT_EQ(family.asked(), QByteArray::fromStdString(family.avasPhone)) << "only Ava's iPhone";
    EXPECT_TRUE(recordedIds(family.parentsPhone).empty());
    EXPECT_EQ(texts::activityText(
                  family.state->deviceBackups()->status(QString::fromStdString(family.avasPhone)).activity),
              texts::backupRunOutcome(QStringLiteral("Maya's iPhone"),
                                      {.result = BackupRunOutcome::Result::finished, .exitStatus = 0}));
}

// A short CLI command (devices, backup) starts no backup of its own: it would end with the
// process. Asked for one, it makes exactly that one.
TEST(BackupsMadeHere, AShortCommandBacksUpOnlyWhatItIsAskedTo)
{
    FamilyWithPhones family(false);
    const QString ava = QString::fromStdString(family.avasPhone);
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return family.state->deviceBackups()->status(ava).connected; }));
    BridgeFixture::spin(500ms);
    EXPECT_TRUE(family.asked().isEmpty()) << "backed up by itself: " << family.asked().toStdString();

    // The picker lists the same iPhones throughout: a list made anew at each step of the
    // progress would close a picker the parent has open.
    DeviceListModel& choices = *family.state->deviceChoices();
    int remade = 0;
    QObject::connect(&choices, &QAbstractItemModel::modelReset, [&] { ++remade; });
    const BackupRunOutcome outcome = QCoro::waitFor(family.state->backUpAndScan(ava));
    EXPECT_EQ(outcome.result, BackupRunOutcome::Result::finished);
    EXPECT_EQ(family.asked(), QByteArray::fromStdString(family.avasPhone));
    EXPECT_EQ(recordedIds().size(), 3u);
    EXPECT_EQ(remade, 0);
    ASSERT_EQ(choices.indexOf(QString()), 0) << "No iPhone comes first";
    const QModelIndex avas = choices.index(choices.indexOf(ava));
    EXPECT_EQ(choices.data(avas, DeviceListModel::ActivityRole).toString(),
              texts::activityText(family.state->deviceBackups()->status(ava).activity));
    EXPECT_EQ(choices.data(avas, DeviceListModel::ChildIdRole).toString(), QString::fromStdString(kAva));
}

// An older iPhone's 40-digit id comes in lower case from usbmuxd and in upper case from its
// backup: it is the same iPhone, connected.
TEST(BackupsMadeHere, AnIPhoneIsKnownWhateverTheCaseOfItsId)
{
    const std::string upper = "0123456789ABCDEF0123456789ABCDEF01234567";
    FakeUsbmuxd usbmuxd;
    BridgeFixture harness;
    harness.writeBackup(harness.path("Backup") / upper, {.udid = upper, .candidates = 1});
    harness.deviceWatcher =
        std::make_shared<DeviceWatcher>(DeviceWatcherOptions{.serviceAddress = usbmuxd.address()});
    harness.automaticBackups = false;
    auto state = harness.makeState();
    harness.pair(*state);
    harness.nextChoice = harness.path("Backup");
    QCoro::waitFor(state->chooseBackupFolder());
    ASSERT_TRUE(state->assignDevice(upper, kAva));
    QCoro::waitFor(state->start());
    usbmuxd.attach(QString::fromStdString(upper).toLower());
    EXPECT_TRUE(BridgeFixture::waitFor(
        [&] { return state->deviceBackups()->status(QString::fromStdString(upper)).connected; }));
}

// The folder chosen is Ava's iPhone's own backup folder: the new backup replaces it there, where
// the next scan reads it, not in a folder of the same name inside it.
TEST(BackupsMadeHere, IntoTheIPhonesOwnFolderWhenThatIsTheFolderChosen)
{
    const std::string avasPhone = BackupContent{}.udid;
    FakeUsbmuxd usbmuxd;
    QTemporaryDir bin;
    BridgeFixture harness;
    const std::filesystem::path own = harness.path("Backup") / avasPhone;
    harness.writeBackup(own, {.candidates = 1, .ageHours = 20 * 24});
    harness.useDevices(usbmuxd.address(),
                       writeCopyingTool(bin, harness.writeBackup(harness.path("made") / avasPhone,
                                                                 {.candidates = 3, .ageHours = 0})));
    harness.automaticBackups = false;
    auto state = harness.makeState();
    harness.pair(*state);
    harness.nextChoice = own;
    QCoro::waitFor(state->chooseBackupFolder());
    ASSERT_TRUE(state->assignDevice(avasPhone, kAva));
    QCoro::waitFor(state->start());
    usbmuxd.attach(QString::fromStdString(avasPhone));
    const QString ava = QString::fromStdString(avasPhone);
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return state->deviceBackups()->status(ava).connected; }));

    EXPECT_EQ(QCoro::waitFor(state->backUpAndScan(ava)).result, BackupRunOutcome::Result::finished);
    EXPECT_FALSE(std::filesystem::exists(own / avasPhone)) << "a backup inside the backup";
    EXPECT_EQ(recordedIds().size(), 3u) << "the new backup is read";
}

// A backup's Info.plist names the phone, and usbmuxd names a connected one: neither may steer
// where the tool writes or where the run's result is read.
TEST(BackupsMadeHere, ADeviceIdThatIsAPathIsRefusedBeforeTheToolRuns)
{
    const std::string escape = "../escape";
    FakeUsbmuxd usbmuxd;
    QTemporaryDir bin;
    BridgeFixture harness;
    const std::filesystem::path folder = harness.path("Backup");
    harness.writeBackup(folder / "from-elsewhere", {.udid = escape, .candidates = 1});
    // What a run outside the folder would leave behind: a fresh, finished snapshot.
    std::filesystem::create_directories(harness.path("escape"));
    const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    std::ofstream(harness.path("escape") / "Status.plist")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>SnapshotState</key><string>finished</string><key>Date</key><date>"
        << now.toStdString() << "</date></dict></plist>\n";
    harness.useDevices(usbmuxd.address(),
                       writeScript(bin, "echo \"$2\" >> \"" + bin.filePath("asked").toUtf8() + "\"\n"));

    auto state = harness.makeState();
    harness.pair(*state);
    harness.nextChoice = folder;
    QCoro::waitFor(state->chooseBackupFolder());
    ASSERT_TRUE(state->assignDevice(escape, kAva));
    ASSERT_TRUE(harness.deviceWatcher->start());
    usbmuxd.attach(QString::fromStdString(escape));
    ASSERT_TRUE(BridgeFixture::waitFor([&] { return !harness.deviceWatcher->connected().empty(); }));

    const BackupRunOutcome outcome = QCoro::waitFor(state->backUpAndScan(QString::fromStdString(escape)));
    EXPECT_NE(outcome.result, BackupRunOutcome::Result::finished);
    EXPECT_FALSE(QFile::exists(bin.filePath("asked"))) << "the tool ran";
    const DeviceActivity refused = state->deviceBackups()->status(QString::fromStdString(escape)).activity;
    EXPECT_EQ(refused.stage, DeviceActivity::Stage::refused);
    EXPECT_EQ(refused.refusal, DeviceActivity::Refusal::notADeviceId);
    EXPECT_FALSE(texts::activityText(refused).isEmpty());
}

// The shapes a phone's id has; anything else never reaches a command line or a path.
TEST(DeviceId, IsAPhonesIdOrNothing)
{
    struct Row {
        const char* id;
        bool valid;
    };
    for (const Row& row : std::initializer_list<Row>{
             {"00008110-001A2B3C4D5E801E", true},
             {"00008110-001a2b3c4d5e801e", true},
             {"0123456789abcdef0123456789ABCDEF01234567", true},
             {"", false},
             {"../escape", false},
             {"00008110-001A2B3C4D5E801", false},
             {"00008110001A2B3C4D5E801E0", false},
             {"00008110-001A2B3C4D5E801G", false},
             {"0123456789abcdef0123456789abcdef0123456/", false},
             {"-u", false},
         })
        EXPECT_EQ(isDeviceId(QString::fromLatin1(row.id)), row.valid) << row.id;
}

} // namespace
} // namespace quorva::test
