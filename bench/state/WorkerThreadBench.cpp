// What moving a scan off the window's thread costs: discovery and the scan of a busy backup
// (25,000 incoming messages, the newest 5,000 read) on this thread, and on a worker thread
// awaited as the scan cycle awaits it. The difference is the hand-over.
#include "backup/IPhoneBackupScanner.h"
#include "platform/WorkerThread.h"

#include "GeneratedBackup.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace quorva;

const bench::GeneratedBackup& backup()
{
    static const bench::GeneratedBackup generated;
    return generated;
}

void ScanOnThisThread(benchmark::State& state)
{
    const auto scanner = std::make_shared<const IPhoneBackupScanner>();
    for (auto _ : state) {
        const BackupDescriptor found = scanner->backups(backup().parent()).front();
        benchmark::DoNotOptimize(scanner->scan(found, backup().now()));
    }
}
BENCHMARK(ScanOnThisThread)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

void ScanOnAWorkerThread(benchmark::State& state)
{
    const auto scanner = std::make_shared<const IPhoneBackupScanner>();
    const std::filesystem::path folder = backup().parent();
    const Instant now = backup().now();
    for (auto _ : state) {
        auto discover = [scanner, folder] { return scanner->backups(folder); };
        const BackupDescriptor found = QCoro::waitFor(onWorkerThread(std::move(discover))).front();
        auto read = [scanner, found, now] { return scanner->scan(found, now); };
        benchmark::DoNotOptimize(QCoro::waitFor(onWorkerThread(std::move(read))));
    }
}
BENCHMARK(ScanOnAWorkerThread)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// The hand-over alone: an empty piece of work there and back.
void HandOver(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(QCoro::waitFor(onWorkerThread([] { return 1; })));
}
BENCHMARK(HandOver)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    (void)backup(); // written before any timing starts
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
