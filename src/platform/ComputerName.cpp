#include "platform/ComputerName.h"

#include <QFile>
#include <QSysInfo>

namespace quorva {

namespace {

// Undoes shell quoting of one value as systemd writes it: single quotes literal, double quotes
// and bare words with backslash escapes.
QString unquote(const QString& raw)
{
    QString value;
    QChar quote;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (!quote.isNull() && c == quote) {
            quote = QChar();
        } else if (quote.isNull() && (c == u'"' || c == u'\'')) {
            quote = c;
        } else if (c == u'\\' && quote != u'\'' && i + 1 < raw.size()) {
            value += raw[++i];
        } else if (quote.isNull() && c == u'#') {
            break;
        } else {
            value += c;
        }
    }
    return value.trimmed();
}

} // namespace

QString prettyHostname(const QByteArray& machineInfoContents)
{
    QString name;
    for (const QByteArray& rawLine : machineInfoContents.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(QStringLiteral("PRETTY_HOSTNAME=")))
            name = unquote(line.mid(16));
    }
    return name;
}

QString computerName(const std::filesystem::path& machineInfo)
{
    QFile file(QString::fromStdString(machineInfo.string()));
    if (file.open(QIODevice::ReadOnly)) {
        const QString pretty = prettyHostname(file.readAll());
        if (!pretty.isEmpty())
            return pretty;
    }
    return QSysInfo::machineHostName().trimmed();
}

} // namespace quorva
