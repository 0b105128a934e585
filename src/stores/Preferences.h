#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace quorva {

// The application's per-user preferences: QSettings in the native format under names fixed
// here once. Every write reaches the disk before it returns, and the file is owner-only.
class Preferences {
public:
    [[nodiscard]] static std::optional<QVariant> value(const QString& key);
    static void setValue(const QString& key, const QVariant& value);
    static void remove(const QString& key);
    // Where the file lives (for tests and the CLI's status).
    [[nodiscard]] static QString fileName();
};

} // namespace quorva
