#include "classifier/LocalRiskClassifier.h"

#include "classifier/TextNormalization.h"

#include <algorithm>
#include <array>

namespace quorva {

namespace {

constexpr std::string_view kLinkLabel = "urgent link or account pressure";
// A shortened link counts only after a space, so that words merely ending in the domain do not.
constexpr std::array<std::string_view, 4> kLinkMarkers = {"http://", "https://", " bit.ly/", " tinyurl.com/"};
constexpr std::array<std::string_view, 7> kPressureWords = {"urgent",   "right now", "immediately", "verify",
                                                            "password", "code",      "locked"};

PhraseAutomaton automatonFor(const std::vector<RiskRule>& rules)
{
    // One group per rule, then the link markers, then the pressure words. Terms and pressure words
    // begin a word, so that "closer" does not hold "loser" nor "barcode" "code"; a link marker
    // may follow anything.
    std::vector<std::vector<std::string>> groups;
    groups.reserve(rules.size() + 2);
    for (const auto& rule : rules)
        groups.push_back(rule.terms);
    groups.emplace_back(kLinkMarkers.begin(), kLinkMarkers.end());
    groups.emplace_back(kPressureWords.begin(), kPressureWords.end());
    std::vector<bool> wordStarts(groups.size(), true);
    wordStarts[rules.size()] = false;
    return PhraseAutomaton(groups, wordStarts);
}

} // namespace

const std::vector<RiskRule>& LocalRiskClassifier::defaultRules()
{
    static const std::vector<RiskRule> rules = {
        {"secrecy or grooming",
         {"keep this secret", "don't tell your parents", "do not tell your parents", "our little secret",
          "move to another app", "are you alone", "send me a pic", "send a picture"}},
        {"sexual pressure",
         {"nudes", "nude pic", "send pics", "sexy photo", "take your clothes off", "hook up", "sexual"}},
        {"threat or coercion",
         {"i'll hurt you", "i will hurt you", "kill you", "you'll regret", "you will regret", "do it or else",
          "blackmail", "leak your", "expose you"}},
        {"self-harm",
         {"kill myself", "want to die", "end my life", "hurt myself", "self harm", "suicide",
          "no reason to live"}},
        {"bullying",
         {"everyone hates you", "nobody likes you", "you're ugly", "you are ugly", "loser", "go die",
          "stupid freak"}},
        {"scam or financial pressure",
         {"gift card", "verification code", "send money", "wire transfer", "crypto wallet", "pay me now",
          "urgent payment", "account will be locked"}},
    };
    return rules;
}

LocalRiskClassifier::LocalRiskClassifier() : LocalRiskClassifier(defaultRules()) {}

LocalRiskClassifier::LocalRiskClassifier(std::vector<RiskRule> rules)
    : m_rules(std::move(rules)), m_phrases(automatonFor(m_rules))
{
}

std::vector<std::string> LocalRiskClassifier::classify(std::string_view utf8Text) const
{
    // All terms, markers and pressure words are looked up in a single pass; which term of a rule
    // matched first makes no difference to the labels.
    const std::vector<bool> matched = m_phrases.matchedGroups(textnormalization::normalized(utf8Text));
    if (matched.empty())
        return {};

    std::vector<std::string> reasons;
    for (std::size_t i = 0; i < m_rules.size(); ++i)
        if (matched[i])
            reasons.push_back(m_rules[i].label);
    if (matched[m_rules.size()] && matched[m_rules.size() + 1])
        reasons.emplace_back(kLinkLabel);

    std::sort(reasons.begin(), reasons.end());
    reasons.erase(std::unique(reasons.begin(), reasons.end()), reasons.end());
    return reasons;
}

} // namespace quorva
