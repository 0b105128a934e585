#pragma once

#include "CommandLine.h"

#include <QDBusConnection>

#include <iosfwd>
#include <optional>

namespace quorva::cli {

// While a Bridge runs (the window, the background Bridge or `run`), it alone owns the pairing,
// the choices, the devices and the schedule: a workflow command becomes a call of its bus
// interface, and what it answers is worded here, in this process's language. Nothing when no
// Bridge runs, or when the command is one this process does itself (`status` reads what the
// Bridge wrote through; `inspect` and `classify` touch no state).
[[nodiscard]] std::optional<int> runInRunningBridge(const Invocation& invocation, bool terminal,
                                                    std::ostream& out, std::ostream& err,
                                                    QDBusConnection bus = QDBusConnection::sessionBus());

} // namespace quorva::cli
