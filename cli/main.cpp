// quorva-bridge-cli: the application's work without a window.
#include "BridgeCall.h"
#include "CommandLine.h"
#include "InspectCommand.h"
#include "StateCommands.h"
#include "StatusCommand.h"
#include "TerminalText.h"
#include "platform/UiLanguage.h"
#include "state/StateTexts.h"

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
    Invocation invocation = std::get<Invocation>(parsed);
    // A folder's name is bytes: one that is not UTF-8 would not survive the way through QString.
    if ((invocation.command == u"inspect" || invocation.command == u"choose-backup") &&
        !invocation.arguments.isEmpty()) {
        const qsizetype at = arguments.lastIndexOf(invocation.arguments.front());
        if (at > 0)
            invocation.folderBytes = QByteArray(argv[at]);
    }
    try {
        if (invocation.command == u"inspect")
            return runInspect(invocation, std::cout);
        if (invocation.command == u"classify")
            return runClassify(invocation, std::cout);
        const bool terminal = ::isatty(STDERR_FILENO) == 1;
        if (invocation.command != u"status" && invocation.command != u"run")
            checkWorkflowArguments(invocation);
        if (const auto status = runInRunningBridge(invocation, terminal, std::cout, std::cerr))
            return *status;
        return runStateCommand(invocation, terminal, std::cout, std::cerr);
    } catch (const UsageError& e) {
        return reportUsageError(invocation.command, QString::fromStdString(e.what()), std::cerr);
    } catch (const std::exception&) {
        std::cerr << printable(quorva::texts::failureText(std::current_exception()).toStdString())
                  << std::endl;
        return 1;
    }
}
