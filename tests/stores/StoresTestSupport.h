#pragma once

#include <QCoroTask>
#include <QStringList>

#include <exception>
#include <optional>
#include <ostream>

QT_BEGIN_NAMESPACE
// Readable failure messages for QString and, through it, QStringList.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace quorva::test {

// Runs a task to its end and gives what it threw, or null. (QCoro::waitFor never returns when
// the awaited task throws, so failures are caught inside a coroutine of our own.)
std::exception_ptr failureOf(QCoro::Task<> task);

template <typename Error> std::optional<Error> errorOf(const std::exception_ptr& failure)
{
    if (!failure)
        return std::nullopt;
    try {
        std::rethrow_exception(failure);
    } catch (const Error& error) {
        return error;
    } catch (...) {
    }
    return std::nullopt;
}

template <typename Error, typename Action> std::optional<Error> thrownBy(Action&& action)
{
    try {
        action();
    } catch (...) {
        return errorOf<Error>(std::current_exception());
    }
    return std::nullopt;
}

// Asks a second process what the preferences hold under key: the first line is the value's type
// ("absent" when there is none), the further lines what stores read from it.
QStringList probePreferences(const QString& what, const QString& key);

} // namespace quorva::test
