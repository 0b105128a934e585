#include "CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <ostream>

namespace quorva::cli {
namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

struct Argument {
    const char* name;
    const char* description;
};

constexpr const char* stateAsJson =
    QT_TRANSLATE_NOOP("CommandLine", "Print the final state as one JSON object. The token is never printed.");

// One command as its help shows it; the texts are translated where they are printed.
struct Command {
    const char* name;
    const char* syntax;  // the arguments as the program's help lists them
    const char* summary; // one line in the program's help
    const char* description;
    std::optional<Argument> argument;
    const char* json = stateAsJson; // what --json prints; none without the option
    bool at = false;
    std::optional<Argument> second = std::nullopt;
    const char* none = nullptr; // what --none stands for, in place of the second argument
    bool optional = false;      // the argument may be left out
};

// clang-format off
const std::array commands = {
    Command{"inspect", "FOLDER",
        QT_TRANSLATE_NOOP("CommandLine", "Show what a scan of FOLDER would send."),
        QT_TRANSLATE_NOOP("CommandLine", "Find the newest iPhone backup in FOLDER and show the recent incoming messages a "
                                         "scan would send for safety review, with the reasons, which stay on this "
                                         "computer. Nothing is sent or stored."),
        Argument{"FOLDER", QT_TRANSLATE_NOOP("CommandLine", "A backup folder, or a folder of backups.")},
        QT_TRANSLATE_NOOP("CommandLine", "Print the backup and the candidates as one JSON object."), true},
    Command{"classify", "TEXT",
        QT_TRANSLATE_NOOP("CommandLine", "Print the safety rules TEXT matches."),
        QT_TRANSLATE_NOOP("CommandLine", "Print the safety rules TEXT matches, one a line, or that no rule matched."),
        Argument{"TEXT", QT_TRANSLATE_NOOP("CommandLine", "The text of a message.")}, nullptr},
    Command{"pair", "CODE",
        QT_TRANSLATE_NOOP("CommandLine", "Pair this computer with Quorva Family."),
        QT_TRANSLATE_NOOP("CommandLine", "Pair with CODE and finish setting up: load the children, restore the "
                                         "backup folder, scan when ready. Nothing of an earlier pairing runs first, "
                                         "and what it was sent is sent again under the new one."),
        Argument{"CODE", QT_TRANSLATE_NOOP("CommandLine", "The pairing code shown in Quorva Family.")}},
    Command{"children", "",
        QT_TRANSLATE_NOOP("CommandLine", "List the family's child profiles."),
        QT_TRANSLATE_NOOP("CommandLine", "Ask the service for the family's child profiles and list them, each with "
                                         "its id and the iPhone assigned to it. Nothing is scanned or sent."),
        std::nullopt},
    Command{"choose-backup", "FOLDER",
        QT_TRANSLATE_NOOP("CommandLine", "Choose the family's backup folder."),
        QT_TRANSLATE_NOOP("CommandLine", "Choose the folder that holds the family's iPhone backups: the iPhones in "
                                         "it are listed and the folder remembered. Nothing is read until you assign "
                                         "each child's iPhone (devices, then assign)."),
        Argument{"FOLDER", QT_TRANSLATE_NOOP("CommandLine", "A backup folder, or a folder of backups.")}},
    Command{"devices", "",
        QT_TRANSLATE_NOOP("CommandLine", "List the iPhones backed up in the backup folder."),
        QT_TRANSLATE_NOOP("CommandLine", "List the iPhones backed up in the chosen backup folder: each one's id, "
                                         "name and model, when its newest backup was made, whether it is finished, "
                                         "being written or encrypted, and the child it is assigned to. Nothing is "
                                         "read past the backups' property lists, and nothing is sent."),
        std::nullopt,
        QT_TRANSLATE_NOOP("CommandLine", "Print the iPhones as one JSON array.")},
    Command{"assign", "DEVICE CHILD|--none",
        QT_TRANSLATE_NOOP("CommandLine", "Say which child an iPhone belongs to."),
        QT_TRANSLATE_NOOP("CommandLine", "Assign the iPhone DEVICE, as the devices command lists it, to the child "
                                         "CHILD: its backups are scanned under that child from now on, and the "
                                         "child's earlier iPhone, if any, is no longer scanned. With --none, DEVICE "
                                         "is no longer scanned at all. Only assigned iPhones are ever read."),
        Argument{"DEVICE", QT_TRANSLATE_NOOP("CommandLine", "The iPhone's id, as the devices command lists it.")},
        stateAsJson, false,
        Argument{"CHILD", QT_TRANSLATE_NOOP("CommandLine", "The child's id, as the children command lists it.")},
        QT_TRANSLATE_NOOP("CommandLine", "Assign the iPhone to no one.")},
    Command{"backup", "[DEVICE]",
        QT_TRANSLATE_NOOP("CommandLine", "Back up a connected iPhone, then scan it."),
        QT_TRANSLATE_NOOP("CommandLine", "Back up the assigned iPhone DEVICE, connected to this computer by its "
                                         "cable, into the backup folder with idevicebackup2, then scan the new "
                                         "backup. Without DEVICE, the one assigned iPhone that is connected. On a "
                                         "terminal, the backup's progress is shown on standard error."),
        Argument{"DEVICE", QT_TRANSLATE_NOOP("CommandLine", "The iPhone's id, as the devices command lists it.")},
        stateAsJson, false, std::nullopt, nullptr, true},
    Command{"scan", "",
        QT_TRANSLATE_NOOP("CommandLine", "Scan every assigned iPhone's backup and send what matches."),
        QT_TRANSLATE_NOOP("CommandLine", "Start up as at launch, which runs one scan and upload cycle when everything "
                                         "is set up: the newest finished backup of every assigned iPhone, each under "
                                         "its child. On a terminal, the upload's progress is shown on standard error."),
        std::nullopt},
    Command{"run", "",
        QT_TRANSLATE_NOOP("CommandLine", "Keep scanning every 30 minutes."),
        QT_TRANSLATE_NOOP("CommandLine", "Start up, then keep scanning every 30 minutes until SIGINT or SIGTERM, "
                                         "printing a line for each change."),
        std::nullopt,
        QT_TRANSLATE_NOOP("CommandLine", "Print the state as one JSON object a line, for each change. The token is "
                                         "never printed.")},
    Command{"status", "",
        QT_TRANSLATE_NOOP("CommandLine", "Show what is stored on this computer."),
        QT_TRANSLATE_NOOP("CommandLine", "Show the family as this computer sees it: the pairing, the backup folder, "
                                         "one block per child (the iPhone, its last backup, how many messages the "
                                         "service accepted), the iPhones nobody is assigned, what needs your "
                                         "attention, launch at login. Only the children's names are asked of the "
                                         "service."),
        std::nullopt},
    Command{"disconnect", "",
        QT_TRANSLATE_NOOP("CommandLine", "Forget the pairing and every choice."),
        QT_TRANSLATE_NOOP("CommandLine", "Forget the pairing and every choice on this computer. The service is not "
                                         "told."),
        std::nullopt},
    Command{"launch-at-login", "on|off",
        QT_TRANSLATE_NOOP("CommandLine", "Start Quorva Bridge when you log in, or not."),
        QT_TRANSLATE_NOOP("CommandLine", "Start Quorva Bridge when you log in, or stop doing so."),
        Argument{"on|off", QT_TRANSLATE_NOOP("CommandLine", "on or off.")}},
};
// clang-format on

QString translated(const char* text)
{
    return QCoreApplication::translate("CommandLine", text);
}

QCommandLineOption helpOption()
{
    return {{QStringLiteral("h"), QStringLiteral("help")}, Text::tr("Show this help and exit.")};
}

QCommandLineOption versionOption()
{
    return {{QStringLiteral("v"), QStringLiteral("version")}, Text::tr("Show the version and exit.")};
}

QCommandLineOption jsonOption(const char* description)
{
    return {QStringLiteral("json"), translated(description)};
}

QCommandLineOption atOption()
{
    return {QStringLiteral("at"),
            Text::tr("Scan as if at INSTANT, an ISO-8601 date-time such as 2026-03-01T08:15:30Z "
                     "(default: now)."),
            QStringLiteral("INSTANT")};
}

// A paragraph broken between words into lines that fit a terminal; the parser wraps only options.
QString wrapped(const QString& paragraph, qsizetype width = 79)
{
    QString text;
    qsizetype lineStart = 0;
    for (const QString& word : paragraph.split(u' ', Qt::SkipEmptyParts)) {
        if (text.size() > lineStart && text.size() - lineStart + 1 + word.size() > width) {
            text += u'\n';
            lineStart = text.size();
        } else if (text.size() > lineStart) {
            text += u' ';
        }
        text += word;
    }
    return text;
}

// The parser's own help with our usage line: the parser would name the path it was run from.
QString helpWithUsage(const QCommandLineParser& parser, const QString& usage)
{
    const QString text = parser.helpText();
    return Text::tr("Usage: %1").arg(usage) + text.mid(text.indexOf(u'\n'));
}

QString programHelp(const QCommandLineParser& parser)
{
    QString commandList = Text::tr("Commands:") + u'\n';
    for (const Command& c : commands) {
        const QString name = (QString::fromLatin1(c.name) + u' ' + QString::fromLatin1(c.syntax)).trimmed();
        commandList += QStringLiteral("  %1  %2\n").arg(name, -22).arg(translated(c.summary));
    }
    // The commands come first, after the description, as the manual page shows them too.
    QString text = helpWithUsage(parser, Text::tr("%1 COMMAND [OPTIONS] [ARGUMENTS]").arg(programName));
    text.insert(text.indexOf(QStringLiteral("\n\n")) + 2, commandList + u'\n');
    text += u'\n' +
            wrapped(Text::tr("Run '%1 COMMAND --help' for the options and arguments of a command.")
                        .arg(programName)) +
            QStringLiteral("\n\n") +
            wrapped(Text::tr(
                "Exit status: 0 on success, 1 when the work failed (the reason is on standard error), 2 "
                "when the command line is wrong.")) +
            u'\n';
    return text;
}

int answer(const QString& text, std::ostream& out)
{
    out << text.toStdString() << std::flush;
    return 0;
}

std::variant<Invocation, int> parseProgramOptions(const QStringList& arguments, std::ostream& out,
                                                  std::ostream& err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(wrapped(Text::tr(
        "Checks the family's local iPhone backups for safety signals for Quorva Family, without a window. "
        "Pair with a code from Quorva Family (pair), choose the folder that holds the backups "
        "(choose-backup), "
        "say whose iPhone each backup is (devices, children, assign), then scan (scan, or run to keep "
        "scanning). Only the assigned iPhones are read, each under its own child.")));
    const QCommandLineOption help = helpOption();
    const QCommandLineOption version = versionOption();
    parser.addOptions({help, version});
    if (!parser.parse(arguments))
        return reportUsageError({}, parser.errorText(), err);
    if (parser.isSet(help))
        return answer(programHelp(parser), out);
    if (parser.isSet(version))
        return answer(QStringLiteral("%1 %2\n").arg(programName, QStringLiteral(QUORVA_VERSION)), out);
    return reportUsageError({}, Text::tr("Missing command."), err);
}

} // namespace

int reportUsageError(const QString& command, const QString& message, std::ostream& err)
{
    const QString who = command.isEmpty() ? QString::fromLatin1(programName) : programName + (u' ' + command);
    err << who.toStdString() << ": " << message.toStdString() << "\n"
        << Text::tr("Try '%1 --help'.").arg(who).toStdString() << std::endl;
    return 2;
}

std::variant<Invocation, int> parseCommandLine(const QStringList& arguments, std::ostream& out,
                                               std::ostream& err)
{
    if (arguments.size() < 2 || arguments.at(1).startsWith(u'-'))
        return parseProgramOptions(arguments, out, err);
    const QString name = arguments.at(1);
    const auto command =
        std::find_if(commands.begin(), commands.end(), [&](const Command& c) { return name == c.name; });
    if (command == commands.end())
        return reportUsageError({}, Text::tr("Unknown command '%1'.").arg(name), err);

    QCommandLineParser parser;
    parser.setApplicationDescription(wrapped(translated(command->description)));
    const QCommandLineOption help = helpOption();
    parser.addOption(help);
    if (command->json)
        parser.addOption(jsonOption(command->json));
    if (command->at)
        parser.addOption(atOption());
    if (command->argument)
        parser.addPositionalArgument(QString::fromLatin1(command->argument->name),
                                     translated(command->argument->description));
    if (command->second)
        parser.addPositionalArgument(QString::fromLatin1(command->second->name),
                                     translated(command->second->description));
    const QCommandLineOption none(QStringLiteral("none"),
                                  command->none ? translated(command->none) : QString());
    if (command->none)
        parser.addOption(none);

    if (!parser.parse(QStringList{arguments.at(0)} + arguments.mid(2)))
        return reportUsageError(name, parser.errorText(), err);
    if (parser.isSet(help))
        return answer(helpWithUsage(parser, QStringLiteral("%1 %2 [OPTIONS] %3")
                                                .arg(programName, name, QString::fromLatin1(command->syntax))
                                                .trimmed()),
                      out);

    Invocation invocation{
        name, parser.positionalArguments(), command->json && parser.isSet(QStringLiteral("json")), {}, false,
        {}};
    invocation.none = command->none && parser.isSet(none);
    const qsizetype allowed = (command->argument ? 1 : 0) + (command->second && !invocation.none ? 1 : 0);
    const qsizetype expected = allowed - (command->optional ? 1 : 0);
    if (invocation.arguments.size() < expected) {
        const Argument& missing = invocation.arguments.isEmpty() ? *command->argument : *command->second;
        return reportUsageError(name, Text::tr("Missing %1.").arg(QString::fromLatin1(missing.name)), err);
    }
    if (invocation.arguments.size() > allowed)
        return reportUsageError(
            name, Text::tr("Unexpected argument '%1'.").arg(invocation.arguments.at(allowed)), err);
    if (command->at && parser.isSet(atOption()))
        invocation.at = parser.value(atOption());
    return invocation;
}

} // namespace quorva::cli
