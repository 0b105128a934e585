#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <variant>

namespace quorva::cli {

// The name the CLI is installed and documented under.
inline constexpr const char* programName = "quorva-bridge-cli";

// A value that does not fit its command, found after parsing (an --at that is no date, …):
// reported like a parse error of that command, exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command with its arguments, in number and kind as the command takes them.
struct Invocation {
    QString command;
    QStringList arguments;
    bool json = false;
    std::optional<QString> at;
    bool none = false; // --none: in place of the last argument
    // The folder argument of inspect and choose-backup as the file system's bytes, which need not
    // be UTF-8; empty where the arguments came without their bytes.
    QByteArray folderBytes;
};

// Reads the program's arguments (the program's path first). Answers --help, --version and a
// command's --help on `out`, and a wrong command line on `err`: then the exit status comes back
// instead of an invocation. Needs neither a display nor the secret store.
[[nodiscard]] std::variant<Invocation, int> parseCommandLine(const QStringList& arguments, std::ostream& out,
                                                             std::ostream& err);

// One line saying what is wrong, one saying where to look; the command is empty for the program.
// Returns the exit status of a wrong command line.
int reportUsageError(const QString& command, const QString& message, std::ostream& err);

} // namespace quorva::cli
