// quorva-bridge-cli: the application's work without a window.
#include "CommandLine.h"
#include "InspectCommand.h"
#include "RunningInstance.h"
#include "StateCommands.h"
#include "StatusCommand.h"
#include "TerminalText.h"
#include "state/StateTexts.h"
#include "state/UiLanguage.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    using namespace quorva::cli;
    // `run` reports as things happen, also into a pipe or a file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    // The workflow commands run on a Qt event loop (network, secret store, timers); Qt is not
    // given the arguments, which are ours alone.
    int qtArgc = 1;
    const QCoreApplication app(qtArgc, argv);
    const quorva::UiLanguage language;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    const auto parsed = parseCommandLine(arguments, std::cout, std::cerr);
    if (const int* status = std::get_if<int>(&parsed))
        return *status;
    const Invocation& invocation = std::get<Invocation>(parsed);
    try {
        if (invocation.command == u"inspect")
            return runInspect(invocation, std::cout);
        if (invocation.command == u"classify")
            return runClassify(invocation, std::cout);
        // `run` is itself an instance: a second one beside a running one would only wait.
        if (invocation.command != u"run") {
            QStringList forwarded = arguments;
            if (invocation.command == u"choose-backup") {
                // The application would read a relative folder from where it was started.
                const qsizetype at = forwarded.lastIndexOf(invocation.arguments.value(0));
                forwarded[at] = QString::fromStdString(
                    std::filesystem::absolute(invocation.arguments.value(0).toStdString()).string());
            }
            if (const auto answer = askRunningInstance(forwarded)) {
                std::cout << answer->out.toStdString() << std::flush;
                std::cerr << answer->err.toStdString() << std::flush;
                return answer->status;
            }
        }
        return runStateCommand(invocation, ::isatty(STDERR_FILENO) == 1, std::cout, std::cerr);
    } catch (const UsageError& e) {
        return reportUsageError(invocation.command, QString::fromStdString(e.what()), std::cerr);
    } catch (const std::exception&) {
        std::cerr << printable(quorva::texts::failureText(std::current_exception()).toStdString())
                  << std::endl;
        return 1;
    }
}
