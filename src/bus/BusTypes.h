#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The names of Bridge on the session bus, shared by the running Bridge and its clients.
namespace quorva::bus {

inline constexpr const char* service = QUORVA_APP_ID;
inline constexpr const char* path = "/app/quorva/bridge";
inline constexpr const char* interface = QUORVA_APP_ID ".Bridge1";
inline constexpr unsigned version = 1;

// A case and what fills in its words, for a client that words it itself: one part of a failure,
// or one notice (D-Bus "(sas)").
struct Case {
    QString name;
    QStringList arguments;

    friend bool operator==(const Case&, const Case&) = default;
};
QDBusArgument& operator<<(QDBusArgument& argument, const Case& value);
const QDBusArgument& operator>>(const QDBusArgument& argument, Case& value);

// "app.quorva.bridge.Error.ServiceUnreachable" for "serviceUnreachable".
[[nodiscard]] QString errorName(const QString& failureName);
// The failure's name from an error name of ours; empty for any other error.
[[nodiscard]] QString failureNameOf(const QString& errorName);

// The list types the interface carries, known to QtDBus before the first call.
void registerTypes();

} // namespace quorva::bus

Q_DECLARE_METATYPE(quorva::bus::Case)
