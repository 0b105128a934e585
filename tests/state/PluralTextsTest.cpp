// Counts in the texts take the plural form of the reader's language: one, and every other count.
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

} // namespace
} // namespace quorva
