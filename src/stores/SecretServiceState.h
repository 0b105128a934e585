#pragma once

#include <QCoroTask>

namespace quorva {

// Whether the desktop's secret store (the Secret Service on the session bus) holds its default
// collection locked, as it is at login before the keyring is unlocked. False when there is no
// such store or it cannot be asked.
[[nodiscard]] QCoro::Task<bool> secretStoreIsLocked();

} // namespace quorva
