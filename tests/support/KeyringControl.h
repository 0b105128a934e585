#pragma once

#include <QString>

namespace quorva::test {

// Locks and unlocks the default collection of the private session's keyring, as a desktop does
// at log-out and log-in. Both return false when the keyring could not be reached.
bool lockKeyring();
bool unlockKeyring(const QString& password = QStringLiteral("quorva-private-session"));
// How many items the keyring holds for (server, user), whatever their form; -1 when unreachable.
int keyringItemCount(const QString& server, const QString& user);

} // namespace quorva::test
