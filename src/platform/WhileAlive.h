#pragma once

#include <QCoroTask>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <QCoroTimer>

#include <exception>
#include <optional>

namespace quorva {

// The one rule for the lifetime of asynchronous work: work belongs to a QObject, its owner (the
// state, a session or one of its flows, a device's backup), and ends with it.
// - A coroutine resumes after a wait only through `whileAlive`, bound to the owner of what it
//   resumes into.
// - Work that nobody awaits is started with `startOwned`, never dropped: what it hands back
//   reaches its owner only while the owner lives.
// - Work that must go on without its owner (a session's requests, a pairing attempt, a read on a
//   worker thread) holds copies of what it uses, never the owner, and the owner's stop token,
//   which the owner's destructor requests.

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

// The next `signal` of `sender`; also ends when the sender goes, so that nobody waits forever on
// an object that is gone. Bound with `whileAlive` to the sender, it tells the two apart.
template <typename Sender, typename Signal>
[[nodiscard]] QCoro::Task<> nextSignal(Sender* sender, Signal signal)
{
    // A timer relays either, since QCoro awaits a timer's private signal soundly; awaiting an idle
    // timer returns at once, so it is kept running until one of them comes.
    bool arrived = false;
    QTimer relay;
    relay.setSingleShot(true);
    const auto arrive = [&arrived, &relay] {
        arrived = true;
        relay.start(0);
    };
    QObject::connect(sender, signal, &relay, arrive);
    QObject::connect(sender, &QObject::destroyed, &relay, arrive);
    while (!arrived) {
        relay.start(std::chrono::hours(24));
        co_await relay;
    }
}

// Starts `work` on behalf of `owner` without awaiting it; `done` is called with its result only
// while the owner lives. The work's own waits are bound to their owners as above.
template <typename T, typename Done> void startOwned(QObject* owner, QCoro::Task<T> work, Done done)
{
    QCoro::connect(std::move(work), owner, std::move(done));
}

inline void startOwned(QObject* owner, QCoro::Task<> work)
{
    QCoro::connect(std::move(work), owner, [] {});
}

template <typename T> void startOwned(QObject* owner, QCoro::Task<T> work)
{
    QCoro::connect(std::move(work), owner, [](const T&) {});
}

} // namespace quorva
