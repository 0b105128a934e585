#pragma once

#include "classifier/PhraseAutomaton.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorva {

// A phrase rule: `label` is reported when any of `terms` begins a word of the normalised text.
struct RiskRule {
    std::string label;
    std::vector<std::string> terms; // lower case, straight apostrophes, no diacritics

    friend bool operator==(const RiskRule&, const RiskRule&) = default;
};

// Decides on this computer, without network access, whether a message is worth sending.
class LocalRiskClassifier {
public:
    [[nodiscard]] static const std::vector<RiskRule>& defaultRules();

    LocalRiskClassifier(); // the default rule table
    explicit LocalRiskClassifier(std::vector<RiskRule> rules);

    // Labels of the matching rules and of the link rule, without duplicates, sorted ascending.
    [[nodiscard]] std::vector<std::string> classify(std::string_view utf8Text) const;

private:
    std::vector<RiskRule> m_rules;
    PhraseAutomaton m_phrases; // every term of m_rules, then the link markers, then the pressure words
};

} // namespace quorva
