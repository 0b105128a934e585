#pragma once

#include <QCoroFuture>
#include <QCoroSignal>
#include <QCoroTask>
#include <QFutureWatcher>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <chrono>
#include <exception>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace quorva {

namespace detail {

template <typename Result> struct WorkOutcome {
    std::optional<Result> value;
    std::exception_ptr failure;
};

// `work` wrapped to leave its result, or what it threw, in `outcome`.
template <typename Work>
auto recording(Work work, std::shared_ptr<WorkOutcome<std::invoke_result_t<Work>>> outcome)
{
    return [outcome = std::move(outcome), work = std::move(work)]() mutable {
        try {
            outcome->value.emplace(work());
        } catch (...) {
            outcome->failure = std::current_exception();
        }
    };
}

} // namespace detail

// Threads for calls into libimobiledevice, which block for as long as a phone or usbmuxd keeps
// quiet. Apart from the global pool, so a silent phone never holds up the reading of a backup;
// never deleted, so a thread still stuck in such a call does not hold up the process's exit.
inline QThreadPool& devicePool()
{
    static QThreadPool* const pool = [] {
        auto* threads = new QThreadPool;
        threads->setMaxThreadCount(16);
        return threads;
    }();
    return *pool;
}

// Runs `work` on the device pool and resumes the awaiting coroutine with its result, or with
// nothing once `deadline` has passed: the call itself may go on blocking its thread, but nobody
// waits for it any more. Rethrows what `work` threw.
template <typename Work>
auto onDeviceThread(Work work, std::chrono::milliseconds deadline)
    -> QCoro::Task<std::optional<std::invoke_result_t<Work>>>
{
    using Result = std::invoke_result_t<Work>;
    const auto outcome = std::make_shared<detail::WorkOutcome<Result>>();
    QFuture<void> done = QtConcurrent::run(&devicePool(), detail::recording(std::move(work), outcome));
    if (!done.isFinished()) {
        // The watcher's signal is posted to this thread, so an end that comes before the wait
        // begins is not missed.
        QFutureWatcher<void> watcher;
        watcher.setFuture(done);
        auto ended = qCoro(&watcher, &QFutureWatcher<void>::finished, deadline);
        co_await std::move(ended);
    }
    if (!done.isFinished())
        co_return std::nullopt;
    if (outcome->failure)
        std::rethrow_exception(outcome->failure);
    co_return std::move(outcome->value);
}

// Runs `work` on a worker thread of the global pool and resumes the awaiting coroutine on its
// own thread with the result, or rethrows there what `work` threw. The window stays responsive
// while a backup is read. `work` must own what it touches: the awaiting side may be gone by the
// time it ends, so it captures values, never the state or the session.
template <typename Work> auto onWorkerThread(Work work) -> QCoro::Task<std::invoke_result_t<Work>>
{
    // Handed over by pointer, so a large result is moved rather than copied out of the future.
    const auto outcome = std::make_shared<detail::WorkOutcome<std::invoke_result_t<Work>>>();
    // Named, not a temporary inside co_await: g++ 12 destroys such a temporary twice.
    auto job = detail::recording(std::move(work), outcome);
    QFuture<void> done = QtConcurrent::run(std::move(job));
    co_await done;
    if (outcome->failure)
        std::rethrow_exception(outcome->failure);
    co_return std::move(*outcome->value);
}

} // namespace quorva
