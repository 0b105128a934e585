#include "Formats.h"

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <memory>

namespace quorva {

namespace {

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

} // namespace quorva
