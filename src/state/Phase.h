#pragma once

#include <QString>

namespace quorva {

// Where the workflow stands; `failed` carries the text shown to the user.
class Phase {
public:
    enum class Kind { starting, needsPairing, needsSetup, ready, scanning, failed };

    Phase() = default;
    [[nodiscard]] static Phase starting() { return Phase(Kind::starting); }
    [[nodiscard]] static Phase needsPairing() { return Phase(Kind::needsPairing); }
    [[nodiscard]] static Phase needsSetup() { return Phase(Kind::needsSetup); }
    [[nodiscard]] static Phase ready() { return Phase(Kind::ready); }
    [[nodiscard]] static Phase scanning() { return Phase(Kind::scanning); }
    [[nodiscard]] static Phase failed(QString text) { return Phase(Kind::failed, std::move(text)); }

    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] QString failureText() const { return m_failureText; } // empty unless failed
    // "starting", "needsPairing", … as the CLI's JSON names them.
    [[nodiscard]] QString name() const;

    friend bool operator==(const Phase& a, const Phase& b)
    {
        return a.m_kind == b.m_kind && a.m_failureText == b.m_failureText;
    }

private:
    explicit Phase(Kind kind, QString text = {}) : m_kind(kind), m_failureText(std::move(text)) {}

    Kind m_kind = Kind::starting;
    QString m_failureText;
};

} // namespace quorva
