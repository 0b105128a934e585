#include "Formats.h"

#include <QCoreApplication>

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <memory>

namespace quorva {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(quorva::Formats)
};

icu::Locale icuLocale(const QLocale& locale)
{
    // Qt's "C" locale writes like American English; ICU's root locale would write ISO dates.
    if (locale.language() == QLocale::C)
        return icu::Locale("en_US");
    return icu::Locale(locale.name().toStdString().c_str());
}

} // namespace

QString abbreviatedDateTime(const QDateTime& when, const QLocale& locale)
{
    if (!when.isValid())
        return {};
    const std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateTimeInstance(
        icu::DateFormat::kMedium, icu::DateFormat::kShort, icuLocale(locale)));
    if (!format)
        return locale.toString(when.toLocalTime(), QLocale::ShortFormat);
    icu::UnicodeString text;
    format->format(static_cast<UDate>(when.toMSecsSinceEpoch()), text);
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

QString Formats::abbreviatedDateTime(const QDateTime& when) const
{
    return quorva::abbreviatedDateTime(when);
}

QString backupAge(const QDateTime& when, const QDateTime& now, const QLocale& locale)
{
    if (!when.isValid())
        return {};
    const QDateTime local = when.toLocalTime();
    const auto days = local.date().daysTo(now.toLocalTime().date());
    const QString time = locale.toString(local.time(), QLocale::ShortFormat);
    if (days == 0)
        return QCoreApplication::translate("quorva::Formats", "today, %1").arg(time);
    if (days == 1)
        return QCoreApplication::translate("quorva::Formats", "yesterday, %1").arg(time);
    const QString day =
        locale.toString(local.date(), Text::tr("d MMM", "a day and its month, short: a QLocale date format"));
    if (days < 0) // a clock set wrong: the date alone, with no claim of when
        return day;
    return Text::tr("%1, %Ln days ago", nullptr, static_cast<int>(days)).arg(day);
}

QString Formats::backupAge(const QDateTime& when) const
{
    return quorva::backupAge(when, QDateTime::currentDateTime());
}

} // namespace quorva
