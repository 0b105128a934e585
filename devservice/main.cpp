#include "DevService.h"
#include "RequestValidation.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <exception>

using namespace quorva::devservice;

namespace {

// Ends the process at once: after --help with the help text, or with a usage error.
int usage(const QString& message, int exitCode = 2)
{
    const QByteArray text =
        (exitCode == 0 ? message : message + "\nTry 'quorva-devservice --help'.").toUtf8();
    std::fprintf(exitCode == 0 ? stdout : stderr, "%s\n", text.constData());
    return exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("quorva-devservice");

    QCommandLineParser parser;
    parser.setApplicationDescription("Development stand-in for the Quorva family-safety service: the bridge "
                                     "endpoints on 127.0.0.1, with its state in memory until it stops.");
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption port("port", "Port on 127.0.0.1 (default 8787; 0 picks a free one).", "N",
                                  "8787");
    const QCommandLineOption pairingCode("pairing-code", "A pairing code, redeemable once. Repeatable.",
                                         "CODE");
    const QCommandLineOption child("child", "A child profile. Repeatable.", "ID=NAME");
    const QCommandLineOption ingestDelay("ingest-delay-ms",
                                         "Answer each ingest batch only after MS milliseconds.", "MS");
    parser.addOptions({help, port, pairingCode, child, ingestDelay});

    if (!parser.parse(QCoreApplication::arguments()))
        return usage(parser.errorText());
    if (parser.isSet(help))
        return usage(parser.helpText(), 0);
    if (!parser.positionalArguments().isEmpty())
        return usage("Unexpected argument: " + parser.positionalArguments().first());

    bool ok = false;
    const uint listenPort = parser.value(port).toUInt(&ok);
    if (!ok || listenPort > 65535)
        return usage("--port needs a number from 0 to 65535.");
    DevServiceConfig config;
    for (const QString& code : parser.values(pairingCode)) {
        if (normalisePairingCode(code.toStdString()).empty())
            return usage("--pairing-code needs letters or digits: \"" + code + "\".");
        config.pairingCodes.push_back(code.toStdString());
    }
    for (const QString& entry : parser.values(child)) {
        const qsizetype equals = entry.indexOf('=');
        if (equals <= 0 || equals == entry.size() - 1)
            return usage("--child needs ID=NAME: \"" + entry + "\".");
        config.children.push_back({entry.left(equals).toStdString(), entry.mid(equals + 1).toStdString()});
    }
    if (parser.isSet(ingestDelay)) {
        const uint ms = parser.value(ingestDelay).toUInt(&ok);
        if (!ok || ms > 60'000)
            return usage("--ingest-delay-ms needs a number of milliseconds up to 60000.");
        config.faults.delayPerBatch = std::chrono::milliseconds(ms);
    }

    try {
        DevService service(config, [](const std::string& line) {
            std::fprintf(stderr, "%s\n", line.c_str());
            std::fflush(stderr);
        });
        const quint16 bound = service.listen(static_cast<quint16>(listenPort));
        if (bound == 0) {
            std::fprintf(stderr, "quorva-devservice: cannot listen on 127.0.0.1:%u\n", listenPort);
            return 1;
        }
        // Scripts wait for this exact line before they send anything.
        std::printf("listening on http://127.0.0.1:%u\n", unsigned{bound});
        std::fflush(stdout);
        return QCoreApplication::exec();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quorva-devservice: %s\n", e.what());
        return 1;
    }
}
