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
    // A phrase of a group flagged in wordStarts counts only where it begins a word: at the start of
    // the text or after a character that is neither a letter nor a digit.
    explicit PhraseAutomaton(const std::vector<std::vector<std::string>>& groups,
                             const std::vector<bool>& wordStarts = {});

    // Empty when no phrase occurs in text; otherwise one flag per group, set when one of its phrases occurs.
    [[nodiscard]] std::vector<bool> matchedGroups(std::string_view text) const;

private:
    std::size_t m_groupCount = 0;
    std::uint32_t m_classCount = 1; // byte classes: 0 for bytes in no phrase, then one per used byte
    std::array<std::uint16_t, 256> m_byteClass{}; // byte -> class
    std::uint32_t m_stride = 2;        // entries per state in m_next: m_classCount + 1, rounded up to even
    std::vector<std::uint32_t> m_next; // row start + class -> the target's row start
    struct Output {
        std::uint32_t group;
        std::uint32_t length; // of the phrase, in bytes, to find where it began
        bool wordStart;

        friend bool operator==(const Output&, const Output&) = default;
    };
    std::vector<std::uint32_t> m_outputBegin; // state -> first index in m_outputs; one extra at the end
    std::vector<Output> m_outputs;            // phrases ending at each state, suffixes included
};

} // namespace quorva
