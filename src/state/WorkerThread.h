#pragma once

#include <QCoroFuture>
#include <QCoroTask>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace quorva {

// Runs `work` on a worker thread of the global pool and resumes the awaiting coroutine on its
// own thread with the result, or rethrows there what `work` threw. The window stays responsive
// while a backup is read. `work` must own what it touches: the awaiting side may be gone by the
// time it ends, so it captures values, never the state or the session.
template <typename Work> auto onWorkerThread(Work work) -> QCoro::Task<std::invoke_result_t<Work>>
{
    using Result = std::invoke_result_t<Work>;
    struct Outcome {
        std::optional<Result> value;
        std::exception_ptr failure;
    };
    // Handed over by pointer, so a large result is moved rather than copied out of the future.
    const auto outcome = std::make_shared<Outcome>();
    // Named, not a temporary inside co_await: g++ 12 destroys such a temporary twice.
    auto job = [outcome, work = std::move(work)]() mutable {
        try {
            outcome->value.emplace(work());
        } catch (...) {
            outcome->failure = std::current_exception();
        }
    };
    QFuture<void> done = QtConcurrent::run(std::move(job));
    co_await done;
    if (outcome->failure)
        std::rethrow_exception(outcome->failure);
    co_return std::move(*outcome->value);
}

} // namespace quorva
