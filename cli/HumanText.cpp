#include "HumanText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>

#include <unicode/dtptngen.h>
#include <unicode/smpdtfmt.h>

#include <memory>

namespace quorva::cli {
namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(HumanText)
};

icu::Locale icuLocale(const QLocale& locale)
{
    // Qt's "C" locale writes like American English; ICU's root locale would write ISO dates.
    if (locale.language() == QLocale::C)
        return icu::Locale("en_US");
    return icu::Locale(locale.name().toStdString().c_str());
}

} // namespace

QString phaseWords(Phase::Kind kind)
{
    switch (kind) {
    case Phase::Kind::starting:
        return Text::tr("Starting");
    case Phase::Kind::needsPairing:
        return Text::tr("Not paired");
    case Phase::Kind::needsSetup:
        return Text::tr("Finish setup");
    case Phase::Kind::ready:
        return Text::tr("Ready");
    case Phase::Kind::scanning:
        return Text::tr("Scanning");
    case Phase::Kind::failed:
        return Text::tr("Needs attention");
    }
    return {};
}

QString readableDateTime(Instant at)
{
    const auto milliseconds = static_cast<UDate>(at.unixSeconds * 1000.0);
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale = icuLocale(QLocale());
    const std::unique_ptr<icu::DateTimePatternGenerator> patterns(
        icu::DateTimePatternGenerator::createInstance(locale, status));
    // The locale's medium date and short time, as the window writes them, and the zone.
    const icu::UnicodeString pattern = U_SUCCESS(status)
                                           ? patterns->getBestPattern(icu::UnicodeString("yMMMdjmz"), status)
                                           : icu::UnicodeString();
    const icu::SimpleDateFormat format(pattern, locale, status);
    if (U_FAILURE(status)) {
        const auto local = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(milliseconds)).toLocalTime();
        return QLocale().toString(local, QLocale::LongFormat);
    }
    icu::UnicodeString text;
    format.format(milliseconds, text);
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

} // namespace quorva::cli
