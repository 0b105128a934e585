#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace quorva {

// The application's per-user preferences: QSettings in the native format under names fixed
// here once. Every write reaches the disk before it returns, and the file is owner-only.
class Preferences {
public:
    [[nodiscard]] static std::optional<QVariant> value(const QString& key);
    // Throws PlatformError when the file cannot be written; the earlier value stays then.
    static void setValue(const QString& key, const QVariant& value);
    // Throws PlatformError when the file cannot be written; the key stays then.
    static void remove(const QString& key);
    // Where the file lives (for tests and the CLI's status).
    [[nodiscard]] static QString fileName();

    // The string list under key; nothing when absent or of another type.
    [[nodiscard]] static std::optional<QStringList> stringList(const QString& key);
    // The byte array under key; nothing when absent or of another type.
    [[nodiscard]] static std::optional<QByteArray> bytes(const QString& key);
    // The string under key; nothing when absent or of another type.
    [[nodiscard]] static std::optional<QString> string(const QString& key);
};

} // namespace quorva
