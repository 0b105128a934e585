#pragma once

#include "state/Phase.h"

#include <QString>

#include <gtest/gtest.h>

#include <ostream>
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
        *out << "(\"" << phase.failureText().toStdString() << "\")";
}
} // namespace quorva

namespace quorva::test {
// Names each row of a parameterised test after its `name` member, so a failing row names itself.
struct RowName {
    template <typename Row> std::string operator()(const ::testing::TestParamInfo<Row>& info) const
    {
        return info.param.name;
    }
};
} // namespace quorva::test
