#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

// The names of Bridge on the session bus, shared by the running Bridge and its clients.
namespace quorva::bus {

inline constexpr const char* service = QUORVA_APP_ID;
inline constexpr const char* path = "/app/quorva/bridge";
inline constexpr const char* interface = QUORVA_APP_ID ".Bridge1";
inline constexpr unsigned version = 1;

// "app.quorva.bridge.Error.ServiceUnreachable" for "serviceUnreachable".
[[nodiscard]] QString errorName(const QString& failureName);
// The failure's name from an error name of ours; empty for any other error.
[[nodiscard]] QString failureNameOf(const QString& errorName);

// The list types the interface carries, known to QtDBus before the first call.
void registerTypes();

} // namespace quorva::bus
