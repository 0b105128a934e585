#include "devices/IPhoneBackupRun.h"

#include "backup/PropertyList.h"
#include "platform/Published.h"
#include "platform/WhileAlive.h"

#include <QCoroProcess>
#include <QCoroSignal>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <system_error>

namespace quorva {

namespace {

QCoro::Task<bool> startProcess(QProcess* process)
{
    co_return co_await qCoro(process).start();
}

QCoro::Task<> processFinished(QProcess* process)
{
    if (process->state() != QProcess::NotRunning)
        co_await qCoro(process, &QProcess::finished);
}

// idevicebackup2's exit statuses: a device error N leaves it with (256 - N) mod 256.
constexpr int kExitDeviceLocked = 208; // device error 48: the passcode was never entered
constexpr int kExitNoDevice = 255;     // no device, a lockdown error, or the connection lost mid-run
constexpr int kExitNoDiskSpace = 105;

// The phone's clock sets Status.plist's Date, and the tool writes it in whole seconds: a snapshot
// dated a little before the run began is still this run's.
constexpr double kClockSlackSeconds = 5.0;

// The most of an unbroken piece of output that is kept: a progress bar is under a hundred bytes.
constexpr qsizetype kPendingLimit = 4096;

// "[=====     ]  42% Finished", the bar of the whole backup. (The tool's other bars, for single
// files, end in a byte count instead and are not the backup's progress.)
std::optional<int> progressOf(const QString& piece)
{
    static const QRegularExpression bar(QStringLiteral("\\]\\s*(\\d{1,3})(?:\\.\\d+)?%\\s*Finished"));
    const QRegularExpressionMatch match = bar.match(piece);
    if (!match.hasMatch())
        return std::nullopt;
    return std::clamp(match.captured(1).toInt(), 0, 100);
}

} // namespace

bool isDeviceId(const QString& id)
{
    // Since 2018 eight and sixteen hexadecimal digits joined by a dash; before, forty digits.
    static const QRegularExpression shape(QStringLiteral("\\A(?:[0-9a-f]{8}-[0-9a-f]{16}|[0-9a-f]{40})\\z"),
                                          QRegularExpression::CaseInsensitiveOption);
    return shape.match(id).hasMatch();
}

IPhoneBackupRun::IPhoneBackupRun(QString udid, std::filesystem::path root, BackupRunOptions options,
                                 QObject* parent)
    : QObject(parent), m_udid(std::move(udid)), m_root(std::move(root)), m_options(std::move(options))
{
}

IPhoneBackupRun::~IPhoneBackupRun()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
    }
}

QCoro::Task<BackupRunOutcome> IPhoneBackupRun::run()
{
    BackupRunOutcome outcome;
    if (m_started) {
        outcome.lastLine = QStringLiteral("run() was called again");
        co_return outcome;
    }
    m_started = true;
    // Both the tool's argument and the folder whose Status.plist is believed.
    if (!isDeviceId(m_udid)) {
        setStage(BackupRunStage::ended);
        outcome.lastLine = QStringLiteral("not a device id: ") + m_udid;
        co_return outcome;
    }

    std::error_code ignored;
    outcome.incremental = std::filesystem::exists(m_root / m_udid.toStdString() / "Info.plist", ignored);
    m_startedAt = Instant::now();

    m_process = std::make_unique<QProcess>();
    // The progress bar goes to standard output, the tool's errors partly to standard error: one
    // stream keeps them in the order they were written.
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setProgram(m_options.tool);
    // Always with -u: without it the tool backs up whichever phone usbmuxd lists first.
    m_process->setArguments(
        {QStringLiteral("-u"), m_udid, QStringLiteral("backup"), QString::fromStdString(m_root.string())});
    connect(m_process.get(), &QProcess::readyRead, this, &IPhoneBackupRun::readOutput);

    m_stallTimer = new QTimer(this);
    m_stallTimer->setSingleShot(true);
    m_stallTimer->setInterval(m_options.stallAfter);
    connect(m_stallTimer, &QTimer::timeout, this, [this] { endRun(/*stalled=*/true); });

    QProcess* process = m_process.get();
    // QProcess waits for a program it cannot start as long as for one that starts slowly.
    const QFileInfo tool(m_options.tool.contains(QLatin1Char('/'))
                             ? m_options.tool
                             : QStandardPaths::findExecutable(m_options.tool));
    std::optional<bool> started = false;
    if (tool.isFile() && tool.isExecutable()) {
        QCoro::Task<bool> starting = startProcess(process);
        started = co_await whileAlive(this, std::move(starting));
        if (!started)
            co_return outcome;
    }
    if (!*started) {
        setStage(BackupRunStage::ended);
        outcome.result = BackupRunOutcome::Result::toolMissing;
        outcome.lastLine = tool.filePath().isEmpty() ? m_options.tool : process->errorString();
        co_return outcome;
    }
    m_stallTimer->start();
    setStage(BackupRunStage::waitingForPasscode);

    QCoro::Task<> finishing = processFinished(process);
    if (!co_await whileAlive(this, std::move(finishing)))
        co_return outcome;
    m_stallTimer->stop();
    readOutput();
    if (const QString rest = QString::fromUtf8(m_pending).trimmed(); !rest.isEmpty() && !progressOf(rest))
        m_lastLine = rest;

    outcome.percent = m_percent;
    outcome.lastLine = m_lastLine;
    if (m_cancelled) {
        outcome.result = BackupRunOutcome::Result::cancelled;
    } else if (m_stalled) {
        outcome.result = BackupRunOutcome::Result::stalled;
    } else if (process->exitStatus() != QProcess::NormalExit) {
        outcome.result = BackupRunOutcome::Result::failed;
    } else {
        outcome.exitStatus = process->exitCode();
        outcome.result = resultOfExit(process->exitCode());
        if (outcome.result == BackupRunOutcome::Result::finished)
            outcome.snapshotDate = finishedSnapshotDate();
        if (!outcome.snapshotDate && outcome.result == BackupRunOutcome::Result::finished)
            outcome.result = BackupRunOutcome::Result::notFinished;
    }
    setStage(BackupRunStage::ended);
    co_return outcome;
}

BackupRunOutcome::Result IPhoneBackupRun::resultOfExit(int status) const
{
    using R = BackupRunOutcome::Result;
    switch (status) {
    case 0:
        return R::finished; // if Status.plist agrees
    case kExitDeviceLocked:
        return R::locked;
    case kExitNoDevice:
        // The tool ends this way for a folder it cannot find too, and says so before anything.
        if (m_lastLine.contains(QLatin1String("Backup directory")) &&
            m_lastLine.contains(QLatin1String("does not exist")))
            return R::folderMissing;
        return m_percentSeen ? R::unplugged : R::notReached;
    case kExitNoDiskSpace:
        return R::noDiskSpace;
    default:
        return R::failed;
    }
}

std::optional<Instant> IPhoneBackupRun::finishedSnapshotDate() const
{
    // Exit 0 alone says little: the tool also ends well when the phone cancelled the backup.
    const auto status = PropertyList::readFile(m_root / m_udid.toStdString() / "Status.plist");
    if (!status || status->string("SnapshotState") != "finished")
        return std::nullopt;
    const std::optional<Instant> date = status->date("Date");
    if (!date || date->unixSeconds < std::floor(m_startedAt.unixSeconds) - kClockSlackSeconds)
        return std::nullopt; // the snapshot of an earlier run
    return date;
}

void IPhoneBackupRun::readOutput()
{
    if (!m_process)
        return;
    const QByteArray chunk = m_process->readAll();
    if (chunk.isEmpty())
        return;
    if (m_stallTimer && m_stallTimer->isActive())
        m_stallTimer->start();

    // The bar is redrawn after a carriage return, "[=====     ]  42% Finished", and flushed at
    // once: each piece is read once, as its break arrives, and the piece after the last break is
    // read too and kept for the next chunk. Only its tail is kept: a tool that writes without
    // breaks must not fill the memory, and a bar or a line worth keeping is short.
    int percent = -1;
    const auto take = [&](bool complete) {
        const QString piece = QString::fromUtf8(m_pending).trimmed();
        if (const std::optional<int> progress = progressOf(piece))
            percent = *progress;
        else if (complete && !piece.isEmpty())
            m_lastLine = piece;
    };
    qsizetype begin = 0;
    for (qsizetype i = 0; i < chunk.size(); ++i) {
        if (chunk[i] != '\r' && chunk[i] != '\n')
            continue;
        appendPending(chunk.sliced(begin, i - begin));
        take(/*complete=*/true);
        m_pending.clear();
        begin = i + 1;
    }
    appendPending(chunk.sliced(begin));
    if (!m_pending.isEmpty())
        take(/*complete=*/false);

    if (percent >= 0 && (percent != m_percent || !m_percentSeen)) {
        m_percent = percent;
        m_percentSeen = true;
        setStage(BackupRunStage::copying);
        emit progressed(percent);
    }
}

void IPhoneBackupRun::appendPending(QByteArrayView bytes)
{
    if (bytes.size() > kPendingLimit)
        bytes = bytes.last(kPendingLimit);
    m_pending += bytes;
    if (m_pending.size() > kPendingLimit)
        m_pending.remove(0, m_pending.size() - kPendingLimit);
}

void IPhoneBackupRun::cancel()
{
    m_cancelled = true;
    endRun(/*stalled=*/false);
}

void IPhoneBackupRun::endRun(bool stalled)
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    m_stalled = m_stalled || stalled;
    // The tool answers a terminate by cancelling the backup on the phone, which then forgets
    // the half-sent snapshot; only a tool that does not answer is killed.
    m_process->terminate();
    QTimer::singleShot(m_options.terminateGrace, m_process.get(), [process = m_process.get()] {
        if (process->state() != QProcess::NotRunning)
            process->kill();
    });
}

void IPhoneBackupRun::setStage(BackupRunStage stage)
{
    publish(this, m_stage, stage, &IPhoneBackupRun::stageChanged);
}

} // namespace quorva
