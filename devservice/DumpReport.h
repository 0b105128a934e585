#pragma once

#include "DevStore.h"

#include <string>

namespace quorva::devservice {

// What the database holds: pairing codes, children, bridges, devices, heartbeats, ingested items
// and the number of alerts. Tokens are never in it: the store keeps only their hashes.
[[nodiscard]] std::string dumpText(DevStore& store);
[[nodiscard]] std::string dumpJson(DevStore& store);

} // namespace quorva::devservice
