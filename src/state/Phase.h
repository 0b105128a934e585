#pragma once

#include "state/Failure.h"

#include <QString>

namespace quorva {

// Where the workflow stands; `failed` carries the failure, whose text is made when it is read.
class Phase {
public:
    enum class Kind { starting, needsPairing, needsSetup, ready, scanning, failed };

    Phase() = default;
    [[nodiscard]] static Phase starting() { return Phase(Kind::starting); }
    [[nodiscard]] static Phase needsPairing() { return Phase(Kind::needsPairing); }
    [[nodiscard]] static Phase needsSetup() { return Phase(Kind::needsSetup); }
    [[nodiscard]] static Phase ready() { return Phase(Kind::ready); }
    [[nodiscard]] static Phase scanning() { return Phase(Kind::scanning); }
    [[nodiscard]] static Phase failed(Failure failure) { return Phase(Kind::failed, std::move(failure)); }

    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] const Failure& failure() const { return m_failure; } // unexpected unless failed
    // In the language of the translation in use now; empty unless failed.
    [[nodiscard]] QString failureText() const;
    // "starting", "needsPairing", … as the CLI's JSON names them.
    [[nodiscard]] QString name() const;

    friend bool operator==(const Phase& a, const Phase& b)
    {
        return a.m_kind == b.m_kind && a.m_failure == b.m_failure;
    }

private:
    explicit Phase(Kind kind, Failure failure = {}) : m_kind(kind), m_failure(std::move(failure)) {}

    Kind m_kind = Kind::starting;
    Failure m_failure;
};

} // namespace quorva
