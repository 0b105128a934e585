#pragma once

#include <QCoroTask>

#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

// The one way tests wait for a task that may throw. (QCoro 0.8's waitFor never returns when the
// awaited task throws, so the failure is caught inside a coroutine of our own first.)
namespace quorva::test {

template <typename T> struct Settled {
    std::optional<std::conditional_t<std::is_void_v<T>, bool, T>> value;
    std::exception_ptr failure;
};

template <typename T> QCoro::Task<Settled<T>> settle(QCoro::Task<T> task)
{
    Settled<T> settled;
    try {
        if constexpr (std::is_void_v<T>) {
            co_await task;
            settled.value = true;
        } else {
            settled.value = co_await task;
        }
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
    if constexpr (!std::is_void_v<T>)
        return std::move(*settled.value);
}

// Runs the task to its end: what it threw, or null.
template <typename T> std::exception_ptr failureOf(QCoro::Task<T> task)
{
    return QCoro::waitFor(settle(std::move(task))).failure;
}

// What the action threw, when it is an Error.
template <typename Error, typename Action> std::optional<Error> thrownBy(Action&& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error;
    } catch (...) {
    }
    return std::nullopt;
}

// The failure as an Error, when it is one.
template <typename Error> std::optional<Error> errorOf(const std::exception_ptr& failure)
{
    return failure ? thrownBy<Error>([&] { std::rethrow_exception(failure); }) : std::nullopt;
}

// What the task threw, when it is an Error.
template <typename Error, typename T> std::optional<Error> errorOf(QCoro::Task<T> task)
{
    return errorOf<Error>(failureOf(std::move(task)));
}

} // namespace quorva::test
