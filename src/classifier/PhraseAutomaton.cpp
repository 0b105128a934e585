#include "classifier/PhraseAutomaton.h"

#include <algorithm>
#include <deque>
#include <limits>

#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utf8.h>

namespace quorva {

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

bool scriptWithoutSpaces(UChar32 c)
{
    UErrorCode status = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(c, &status);
    return U_SUCCESS(status) && uscript_breaksBetweenLetters(script);
}

// Whether a word begins at byte `start` of the UTF-8 text. Letters of scripts written without
// spaces between words (Han, kana, Thai …) do not hold a word together: an English word typed
// right after them still begins there.
bool beginsWord(std::string_view text, std::size_t start)
{
    if (start == 0)
        return true;
    const auto before = static_cast<unsigned char>(text[start - 1]);
    if (before < 0x80)
        return !((before >= '0' && before <= '9') || (before >= 'a' && before <= 'z') ||
                 (before >= 'A' && before <= 'Z'));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    auto offset = static_cast<std::int32_t>(start);
    UChar32 c;
    U8_PREV(bytes, 0, offset, c);
    return c < 0 || !u_isalnum(c) || scriptWithoutSpaces(c);
}

} // namespace

PhraseAutomaton::PhraseAutomaton(const std::vector<std::vector<std::string>>& groups,
                                 const std::vector<bool>& wordStarts)
    : m_groupCount(groups.size())
{
    // Bytes that occur in no phrase all share class 0: they always lead back to the root's row.
    for (const auto& phrases : groups)
        for (const auto& phrase : phrases)
            for (const unsigned char byte : phrase)
                if (m_byteClass[byte] == 0)
                    m_byteClass[byte] = static_cast<std::uint16_t>(m_classCount++);

    // The trie; kNone marks a missing edge until the breadth-first pass fills it in.
    std::vector<std::uint32_t> next(m_classCount, kNone);
    std::vector<std::vector<Output>> outputs(1);
    for (std::uint32_t group = 0; group < groups.size(); ++group) {
        for (const auto& phrase : groups[group]) {
            if (phrase.empty())
                continue;
            std::uint32_t state = 0;
            for (const unsigned char byte : phrase) {
                std::uint32_t& edge = next[state * m_classCount + m_byteClass[byte]];
                if (edge == kNone) {
                    edge = static_cast<std::uint32_t>(outputs.size());
                    outputs.emplace_back();
                    next.resize(next.size() + m_classCount, kNone);
                }
                state = next[state * m_classCount + m_byteClass[byte]];
            }
            const Output output{group, static_cast<std::uint32_t>(phrase.size()),
                                group < wordStarts.size() && wordStarts[group]};
            if (std::find(outputs[state].begin(), outputs[state].end(), output) == outputs[state].end())
                outputs[state].push_back(output);
        }
    }

    // Breadth first, so a state's fallback (a shorter suffix) is complete before the state itself.
    const std::size_t stateCount = outputs.size();
    std::vector<std::uint32_t> fallback(stateCount, 0);
    std::deque<std::uint32_t> queue{0};
    while (!queue.empty()) {
        const std::uint32_t state = queue.front();
        queue.pop_front();
        for (std::uint32_t cls = 0; cls < m_classCount; ++cls) {
            std::uint32_t& edge = next[state * m_classCount + cls];
            if (edge == kNone) {
                edge = state == 0 ? 0 : next[fallback[state] * m_classCount + cls];
                continue;
            }
            const std::uint32_t child = edge;
            fallback[child] = state == 0 ? 0 : next[fallback[state] * m_classCount + cls];
            for (const Output& output : outputs[fallback[child]])
                if (std::find(outputs[child].begin(), outputs[child].end(), output) == outputs[child].end())
                    outputs[child].push_back(output);
            queue.push_back(child);
        }
    }

    // Each state owns an even-aligned row of m_stride entries; a state that ends a phrase starts its
    // row one entry later. A transition is the start of the target's row, so the scan needs no
    // multiplication and finds "ends a phrase" in the lowest bit.
    m_stride = (m_classCount + 2) & ~std::uint32_t{1};
    const auto rowStart = [&](std::uint32_t state) {
        return state * m_stride + (outputs[state].empty() ? 0 : 1);
    };
    m_next.assign(stateCount * m_stride, 0);
    for (std::uint32_t state = 0; state < stateCount; ++state)
        for (std::uint32_t cls = 0; cls < m_classCount; ++cls)
            m_next[rowStart(state) + cls] = rowStart(next[state * m_classCount + cls]);
    m_outputBegin.reserve(stateCount + 1);
    for (const auto& groupsEndingHere : outputs) {
        m_outputBegin.push_back(static_cast<std::uint32_t>(m_outputs.size()));
        m_outputs.insert(m_outputs.end(), groupsEndingHere.begin(), groupsEndingHere.end());
    }
    m_outputBegin.push_back(static_cast<std::uint32_t>(m_outputs.size()));
}

std::vector<bool> PhraseAutomaton::matchedGroups(std::string_view text) const
{
    std::vector<bool> matched;
    const std::uint32_t* next = m_next.data();
    const std::uint16_t* byteClass = m_byteClass.data();
    std::uint32_t position = 0; // the root's row: the root ends no phrase
    for (std::size_t end = 1; end <= text.size(); ++end) {
        position = next[position + byteClass[static_cast<unsigned char>(text[end - 1])]];
        if ((position & 1) == 0)
            continue;
        const std::uint32_t state = position / m_stride;
        for (std::uint32_t i = m_outputBegin[state]; i < m_outputBegin[state + 1]; ++i) {
            const Output& output = m_outputs[i];
            if (output.wordStart && !beginsWord(text, end - output.length))
                continue;
            if (matched.empty())
                matched.assign(m_groupCount, false);
            matched[output.group] = true;
        }
    }
    return matched;
}

} // namespace quorva
