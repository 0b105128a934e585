#include "state/Phase.h"

namespace quorva {

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
