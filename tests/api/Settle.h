#pragma once

#include <QCoroTask>

#include <exception>
#include <optional>
#include <utility>

namespace quorva::test {

// QCoro 0.8's waitFor never returns when the awaited task throws (its helper coroutine skips
// quitting the loop), so tests wait for a task that has caught its own failure instead.
template <typename T> struct Settled {
    std::optional<T> value;
    std::exception_ptr failure;
};

template <typename T> QCoro::Task<Settled<T>> settle(QCoro::Task<T> task)
{
    Settled<T> settled;
    try {
        settled.value = co_await task;
    } catch (...) {
        settled.failure = std::current_exception();
    }
    co_return settled;
}

// Runs the task to its end in a nested event loop: its value, or its failure rethrown here.
template <typename T> T resultOf(QCoro::Task<T> task)
{
    Settled<T> settled = QCoro::waitFor(settle(std::move(task)));
    if (settled.failure)
        std::rethrow_exception(settled.failure);
    return std::move(*settled.value);
}

} // namespace quorva::test
