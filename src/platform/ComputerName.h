#pragma once

#include <QByteArray>
#include <QString>

#include <filesystem>

namespace quorva {

// The computer's user-visible name: PRETTY_HOSTNAME of the machine-info file when set, else
// the host name; empty when neither is known.
[[nodiscard]] QString computerName(const std::filesystem::path& machineInfo = "/etc/machine-info");

// PRETTY_HOSTNAME of machine-info contents (shell-style assignments, quotes undone); empty
// when it is absent.
[[nodiscard]] QString prettyHostname(const QByteArray& machineInfoContents);

} // namespace quorva
