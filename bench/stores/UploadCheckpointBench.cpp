// The scan's filtering against a full checkpoint: one read of the list (notYetRecorded) against
// one read per candidate (contains), 5000 candidates and 5000 stored identifiers, half of them new.
#include "stores/UploadCheckpointStore.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int stored = 5000;
constexpr int candidates = 5000;

std::string identifier(int i)
{
    char hex[65];
    std::snprintf(hex, sizeof hex, "%064x", i);
    return hex;
}

std::vector<quorva::ScannedMessage> scan()
{
    std::vector<quorva::ScannedMessage> messages;
    for (int i = stored / 2; i < stored / 2 + candidates; ++i)
        messages.push_back(
            quorva::ScannedMessage{identifier(i), "text", std::nullopt, quorva::Instant{}, {"rule"}});
    return messages;
}

const quorva::UploadCheckpointStore& fullCheckpoint()
{
    static const quorva::UploadCheckpointStore store = [] {
        const quorva::UploadCheckpointStore checkpoint{quorva::Preferences()};
        std::vector<std::string> ids;
        for (int i = 0; i < stored; ++i)
            ids.push_back(identifier(i));
        checkpoint.record(ids);
        return checkpoint;
    }();
    return store;
}

void notYetRecorded(benchmark::State& state)
{
    const auto& store = fullCheckpoint();
    const auto messages = scan();
    for (auto _ : state) {
        auto fresh = store.notYetRecorded(messages);
        benchmark::DoNotOptimize(fresh);
    }
    state.counters["fresh"] = static_cast<double>(store.notYetRecorded(messages).size());
}
BENCHMARK(notYetRecorded)->Unit(benchmark::kMillisecond);

void containsPerCandidate(benchmark::State& state)
{
    const auto& store = fullCheckpoint();
    const auto messages = scan();
    for (auto _ : state) {
        std::size_t fresh = 0;
        for (const auto& message : messages)
            fresh += store.contains(message.id) ? 0 : 1;
        benchmark::DoNotOptimize(fresh);
    }
}
BENCHMARK(containsPerCandidate)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Never the user's own preferences.
    QTemporaryDir configuration;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configuration.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
