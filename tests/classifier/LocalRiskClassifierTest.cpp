#include "classifier/LocalRiskClassifier.h"

#include <gtest/gtest.h>
#include <unicode/locid.h>

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

TEST(LocalRiskClassifier, FoldsCaseDiacriticsAndTypographicApostrophes)
{
    const LocalRiskClassifier classifier;
    EXPECT_EQ(classifier.classify("KEEP THIS SECRET"), Labels{kGrooming});
    EXPECT_EQ(classifier.classify("Don\u2019t tell your parents"), Labels{kGrooming});
    EXPECT_EQ(classifier.classify("Don't tell your parents"), Labels{kGrooming});
    EXPECT_EQ(classifier.classify("ÉVERYONE HÄTES YOÙ"), Labels{kBullying});
    // Decomposed accents (e + U+0301) fold like precomposed ones.
    EXPECT_EQ(classifier.classify("Sui\u0301cide"), Labels{kSelfHarm});
    EXPECT_EQ(classifier.classify("YOU\u2019RE UGLY 😂"), Labels{kBullying});
    EXPECT_EQ(LocalRiskClassifier::normalized("Ça VA, Dôn\u2019t"), "ca va, don't");
}

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

TEST(LocalRiskClassifier, MatchesPlainSubstringsWithoutWordBoundaries)
{
    const LocalRiskClassifier classifier;
    EXPECT_EQ(classifier.classify("we are getting closer"), Labels{kBullying});
    EXPECT_EQ(classifier.classify("asexual"), Labels{kSexual});
    EXPECT_EQ(classifier.classify("let's hang out"), Labels{});
}

TEST(LocalRiskClassifier, ReportsEachLabelOnceInAscendingOrder)
{
    const LocalRiskClassifier classifier;
    EXPECT_EQ(classifier.classify("send money now or i will hurt you"), (Labels{kScam, kThreat}));
    EXPECT_EQ(classifier.classify("nudes, send pics, nude pic, nudes"), Labels{kSexual});
    EXPECT_EQ(classifier.classify("loser! gift card. keep this secret. suicide. sexual. blackmail. "
                                  "https://x.example urgent"),
              (Labels{kBullying, kScam, kGrooming, kSelfHarm, kSexual, kThreat, kLink}));
}

TEST(LocalRiskClassifier, LinkRuleNeedsAMarkerAndAPressureWord)
{
    const LocalRiskClassifier classifier;
    EXPECT_EQ(classifier.classify("Please VERIFY at https://bank.example/login"), Labels{kLink});
    EXPECT_EQ(classifier.classify("please verify your email"), Labels{});
    EXPECT_EQ(classifier.classify("look at this https://cats.example/funny"), Labels{});
    // The pressure word may sit inside the link, here as part of "decode".
    EXPECT_EQ(classifier.classify("http://decode.example/a"), Labels{kLink});
    EXPECT_EQ(classifier.classify("look xhttp://a.example now immediately"), Labels{kLink});

    // Shortened links count only with a space in front.
    EXPECT_EQ(classifier.classify("see bit.ly/abc urgent"), Labels{kLink});
    EXPECT_EQ(classifier.classify("bit.ly/abc urgent"), Labels{});
    EXPECT_EQ(classifier.classify("see tinyurl.com/abc password"), Labels{kLink});
    EXPECT_EQ(classifier.classify("orbit.ly/abc urgent"), Labels{});

    EXPECT_TRUE(LocalRiskClassifier::containsLink("go https://x.example right now"));
    EXPECT_FALSE(LocalRiskClassifier::containsLink("bit.ly/x code"));
}

TEST(LocalRiskClassifier, EmptyBlankAndInvalidTextNeverFail)
{
    const LocalRiskClassifier classifier;
    EXPECT_EQ(classifier.classify(""), Labels{});
    EXPECT_EQ(classifier.classify(" \t\n\u00a0\u3000"), Labels{});

    const std::string invalid = "\xff\xfe KEEP THIS SECRET \xc3 ok \xe2\x80";
    EXPECT_EQ(classifier.classify(invalid), Labels{kGrooming});
    EXPECT_EQ(LocalRiskClassifier::normalized("a\xff"), "a\uFFFD");

    const std::string withNul("kill\0you kill you", 17);
    EXPECT_EQ(classifier.classify(withNul), Labels{kThreat});
    EXPECT_EQ(LocalRiskClassifier::normalized(withNul), withNul);

    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 2000; ++i) {
        std::string noise(static_cast<std::size_t>(i % 97), '\0');
        for (char& c : noise)
            c = static_cast<char>(byte(random));
        (void)classifier.classify(noise);
    }
}

TEST(LocalRiskClassifier, UsesACustomRuleTable)
{
    const std::vector<RiskRule> rules = {
        {"zeta", {"pizza"}},
        {"alpha", {"", "пароль"}},
        {"zeta", {"pasta"}},
    };
    const LocalRiskClassifier classifier(rules);
    EXPECT_EQ(classifier.rules(), rules);
    EXPECT_EQ(classifier.classify("PIZZA and PASTA"), Labels{"zeta"});
    EXPECT_EQ(classifier.classify("мой ПАРОЛЬ, pizza"), (Labels{"alpha", "zeta"}));
    // An empty term is ignored: it would otherwise flag every message for upload.
    EXPECT_EQ(classifier.classify("hello"), Labels{});
    // The link rule does not belong to the table and always applies.
    EXPECT_EQ(classifier.classify("https://x.example urgent"), Labels{kLink});

    const LocalRiskClassifier none(std::vector<RiskRule>{});
    EXPECT_EQ(none.classify("keep this secret"), Labels{});
    EXPECT_EQ(none.classify("https://x.example code"), Labels{kLink});
}

// A term that is not in normalised form could never match.
TEST(LocalRiskClassifier, DefaultTermsAreNormalised)
{
    for (const auto& rule : LocalRiskClassifier::defaultRules())
        for (const auto& term : rule.terms)
            EXPECT_EQ(LocalRiskClassifier::normalized(term), term);
}

// The single-pass search must give what testing every term with a plain substring search gives.
TEST(LocalRiskClassifier, AgreesWithTermByTermSearch)
{
    const LocalRiskClassifier classifier;
    const auto reference = [&](std::string_view text) {
        const std::string n = LocalRiskClassifier::normalized(text);
        Labels labels;
        for (const auto& rule : classifier.rules())
            for (const auto& term : rule.terms)
                if (n.find(term) != std::string::npos) {
                    labels.push_back(rule.label);
                    break;
                }
        if (LocalRiskClassifier::containsLink(n))
            labels.push_back(kLink);
        std::sort(labels.begin(), labels.end());
        return labels;
    };

    std::vector<std::string> pieces = {" ",   "e",    "you",  "'",    "\u2019", "É",
                                       "ly/", " bit", "http", "s://", "lo"};
    for (const auto& rule : classifier.rules())
        for (const auto& term : rule.terms) {
            pieces.push_back(term);
            pieces.push_back(term.substr(0, term.size() / 2));
            pieces.push_back(term.substr(term.size() / 2));
        }
    std::mt19937 random(42);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    int flagged = 0;
    for (int i = 0; i < 5000; ++i) {
        std::string text;
        for (int k = 0; k < 6; ++k)
            text += pieces[pick(random)];
        const Labels expected = reference(text);
        flagged += expected.empty() ? 0 : 1;
        ASSERT_EQ(classifier.classify(text), expected) << text;
    }
    EXPECT_GT(flagged, 500); // the texts did exercise the matches
}

} // namespace
} // namespace quorva
