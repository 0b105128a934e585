#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorva {

// Finds, in one pass over a text, which groups of byte phrases occur in it as substrings.
// An Aho–Corasick automaton with a full transition table over the bytes the phrases use, so the
// scan costs one table lookup per byte however many phrases there are.
class PhraseAutomaton {
public:
    // Group i consists of the phrases groups[i]; empty phrases are ignored (they would match every text).
    explicit PhraseAutomaton(const std::vector<std::vector<std::string>>& groups);

    // Empty when no phrase occurs in text; otherwise one flag per group, set when one of its phrases occurs.
    [[nodiscard]] std::vector<bool> matchedGroups(std::string_view text) const;

private:
    std::size_t m_groupCount = 0;
    std::uint32_t m_classCount = 1; // byte classes: 0 for bytes in no phrase, then one per used byte
    std::array<std::uint16_t, 256> m_byteClass{}; // byte -> class
    std::uint32_t m_stride = 2;        // entries per state in m_next: m_classCount + 1, rounded up to even
    std::vector<std::uint32_t> m_next; // row start + class -> the target's row start
    std::vector<std::uint32_t> m_outputBegin; // state -> first index in m_outputs; one extra at the end
    std::vector<std::uint32_t> m_outputs;     // groups ending at each state, suffixes included
};

} // namespace quorva
