#pragma once

#include "model/Instant.h"
#include "state/Phase.h"

#include <QString>

namespace quorva::cli {

// What a phase is called where people read it, in the window's words.
[[nodiscard]] QString phaseWords(Phase::Kind kind);

// An instant as the user reads dates: in the local time zone, in the words of the user's locale,
// with the zone's name (for example "Mar 2, 2026, 5:00 AM JST" in American English).
[[nodiscard]] QString readableDateTime(Instant at);

} // namespace quorva::cli
