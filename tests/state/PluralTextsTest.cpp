// Texts in the reader's language: counts take its plural forms, and a notice is worded when it is
// read, wherever it went meanwhile, while the service always reads English.
#include "platform/UiLanguage.h"
#include "state/StateTexts.h"

#include "Printers.h"

#include <gtest/gtest.h>

namespace quorva {
namespace {

struct PluralRow {
    std::string name;
    QString language;
    qint64 count;
    QString scanComplete;
    QString lastScanRead;
};

class PluralTexts : public ::testing::TestWithParam<PluralRow> {};

TEST_P(PluralTexts, FollowTheCountInTheReadersLanguage)
{
    const PluralRow& row = GetParam();
    const UiLanguage language({row.language});
    EXPECT_EQ(texts::scanComplete(row.count, row.count), row.scanComplete);
    EXPECT_EQ(texts::lastScanRead(row.count, row.count), row.lastScanRead);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, PluralTexts,
    ::testing::Values(
        PluralRow{
            "EnglishOne", QStringLiteral("en-US"), 1,
            QStringLiteral("Scan complete. 1 focused candidate reviewed by Quorva."),
            QStringLiteral("Last scan: 1 recent incoming message inspected, 1 sent for safety review.")},
        PluralRow{"EnglishMany", QStringLiteral("en-US"), 1200,
                  QStringLiteral("Scan complete. 1,200 focused candidates reviewed by Quorva."),
                  QStringLiteral(
                      "Last scan: 1,200 recent incoming messages inspected, 1,200 sent for safety review.")},
        PluralRow{"GermanOne", QStringLiteral("de-DE"), 1,
                  QStringLiteral("Scan abgeschlossen. 1 gezielter Kandidat von Quorva geprüft."),
                  QStringLiteral("Letzter Scan: 1 kürzlich eingegangene Nachricht geprüft, 1 zur "
                                 "Sicherheitsprüfung gesendet.")},
        PluralRow{"GermanMany", QStringLiteral("de-DE"), 1200,
                  QStringLiteral("Scan abgeschlossen. 1.200 gezielte Kandidaten von Quorva geprüft."),
                  QStringLiteral("Letzter Scan: 1.200 kürzlich eingegangene Nachrichten geprüft, 1.200 zur "
                                 "Sicherheitsprüfung gesendet.")}),
    test::RowName{});

TEST(ANotice, IsWordedInItsReadersLanguageAndReportedInEnglish)
{
    const Notice old = lastBackedUpOn(QStringLiteral("Ava"), QDate(2026, 1, 10));
    const QString english =
        QStringLiteral("Ava's iPhone was last backed up on 10 Jan; there is nothing newer to check.");
    // As a failure's parts on the bus: the child's failure and the notice come back as they went.
    const Failure several{
        FailureCase::several,
        {},
        {{FailureCase::childFailed, {QStringLiteral("Ben")}, {{FailureCase::encryptedBackup, {}, {}}}},
         asFailure(old)}};
    for (const Failure& part : several.parts)
        EXPECT_EQ(partOf(failureName(part.kind), partArguments(part)), part);

    for (const auto& [name, shown] :
         {std::pair{"en-US", english},
          std::pair{"de-DE", QStringLiteral("Das iPhone von Ava wurde zuletzt am 10. Jan. gesichert; "
                                            "es gibt nichts Neueres zu prüfen.")}}) {
        const UiLanguage language({QString::fromLatin1(name)});
        EXPECT_EQ(texts::noticeText(old), shown);
        EXPECT_EQ(texts::reportText(old), english);
        EXPECT_TRUE(texts::failureText(several).endsWith(QLatin1Char('\n') + shown));
    }
}

} // namespace
} // namespace quorva
