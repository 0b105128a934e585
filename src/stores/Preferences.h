#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace quorva {

// The per-user preferences: QSettings in the native format. Every write reaches the disk before
// it returns, and the file is owner-only. A small handle: copies name the same file, so the
// stores built from one share what they write at once.
class Preferences {
public:
    // The application's own file. Changing either name moves the file and so forgets every
    // stored value.
    explicit Preferences(QString organization = QStringLiteral("Quorva"),
                         QString application = QStringLiteral("Quorva Bridge"));

    [[nodiscard]] std::optional<QVariant> value(const QString& key) const;
    // Throws PlatformError when the file cannot be written; the earlier value stays then.
    void setValue(const QString& key, const QVariant& value) const;
    // Throws PlatformError when the file cannot be written; the key stays then.
    void remove(const QString& key) const;
    // Where the file lives (for the lock beside it and the CLI's status).
    [[nodiscard]] QString fileName() const;

    // The string list under key; nothing when absent or of another type.
    [[nodiscard]] std::optional<QStringList> stringList(const QString& key) const;
    // The byte array under key; nothing when absent or of another type.
    [[nodiscard]] std::optional<QByteArray> bytes(const QString& key) const;
    // The string under key; nothing when absent or of another type.
    [[nodiscard]] std::optional<QString> string(const QString& key) const;

private:
    QString m_organization;
    QString m_application;
};

} // namespace quorva
