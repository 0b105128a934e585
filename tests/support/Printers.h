#pragma once

#include "state/Phase.h"

#include <QString>

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>

// Readable failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace quorva {
inline void PrintTo(const Phase& phase, std::ostream* out)
{
    *out << phase.name().toStdString();
    if (phase.kind() == Phase::Kind::failed)
        *out << "(" << failureName(phase.failure().kind).toStdString() << ": \""
             << phase.failureText().toStdString() << "\")";
}
} // namespace quorva

namespace quorva::test {
// A failed phase whose text, as shown now, is `text`.
inline ::testing::AssertionResult failedWith(const Phase& phase, const QString& text)
{
    if (phase.kind() == Phase::Kind::failed && phase.failureText() == text)
        return ::testing::AssertionSuccess();
    std::ostringstream shown;
    PrintTo(phase, &shown);
    return ::testing::AssertionFailure()
           << "the phase is " << shown.str() << ", not failed(\"" << text.toStdString() << "\")";
}

// Names each row of a parameterised test after its `name` member, so a failing row names itself.
struct RowName {
    template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row>& info) const
    {
        return info.param.name;
    }
};
} // namespace quorva::test
