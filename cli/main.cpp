// quorva-bridge-cli: the application's work without a window.
#include "CliArguments.h"
#include "InspectCommand.h"
#include "StateCommands.h"
#include "TerminalText.h"

#include <QCoreApplication>

#include <exception>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = R"(Usage: quorva-bridge-cli COMMAND [ARGUMENTS]

Commands:
  inspect FOLDER [--at INSTANT] [--json]
      Find the newest iPhone backup in FOLDER (a backup folder, or a folder of backups) and
      show, without sending or storing anything, the recent incoming messages a scan would
      send for safety review, with the reasons that stay on this computer. --at sets the
      scan's start (ISO-8601, default now); --json prints one JSON object.
  classify TEXT
      Print the safety rules TEXT matches, one a line.
  help, --help
      Show this text.

  The workflow, with the same stored pairing, choices and checkpoint as the application:
  pair CODE [--json]
      Start up as the application does at launch, then pair with CODE from Quorva Family
      and finish setting up (load the children, restore the backup folder, scan when ready).
  children [--json]
      Start up, then list the family's child profiles; * marks the selected one.
  select-child ID [--json]
      Choose the child who owns the iPhone.
  choose-backup FOLDER [--json]
      Choose the backup folder (a backup, or a folder of backups); the newest backup in it
      is checked and the folder remembered.
  scan [--json]
      Start up as at launch, which runs one scan and upload cycle when everything is set up;
      exits 1 when the cycle failed or none could run, saying why.
  run [--json]
      Start up, then keep scanning every 30 minutes until SIGINT or SIGTERM, printing each
      phase change.
  status [--json]
      What is stored on this computer: paired or not, the selected child, the backup folder,
      how many message identifiers the service accepted, launch at login.
  disconnect [--json]
      Forget the pairing and every choice on this computer (the service is not told).
  launch-at-login on|off [--json]
      Start the application when you log in, or stop doing so.

  With --json the final state is printed as one JSON object. The token is never printed.

Exit status: 0 on success, 1 when the work failed (the reason is printed on standard
error), 2 when the command line is wrong.
)";

struct Command {
    std::vector<std::string> flags;
    std::vector<std::string> options;
    std::function<int(const quorva::cli::CliArguments&)> run;
};

} // namespace

int main(int argc, char** argv)
{
    using namespace quorva::cli;
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    // The workflow commands run on a Qt event loop (network, secret store, timers).
    int qtArgc = 1;
    const QCoreApplication app(qtArgc, argv);
    const std::string name = words.front();
    words.erase(words.begin());
    if (name == "help" || name == "--help" || name == "-h") {
        std::cout << kUsage;
        return 0;
    }

    const auto workflow = [&name](const CliArguments& a) { return runStateCommand(name, a, std::cout, std::cerr); };
    const std::map<std::string, Command> commands = {
        {"inspect", {{"--json"}, {"--at"}, [](const CliArguments& a) { return runInspect(a, std::cout); }}},
        {"classify", {{}, {}, [](const CliArguments& a) { return runClassify(a, std::cout); }}},
        {"pair", {{"--json"}, {}, workflow}},
        {"children", {{"--json"}, {}, workflow}},
        {"select-child", {{"--json"}, {}, workflow}},
        {"choose-backup", {{"--json"}, {}, workflow}},
        {"scan", {{"--json"}, {}, workflow}},
        {"run", {{"--json"}, {}, workflow}},
        {"status", {{"--json"}, {}, workflow}},
        {"disconnect", {{"--json"}, {}, workflow}},
        {"launch-at-login", {{"--json"}, {}, workflow}},
    };
    const auto command = commands.find(name);
    if (command == commands.end()) {
        std::cerr << "quorva-bridge-cli: unknown command \"" << name << "\"\n\n" << kUsage;
        return 2;
    }
    try {
        const CliArguments args(words, command->second.flags, command->second.options);
        return command->second.run(args);
    } catch (const UsageError& e) {
        std::cerr << "quorva-bridge-cli " << name << ": " << e.what() << "\n\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << quorva::cli::printable(e.what()) << "\n";
        return 1;
    }
}
