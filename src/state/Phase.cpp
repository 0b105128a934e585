#include "state/Phase.h"

#include "state/StateTexts.h"

namespace quorva {

QString Phase::failureText() const
{
    return m_kind == Kind::failed ? texts::failureText(m_failure) : QString();
}

QString Phase::name() const
{
    switch (m_kind) {
    case Kind::starting:
        return QStringLiteral("starting");
    case Kind::needsPairing:
        return QStringLiteral("needsPairing");
    case Kind::needsSetup:
        return QStringLiteral("needsSetup");
    case Kind::ready:
        return QStringLiteral("ready");
    case Kind::scanning:
        return QStringLiteral("scanning");
    case Kind::failed:
        return QStringLiteral("failed");
    }
    return {};
}

} // namespace quorva
