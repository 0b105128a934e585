// What `inspect` shows of a backup: the candidates exactly as a scan would send them.
#include "CommandLine.h"
#include "InspectCommand.h"
#include "SampleBackup.h"

#include "model/Iso8601.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <regex>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

namespace quorva::cli {
namespace {

const std::string kAt = "2026-03-01T12:00:00Z";
const Instant kNow = *parseInternetDateTime(kAt, FractionalSeconds::forbidden);

samples::SampleMessage incoming(std::string text, double minutesAgo)
{
    samples::SampleMessage message;
    message.text = std::move(text);
    message.sender = "+15550100";
    message.date = Instant{kNow.unixSeconds - 60.0 * minutesAgo};
    return message;
}

class Inspection {
public:
    explicit Inspection(std::vector<samples::SampleMessage> messages)
    {
        samples::SampleBackupPlan plan;
        plan.lastBackupDate = plan.statusDate = kNow;
        plan.messages = std::move(messages);
        samples::writeSampleBackup(folder(), plan);
    }

    // The command's standard output.
    std::string run(bool json)
    {
        QStringList arguments{QStringLiteral("quorva-bridge-cli"), QStringLiteral("inspect"),
                              QString::fromStdString(folder().string()), QStringLiteral("--at"),
                              QString::fromStdString(kAt)};
        if (json)
            arguments << QStringLiteral("--json");
        std::ostringstream out;
        std::ostringstream err;
        const auto parsed = parseCommandLine(arguments, out, err);
        EXPECT_TRUE(std::holds_alternative<Invocation>(parsed)) << err.str();
        EXPECT_EQ(runInspect(std::get<Invocation>(parsed), out), 0);
        return out.str();
    }
    nlohmann::json json() { return nlohmann::json::parse(run(true)); }

private:
    [[nodiscard]] std::filesystem::path folder() const { return m_dir.path().toStdString() + "/backup"; }
    QTemporaryDir m_dir;
};

struct Shown {
    const char* name;
    std::string text;
    std::string preview; // empty: not a candidate
};

void PrintTo(const Shown& shown, std::ostream* out)
{
    *out << shown.name;
}

class InspectedMessage : public ::testing::TestWithParam<Shown> {};

TEST_P(InspectedMessage, IsPreviewedAsItWouldBeSent)
{
    Inspection inspection({incoming(GetParam().text, 5)});
    const nlohmann::json candidates = inspection.json()["candidates"];
    if (GetParam().preview.empty()) {
        EXPECT_TRUE(candidates.empty()) << candidates.dump();
    } else {
        ASSERT_EQ(candidates.size(), 1u);
        EXPECT_EQ(candidates[0]["text"], GetParam().preview);
    }
}

// One-time codes a child receives are sent masked; a message asking for one is still sent.
const Shown kCodes[] = {
    {"GoogleShape", "G-386965 is your Google verification code.",
     "G-•••••• is your Google verification code."},
    {"CodeThenNumber", "Your verification code is 482913. Don't share it with anyone.",
     "Your verification code is ••••••. Don't share it with anyone."},
    {"FourDigits", "Use verification code 7731 to sign in to Snapchat",
     "Use verification code •••• to sign in to Snapchat"},
    {"Grouped", "[Discord] Your verification code is: 55-82-19. Do not share.",
     "[Discord] Your verification code is: ••-••-••. Do not share."},
    {"TwoLanguages", "Ihr Verifizierungscode: 904412 / Your verification code: 904412",
     "Ihr Verifizierungscode: •••••• / Your verification code: ••••••"},
    {"PinInGrooming", "keep this secret, my PIN is 2468 so you can log in",
     "keep this secret, my PIN is •••• so you can log in"},
    {"FrenchInPhishing", "https://login.example.com Votre code de vérification : 662 145",
     "https://login.example.com Votre code de vérification : ••• •••"},
    {"SpanishPasscode", "Tu código es 80417, úsalo aquí https://x.example.com/verify",
     "Tu código es •••••, úsalo aquí https://x.example.com/verify"},
    {"AskingForIt", "send me the verification code you just got",
     "send me the verification code you just got"},
    {"OrdinaryNumbers",
     "gift card code needed now: pay $1500 or call +1 555 014 2233 or 555-0142 before 10:30, 2026",
     "gift card code needed now: pay $1500 or call +1 555 014 2233 or 555-0142 before 10:30, 2026"},
    {"NumberFarFromCode", "Wire transfer of 250000 to the account today. It is about the code",
     "Wire transfer of 250000 to the account today. It is about the code"},
};
INSTANTIATE_TEST_SUITE_P(OneTimeCodes, InspectedMessage, ::testing::ValuesIn(kCodes),
                         [](const auto& info) { return std::string(info.param.name); });

// A term begins a word; what follows it may continue the word.
const Shown kWordStarts[] = {
    {"InsideCloser", "we are getting closer", ""},
    {"InsideAsexual", "my cousin is asexual and bisexual people exist too", ""},
    {"InsideBarcode", "scan the barcode at https://shop.example.com/item", ""},
    {"InsideUnicode", "the unicode table is at https://unicode.example.org/charts", ""},
    {"WordContinues", "you losers", "you losers"},
    {"AfterPunctuation", "lol.loser", "lol.loser"},
    {"AtTheStart", "Sexual stuff again?", "Sexual stuff again?"},
    {"PressureWordContinues", "get the codes at https://x.example.com",
     "get the codes at https://x.example.com"},
    {"PressureWordInLink", "https://x.example.com/verify-now", "https://x.example.com/verify-now"},
    {"AfterAnAccentedLetter", "Élosers", ""},
    {"AfterAScriptWithoutSpaces", "お前はloserだ", "お前はloserだ"},
};
INSTANTIATE_TEST_SUITE_P(WordStarts, InspectedMessage, ::testing::ValuesIn(kWordStarts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Inspect, RowsDatedAfterTheNextDayTakeNoSlotAndAreCounted)
{
    std::vector<samples::SampleMessage> messages;
    // A phone whose clock was wrong: five thousand rows in 2290.
    for (int i = 0; i < 5000; ++i)
        messages.push_back(
            incoming("keep this secret, from the future " + std::to_string(i), -60.0 * 24 * 365 * 264 - i));
    messages.push_back(incoming("keep this secret, from tomorrow", -60.0 * 23)); // still read
    messages.push_back(incoming("keep this secret, from the day after", -60.0 * 25));
    messages.push_back(incoming("keep this secret", 60));

    Inspection inspection(std::move(messages));
    const nlohmann::json doc = inspection.json();
    EXPECT_EQ(doc["inspectedCount"], 2);
    EXPECT_EQ(doc["futureDatedCount"], 5001);
    ASSERT_EQ(doc["candidates"].size(), 2u);
    EXPECT_EQ(doc["candidates"][0]["text"], "keep this secret, from tomorrow");
    EXPECT_EQ(doc["candidates"][1]["text"], "keep this secret");
    const std::string human = inspection.run(false);
    EXPECT_TRUE(std::regex_search(
        human, std::regex("Messages dated more than a day after this scan, not read: 5,?001\\.")))
        << human;
}

} // namespace
} // namespace quorva::cli
