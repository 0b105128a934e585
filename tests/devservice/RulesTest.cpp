#include "CommandLine.h"
#include "RequestValidation.h"

#include <gtest/gtest.h>

using namespace quorva::devservice;

TEST(DevServiceRules, PairingCodesAreNormalisedLikeTheClientDoes)
{
    EXPECT_EQ(normalisePairingCode(" ab-c 12_3 "), "ABC123");
    EXPECT_EQ(normalisePairingCode("çé-7"), "ÇÉ7");
    EXPECT_EQ(normalisePairingCode("-- !"), "");
}

TEST(DevServiceRules, InstantsAndCharacterCounts)
{
    EXPECT_EQ(normaliseInstant("2026-03-01T08:15:30Z"), "2026-03-01T08:15:30.000Z");
    EXPECT_EQ(normaliseInstant("2026-03-01T10:15:30.25+02:00"), "2026-03-01T08:15:30.250Z");
    EXPECT_EQ(normaliseInstant("2026-03-01"), std::nullopt);
    EXPECT_EQ(normaliseInstant("2026-02-30T00:00:00Z"), std::nullopt);
    EXPECT_EQ(normaliseInstant("1772352930"), std::nullopt);

    EXPECT_EQ(countCharacters(""), 0u);
    EXPECT_EQ(countCharacters("e\xCC\x81"), 1u); // e + combining acute
    EXPECT_EQ(countCharacters("\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7 ok"),
              4u); // ZWJ family, space, o, k
}

TEST(DevServiceRules, CommandLineReadsRepeatedOptionsAndRefusesBadValues)
{
    const auto parsed =
        parseCommandLine({"quorva-devservice", "--port", "0", "--database", "/tmp/x.sqlite", "--pairing-code",
                          "ABC-123", "--pairing-code", "QRS456", "--child", "c1=Ava Smith", "--child",
                          "c2=Ben=Jr", "--fail-ingest-after", "2"});
    ASSERT_TRUE(std::holds_alternative<CommandLine>(parsed));
    const auto& options = std::get<CommandLine>(parsed);
    EXPECT_EQ(options.port, 0);
    EXPECT_EQ(options.config.databasePath, "/tmp/x.sqlite");
    EXPECT_EQ(options.config.pairingCodes, (std::vector<std::string>{"ABC-123", "QRS456"}));
    EXPECT_EQ(options.config.children,
              (std::vector<quorva::BridgeChild>{{"c1", "Ava Smith"}, {"c2", "Ben=Jr"}}));
    EXPECT_EQ(options.config.faults.failAfterBatches, 2);
    EXPECT_EQ(std::get<CommandLine>(parseCommandLine({"quorva-devservice"})).port, 8787);

    for (const QStringList& bad : {QStringList{"x", "--port", "70000"}, QStringList{"x", "--child", "noname"},
                                   QStringList{"x", "--child", "=Ava"}, QStringList{"x", "--json"},
                                   QStringList{"x", "--pairing-code", "--!"}, QStringList{"x", "--bogus"}}) {
        const auto result = parseCommandLine(bad);
        ASSERT_TRUE(std::holds_alternative<CommandLineExit>(result)) << bad.join(' ').toStdString();
        EXPECT_NE(std::get<CommandLineExit>(result).exitCode, 0);
    }
    const auto help = parseCommandLine({"x", "--help"});
    ASSERT_TRUE(std::holds_alternative<CommandLineExit>(help));
    EXPECT_EQ(std::get<CommandLineExit>(help).exitCode, 0);
}
