#pragma once

#include "DevServiceConfig.h"

#include <QStringList>

#include <cstdint>
#include <string>
#include <variant>

namespace quorva::devservice {

inline constexpr std::uint16_t kDefaultPort = 8787;

struct CommandLine {
    DevServiceConfig config;
    std::uint16_t port = kDefaultPort;
    bool dump = false;
    bool json = false;
};

// The process should end at once: after --help (code 0, the help text) or a bad argument.
struct CommandLineExit {
    int exitCode = 0;
    std::string message;
};

// Reads the program's arguments (the first is the program's name).
[[nodiscard]] std::variant<CommandLine, CommandLineExit> parseCommandLine(const QStringList& arguments);

} // namespace quorva::devservice
