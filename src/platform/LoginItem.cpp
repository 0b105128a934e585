#include "platform/LoginItem.h"

#include "model/PlatformError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <system_error>

namespace quorva {

namespace {

const QString kEntryGroup = QStringLiteral("[Desktop Entry]");
// The application's switch that starts it without opening its window, as at log-in.
const QString kQuietStart = QStringLiteral("--background");
// Shown by the desktop's list of programs started at log-in.
const char* const kComment =
    QT_TRANSLATE_NOOP("LoginItem", "Check a local iPhone backup for safety signals for Quorva Family");

QString quoteArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool needsQuotes = argument.isEmpty() || std::any_of(argument.begin(), argument.end(),
                                                               [](QChar c) { return reserved.contains(c); });
    if (!needsQuotes)
        return argument;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

// The string-value escapes of desktop entries.
QString escapeValue(const QString& value)
{
    QString escaped;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            escaped += QStringLiteral("\\\\");
            break;
        case '\n':
            escaped += QStringLiteral("\\n");
            break;
        case '\t':
            escaped += QStringLiteral("\\t");
            break;
        case '\r':
            escaped += QStringLiteral("\\r");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// The raw values of the [Desktop Entry] group; later keys win, other groups are ignored.
QHash<QString, QString> readEntryGroup(const QByteArray& contents)
{
    QHash<QString, QString> values;
    bool inGroup = false;
    for (const QByteArray& rawLine : contents.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inGroup = line == kEntryGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inGroup && equals > 0)
            values.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return values;
}

PlatformError loginItemError(const std::string& action, const std::filesystem::path& path,
                             const QString& reason)
{
    return PlatformError("The login item \u201C" + path.string() + "\u201D could not be " + action + ": " +
                         reason.toStdString() + ".");
}

} // namespace

LoginItem::LoginItem(std::filesystem::path autostartFolder, QStringList command)
    : m_folder(std::move(autostartFolder)), m_command(std::move(command))
{
}

std::filesystem::path LoginItem::defaultAutostartFolder()
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString base = QDir::isAbsolutePath(configHome) ? configHome : QDir::homePath() + "/.config";
    return std::filesystem::path(base.toStdString()) / "autostart";
}

std::filesystem::path LoginItem::entryPath() const
{
    return m_folder / (std::string(QUORVA_APP_ID) + ".desktop");
}

QStringList LoginItem::launchCommand() const
{
    if (!m_command.isEmpty())
        return m_command;
    const QFileInfo application(QCoreApplication::applicationDirPath() + "/quorva-bridge");
    if (application.isFile() && application.isExecutable())
        return {application.absoluteFilePath()};
    return {};
}

QString LoginItem::execValue(const QStringList& arguments)
{
    QStringList quoted;
    for (const QString& argument : arguments)
        quoted << quoteArgument(argument);
    // A single % would start a field code; the string escapes apply on top of the quoting.
    return escapeValue(quoted.join(u' ').replace(u'%', QStringLiteral("%%")));
}

LoginItem::Status LoginItem::status() const
{
    if (launchCommand().isEmpty())
        return Status::notFound;
    QFile file(QString::fromStdString(entryPath().string()));
    if (!file.open(QIODevice::ReadOnly))
        return Status::notRegistered;
    const auto values = readEntryGroup(file.readAll());
    if (values.value(QStringLiteral("Hidden")) == u"true" ||
        values.value(QStringLiteral("X-GNOME-Autostart-enabled")) == u"false" ||
        !values.contains(QStringLiteral("Exec")))
        return Status::notRegistered;
    return Status::enabled;
}

void LoginItem::registerItem() const
{
    const QStringList command = launchCommand();
    const std::filesystem::path path = entryPath();
    if (command.isEmpty())
        throw loginItemError("written", path,
                             QStringLiteral("Quorva Bridge was not found beside this program"));

    std::error_code error;
    std::filesystem::create_directories(m_folder, error);
    if (error)
        throw loginItemError("written", path, QString::fromStdString(error.message()));

    QSaveFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::WriteOnly))
        throw loginItemError("written", path, file.errorString());
    // TryExec names the program itself: once a purge removed it, desktops skip the entry that
    // the purge cannot reach in the user's home instead of failing to launch it at every log-in.
    QString entry = kEntryGroup + "\nType=Application\nName=Quorva Bridge\n" +
                    "Comment=" + escapeValue(QString::fromUtf8(kComment)) + "\n";
    const QString translatedComment = QCoreApplication::translate("LoginItem", kComment);
    if (translatedComment != QString::fromUtf8(kComment))
        entry += "Comment[" + QLocale().name() + "]=" + escapeValue(translatedComment) + "\n";
    entry += "Icon=" QUORVA_APP_ID "\n"
             "TryExec=" +
             escapeValue(command.front()) + "\nExec=" + execValue(command + QStringList{kQuietStart}) +
             "\n"
             "Terminal=false\n"
             "X-GNOME-Autostart-enabled=true\n";
    file.write(entry.toUtf8());
    if (!file.commit())
        throw loginItemError("written", path, file.errorString());
}

void LoginItem::unregisterItem() const
{
    const std::filesystem::path path = entryPath();
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error && error != std::errc::no_such_file_or_directory && error != std::errc::not_a_directory)
        throw loginItemError("removed", path, QString::fromStdString(error.message()));
}

} // namespace quorva
