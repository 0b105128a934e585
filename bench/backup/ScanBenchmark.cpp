// Whole scans of a busy generated backup: 25,000 incoming messages, about 5 % risky, of which
// the scan reads the newest 5,000.
#include "backup/IPhoneBackupScanner.h"
#include "backup/MessagesReader.h"

#include "GeneratedBackup.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace quorva;
using quorva::bench::GeneratedBackup;

const GeneratedBackup& backup()
{
    static const GeneratedBackup generated;
    return generated;
}

// Discovery, then the scan of the newest backup, as the scan cycle runs them.
void WholeScan(benchmark::State& state)
{
    const IPhoneBackupScanner scanner;
    int64_t candidates = 0;
    int64_t inspected = 0;
    for (auto _ : state) {
        const auto found = scanner.backups(backup().parent());
        const BackupScanResult result = scanner.scan(found.front(), backup().now());
        candidates = static_cast<int64_t>(result.candidates.size());
        inspected = result.inspectedCount;
        benchmark::DoNotOptimize(result.candidates.data());
    }
    state.counters["inspected"] = static_cast<double>(inspected);
    state.counters["candidates"] = static_cast<double>(candidates);
}
BENCHMARK(WholeScan)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// What a cycle reads of a backup that has not changed since it was last scanned: discovery and
// the fingerprint, against discovery, the fingerprint and the whole scan of a changed one.
void UnchangedBackupCycleRead(benchmark::State& state)
{
    const IPhoneBackupScanner scanner;
    const std::optional<std::string> earlier =
        scanner.fingerprint(scanner.backups(backup().parent()).front());
    for (auto _ : state) {
        const auto found = newestPerDevice(scanner.backups(backup().parent()));
        const std::optional<std::string> now = scanner.fingerprint(found.front());
        if (!now || now != earlier)
            state.SkipWithError("the backup changed");
        benchmark::DoNotOptimize(now);
    }
}
BENCHMARK(UnchangedBackupCycleRead)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

void ChangedBackupCycleRead(benchmark::State& state)
{
    const IPhoneBackupScanner scanner;
    for (auto _ : state) {
        const auto found = newestPerDevice(scanner.backups(backup().parent()));
        benchmark::DoNotOptimize(scanner.fingerprint(found.front()));
        benchmark::DoNotOptimize(scanner.scan(found.front(), backup().now()).candidates.data());
    }
}
BENCHMARK(ChangedBackupCycleRead)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

// The parts, to see where a scan's time goes.
void Discovery(benchmark::State& state)
{
    const IPhoneBackupScanner scanner;
    for (auto _ : state)
        benchmark::DoNotOptimize(scanner.backups(backup().parent()));
}
BENCHMARK(Discovery)->Unit(benchmark::kMicrosecond);

void ReadMessages(benchmark::State& state)
{
    const IPhoneBackupScanner scanner;
    const auto database = MessagesReader::messagesDatabaseURL(scanner.backups(backup().parent()).front().url);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            MessagesReader::readMessages(database, Instant::distantPast(), Instant::distantFuture(), 5000));
}
BENCHMARK(ReadMessages)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    (void)backup(); // written before any timing starts
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
