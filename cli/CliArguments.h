#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorva::cli {

// A command line that does not fit the command: printed with the usage, exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The words after the command name: flags (--json), options with a value (--at X) and
// positional arguments, in any order.
class CliArguments {
public:
    CliArguments(std::vector<std::string> words, std::vector<std::string> flags, std::vector<std::string> options);

    [[nodiscard]] bool flag(const std::string& name) const;
    [[nodiscard]] std::optional<std::string> option(const std::string& name) const;
    // Exactly `count` positional arguments, or a UsageError.
    [[nodiscard]] const std::vector<std::string>& positionals(size_t count) const;

private:
    std::vector<std::string> m_positionals;
    std::vector<std::string> m_flagsSeen;
    std::vector<std::pair<std::string, std::string>> m_options;
};

} // namespace quorva::cli
