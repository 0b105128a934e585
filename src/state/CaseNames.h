#pragma once

#include <QMetaEnum>
#include <QString>

#include <optional>

namespace quorva {

// A case's name as the bus and the CLI's JSON spell it: its enumerator's name, which Qt's
// meta-object system keeps (Q_ENUM).
template <typename Enum> [[nodiscard]] QString caseName(Enum value)
{
    return QString::fromLatin1(QMetaEnum::fromType<Enum>().valueToKey(static_cast<int>(value)));
}

// The case of that name; nothing for any other name, a qualified one included.
template <typename Enum> [[nodiscard]] std::optional<Enum> caseNamed(const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char(':')))
        return std::nullopt;
    bool known = false;
    const int value = QMetaEnum::fromType<Enum>().keyToValue(name.toLatin1().constData(), &known);
    return known ? std::optional(static_cast<Enum>(value)) : std::nullopt;
}

} // namespace quorva
