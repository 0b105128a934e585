#include "classifier/LocalRiskClassifier.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>

#include <algorithm>
#include <random>

namespace quorva {
namespace {

using Labels = std::vector<std::string>;

const std::string kGrooming = "secrecy or grooming";
const std::string kSexual = "sexual pressure";
const std::string kThreat = "threat or coercion";
const std::string kSelfHarm = "self-harm";
const std::string kBullying = "bullying";
const std::string kScam = "scam or financial pressure";
const std::string kLink = "urgent link or account pressure";

struct Message {
    const char* name;
    std::string text;
    Labels expected;
    operator std::string_view() const { return name; } // how gtest prints the row
};

const Message kMessages[] = {
    {"TypographicApostrophe", "Don\u2019t tell your parents", {kGrooming}},
    {"Diacritics", "ÉVERYONE HÄTES YOÙ", {kBullying}},
    {"CapitalIWithADot", "\u0130 W\u0130LL HURT YOU", {kThreat}},
    {"DecomposedAccent", "Sui\u0301cide", {kSelfHarm}},
    {"TermInsideAWord", "we are getting closer", {}},
    {"RuleMatchedTwiceCountsOnce", "nudes, send pics, nude pic, nudes", {kSexual}},
    {"EveryLabel",
     "loser! gift card. keep this secret. suicide. sexual. blackmail. https://x.example urgent",
     {kBullying, kScam, kGrooming, kSelfHarm, kSexual, kThreat, kLink}},
    {"InvalidUtf8", "\xff\xfe KEEP THIS SECRET \xc3 ok \xe2\x80", {kGrooming}},
    {"EmbeddedNul", std::string("kill\0you kill you", 17), {kThreat}},

    // Spellings that look or read like the plain phrase.
    {"LineSeparator", "kill\u2028you", {kThreat}},
    {"ZeroWidthSpace", "kill\u200byou", {kThreat}},
    {"SoftHyphen", "k\u00adill you", {kThreat}},
    {"Fullwidth", "\uff2b\uff29\uff2c\uff2c \uff39\uff2f\uff35", {kThreat}},
    {"PressurePhraseOverALineBreak", "https://x.example right\nnow", {kLink}},

    {"LinkWithPressure", "Please VERIFY at https://bank.example/login", {kLink}},
    {"PressureWithoutLink", "please verify your email", {}},
    {"LinkWithoutPressure", "look at this https://cats.example/funny", {}},
    {"PressureInsideAWordOfTheLink", "http://decode.example/a", {}},
    {"PressureWordOfTheLink", "http://x.example/decode/code-7", {kLink}},
    {"MarkerInsideAWord", "look xhttp://a.example now immediately", {kLink}},
    // "code" and "locked" end inside longer scam terms, so they must be reported there too.
    {"PressureWordEndingAScamTerm", "https://x.example verification code", {kScam, kLink}},
    {"PressureWordEndingAnotherScamTerm", "see bit.ly/x your account will be locked", {kScam, kLink}},
    {"ShortLinkAfterASpace", "see bit.ly/abc urgent", {kLink}},
    {"ShortLinkAfterALeadingSpace", " bit.ly/abc urgent", {kLink}},
    {"ShortLinkStartingTheText", "bit.ly/abc urgent", {}},
    {"ShortLinkDomainEndingAWord", "orbit.ly/abc urgent", {}},
};

class Classification : public ::testing::TestWithParam<Message> {};

TEST_P(Classification, GivesTheLabelsOfItsPhrases)
{
    EXPECT_EQ(LocalRiskClassifier().classify(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Messages, Classification, ::testing::ValuesIn(kMessages),
                         [](const auto& info) { return std::string(info.param.name); });

struct Term {
    std::string label;
    std::string term;
    operator std::string_view() const { return term; } // how gtest prints the row
};

std::vector<Term> defaultTerms()
{
    std::vector<Term> terms;
    for (const auto& rule : LocalRiskClassifier::defaultRules())
        for (const auto& term : rule.terms)
            terms.push_back({rule.label, term});
    return terms;
}

// A term that normalisation would change could never be found.
class DefaultTerm : public ::testing::TestWithParam<Term> {};

TEST_P(DefaultTerm, IsFoundAsWritten)
{
    const Labels labels = LocalRiskClassifier().classify(GetParam().term);
    EXPECT_NE(std::find(labels.begin(), labels.end(), GetParam().label), labels.end());
}

INSTANTIATE_TEST_SUITE_P(Rules, DefaultTerm, ::testing::ValuesIn(defaultTerms()));

TEST(LocalRiskClassifier, FindsEnglishPhrasesUnderATurkishLocale)
{
    const icu::Locale previous = icu::Locale::getDefault();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("tr", "TR"), status);
    ASSERT_TRUE(U_SUCCESS(status));
    // The accent sends the text through ICU, where a Turkic folding would turn I into dotless ı.
    const Labels labels = LocalRiskClassifier().classify("I WILL KILL YOU, PROMİSE é");
    icu::Locale::setDefault(previous, status);
    EXPECT_EQ(labels, Labels{kThreat});
}

TEST(LocalRiskClassifier, UsesACustomRuleTable)
{
    const LocalRiskClassifier classifier({
        {"zeta", {"pizza"}},
        {"alpha", {"", "пароль"}},
        {"zeta", {"pasta"}},
    });
    EXPECT_EQ(classifier.classify("PIZZA and PASTA"), Labels{"zeta"});
    EXPECT_EQ(classifier.classify("мой ПАРОЛЬ, pizza"), (Labels{"alpha", "zeta"}));
    // An empty term is ignored: it would otherwise flag every message for upload.
    EXPECT_EQ(classifier.classify("hello"), Labels{});
    // The link rule does not belong to the table and always applies.
    EXPECT_EQ(classifier.classify("https://x.example urgent"), Labels{kLink});
    EXPECT_EQ(LocalRiskClassifier(std::vector<RiskRule>{}).classify("keep this secret"), Labels{});
}

TEST(LocalRiskClassifier, NeverFailsOnArbitraryBytes)
{
    const LocalRiskClassifier classifier;
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        std::string noise;
        for (int n = i % 97; n > 0; --n)
            noise += static_cast<char>(random());
        (void)classifier.classify(noise);
    }
}

} // namespace
} // namespace quorva
