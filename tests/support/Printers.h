#pragma once

#include "state/Phase.h"

#include <QString>

#include <ostream>

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
