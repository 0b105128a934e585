#pragma once

#include <QCoroTask>
#include <QObject>
#include <QPointer>

#include <exception>
#include <optional>

namespace quorva {

// Awaits work done for `owner` and hands its result back only while the owner still exists:
// nothing when it went meanwhile, also when the work failed. The one way a coroutine of the
// state resumes into an object that may be gone by the time its wait ends. The work itself must
// hold what it uses (copies, shared collaborators), never the owner.
template <typename T>
[[nodiscard]] QCoro::Task<std::optional<T>> whileAlive(QObject* owner, QCoro::Task<T> work)
{
    const QPointer<QObject> watched(owner);
    std::optional<T> result;
    std::exception_ptr failure;
    try {
        result.emplace(co_await std::move(work));
    } catch (...) {
        failure = std::current_exception();
    }
    if (!watched)
        co_return std::nullopt;
    if (failure)
        std::rethrow_exception(failure);
    co_return result;
}

// The same for work without a result: whether the owner is still there.
[[nodiscard]] inline QCoro::Task<bool> whileAlive(QObject* owner, QCoro::Task<> work)
{
    const QPointer<QObject> watched(owner);
    std::exception_ptr failure;
    try {
        co_await std::move(work);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!watched)
        co_return false;
    if (failure)
        std::rethrow_exception(failure);
    co_return true;
}

} // namespace quorva
