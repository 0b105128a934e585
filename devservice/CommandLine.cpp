#include "CommandLine.h"

#include "RequestValidation.h"

#include <QCommandLineParser>

namespace quorva::devservice {
namespace {

std::optional<long long> readNumber(const QString& text, long long min, long long max)
{
    bool ok = false;
    const long long value = text.toLongLong(&ok);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

CommandLineExit usageError(const QString& message)
{
    return {2, message.toStdString() + "\nTry 'quorva-devservice --help'."};
}

} // namespace

std::variant<CommandLine, CommandLineExit> parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Development stand-in for the Quorva family-safety service: the bridge "
                                     "endpoints on 127.0.0.1, persisted to a SQLite file.");
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption port("port", "Port on 127.0.0.1 (default 8787; 0 picks a free one).", "N",
                                  "8787");
    const QCommandLineOption database("database", "SQLite file (default ./quorva-devservice.sqlite).", "FILE",
                                      "quorva-devservice.sqlite");
    const QCommandLineOption pairingCode("pairing-code", "A pairing code, redeemable once. Repeatable.",
                                         "CODE");
    const QCommandLineOption child("child", "A child profile. Repeatable.", "ID=NAME");
    const QCommandLineOption dump("dump", "Print what the database holds and exit.");
    const QCommandLineOption json("json", "With --dump: print JSON.");
    const QCommandLineOption failAfter("fail-ingest-after",
                                       "Answer 500 to every ingest batch after the first N.", "N");
    const QCommandLineOption failMarker("fail-marker",
                                        "Answer \"failed\" for items whose text contains TEXT.", "TEXT");
    const QCommandLineOption ingestDelay("ingest-delay-ms", "Answer each ingest batch only after MS milliseconds.",
                                         "MS");
    const QCommandLineOption tokenLifetime("token-lifetime",
                                           "Seconds a bridge token stays valid (default 1 year).", "SECONDS");
    const QCommandLineOption maxBody("max-body-bytes", "Largest request body accepted (default 2 MiB).",
                                     "BYTES");
    parser.addOptions({help, port, database, pairingCode, child, dump, json, failAfter, failMarker,
                       ingestDelay, tokenLifetime, maxBody});

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help))
        return CommandLineExit{0, parser.helpText().toStdString()};
    if (!parser.positionalArguments().isEmpty())
        return usageError("Unexpected argument: " + parser.positionalArguments().first());

    CommandLine result;
    const auto portNumber = readNumber(parser.value(port), 0, 65535);
    if (!portNumber)
        return usageError("--port needs a number from 0 to 65535.");
    result.port = static_cast<std::uint16_t>(*portNumber);
    result.config.databasePath = parser.value(database).toStdString();
    result.dump = parser.isSet(dump);
    result.json = parser.isSet(json);
    if (result.json && !result.dump)
        return usageError("--json goes with --dump.");

    for (const QString& code : parser.values(pairingCode)) {
        if (normalisePairingCode(code.toStdString()).empty())
            return usageError("--pairing-code needs letters or digits: \"" + code + "\".");
        result.config.pairingCodes.push_back(code.toStdString());
    }
    for (const QString& entry : parser.values(child)) {
        const qsizetype equals = entry.indexOf('=');
        if (equals <= 0 || equals == entry.size() - 1)
            return usageError("--child needs ID=NAME: \"" + entry + "\".");
        result.config.children.push_back(
            {entry.left(equals).toStdString(), entry.mid(equals + 1).toStdString()});
    }
    if (parser.isSet(failAfter)) {
        const auto n = readNumber(parser.value(failAfter), 0, 1'000'000);
        if (!n)
            return usageError("--fail-ingest-after needs a number of batches.");
        result.config.faults.failAfterBatches = static_cast<int>(*n);
    }
    if (parser.isSet(failMarker)) {
        if (parser.value(failMarker).isEmpty())
            return usageError("--fail-marker needs a text.");
        result.config.faults.statusMarkers[parser.value(failMarker).toStdString()] = "failed";
    }
    if (parser.isSet(ingestDelay)) {
        const auto ms = readNumber(parser.value(ingestDelay), 0, 60'000);
        if (!ms)
            return usageError("--ingest-delay-ms needs a number of milliseconds up to 60000.");
        result.config.faults.delayPerBatch = std::chrono::milliseconds(*ms);
    }
    if (parser.isSet(tokenLifetime)) {
        const auto seconds = readNumber(parser.value(tokenLifetime), 0, 100LL * 365 * 86400);
        if (!seconds)
            return usageError("--token-lifetime needs a number of seconds.");
        result.config.tokenLifetime = std::chrono::seconds(*seconds);
    }
    if (parser.isSet(maxBody)) {
        const auto bytes = readNumber(parser.value(maxBody), 1, 1LL << 30);
        if (!bytes)
            return usageError("--max-body-bytes needs a positive number.");
        result.config.maxBodyBytes = static_cast<std::size_t>(*bytes);
    }
    return result;
}

} // namespace quorva::devservice
