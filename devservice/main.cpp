#include "CommandLine.h"
#include "DevService.h"
#include "DumpReport.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>

using namespace quorva::devservice;

namespace {

int printDump(const CommandLine& options)
{
    DevStore store(options.config.databasePath, DevStore::OpenMode::existingOnly);
    const std::string text = options.json ? dumpJson(store) : dumpText(store);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("quorva-devservice");

    const auto parsed = parseCommandLine(QCoreApplication::arguments());
    if (const auto* exit = std::get_if<CommandLineExit>(&parsed)) {
        std::fprintf(exit->exitCode == 0 ? stdout : stderr, "%s\n", exit->message.c_str());
        return exit->exitCode;
    }
    const auto& options = std::get<CommandLine>(parsed);

    try {
        if (options.dump)
            return printDump(options);

        DevService service(options.config, [](const std::string& line) {
            std::fprintf(stderr, "%s\n", line.c_str());
            std::fflush(stderr);
        });
        const quint16 port = service.listen(options.port);
        if (port == 0) {
            std::fprintf(stderr, "quorva-devservice: cannot listen on 127.0.0.1:%u\n",
                         unsigned{options.port});
            return 1;
        }
        // Scripts wait for this exact line before they send anything.
        std::printf("listening on http://127.0.0.1:%u\n", unsigned{port});
        std::fflush(stdout);
        return QCoreApplication::exec();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quorva-devservice: %s\n", e.what());
        return 1;
    }
}
