// The survey of an XML property list: a tag scanner that counts elements and their nesting. It
// steps over comments, CDATA sections, processing instructions and the document type by the
// same rules as the parser that follows, so that no markup the parser turns into objects is
// skipped here; what the parser would refuse anyway may be read more loosely.
#include "backup/PropertyListSurvey.h"

#include "model/Iso8601.h"

#include <array>
#include <utility>

namespace quorva {
namespace {

constexpr auto npos = std::string_view::npos;

// Where the next match of `matches` is at or after `from`, stepping over double-quoted stretches
// as the parser does inside tags, processing instructions and the document type. Nothing when
// there is none or a quote is left open.
template <typename Matches>
std::size_t findOutsideQuotes(std::string_view bytes, std::size_t from, Matches matches)
{
    for (std::size_t at = from; at < bytes.size(); ++at) {
        if (matches(at))
            return at;
        if (bytes[at] == '"' && (at = bytes.find('"', at + 1)) == npos)
            return npos;
    }
    return npos;
}

std::size_t findTextOutsideQuotes(std::string_view bytes, std::size_t from, std::string_view text)
{
    return findOutsideQuotes(bytes, from, [&](std::size_t at) { return bytes.substr(at).starts_with(text); });
}

std::size_t findCharOutsideQuotes(std::string_view bytes, std::size_t from, std::string_view chars)
{
    return findOutsideQuotes(bytes, from, [&](std::size_t at) { return chars.find(bytes[at]) != npos; });
}

std::optional<Instant> xmlDate(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
    if (auto date = parseInternetDateTime(text, FractionalSeconds::required))
        return date;
    return parseInternetDateTime(text, FractionalSeconds::forbidden);
}

} // namespace

std::optional<PropertyListSurvey> PropertyListSurvey::ofXml(std::string_view bytes)
{
    PropertyListSurvey survey;
    // For every open element, the elements directly inside it so far.
    std::array<uint64_t, kMaximumDepth + 1> children{};
    int depth = 0;
    uint64_t elements = 0;

    // The entries of the top-level dictionary: its children live at `entryDepth`.
    bool rootSeen = false;
    int entryDepth = -1;
    std::optional<std::string> key;
    std::string_view valueName;
    std::size_t textStart = 0;

    std::size_t at = 0;
    while ((at = bytes.find('<', at)) != npos) {
        const std::size_t tagStart = at++;
        const std::string_view rest = bytes.substr(at);
        std::size_t end = npos;
        if (rest.starts_with('?')) {
            if ((end = findTextOutsideQuotes(bytes, at, "?>")) == npos)
                return std::nullopt;
            at = end + 2;
            continue;
        }
        if (rest.starts_with("!--") || rest.starts_with("![CDATA[")) {
            const bool comment = rest.starts_with("!--");
            if ((end = bytes.find(comment ? "-->" : "]]>", at)) == npos)
                return std::nullopt;
            at = end + 3;
            continue;
        }
        if (rest.starts_with("!DOCTYPE")) {
            if ((end = findCharOutsideQuotes(bytes, at + 8, "[>")) == npos)
                return std::nullopt;
            if (bytes[end] == '[' && (end = findTextOutsideQuotes(bytes, end, "]>")) == npos)
                return std::nullopt;
            at = end + (bytes[end] == '>' ? 1 : 2);
            continue;
        }
        if (rest.starts_with('!'))
            return std::nullopt;

        // An element's tag: the name ends at white space or an angle bracket, the tag at '>'.
        const std::size_t nameEnd = bytes.find_first_of(" \t\r\n<>", at);
        end =
            nameEnd != npos && bytes[nameEnd] != '>' ? findCharOutsideQuotes(bytes, nameEnd, "<>") : nameEnd;
        if (end == npos || bytes[end] != '>')
            return std::nullopt;
        std::string_view name = bytes.substr(at, nameEnd - at);
        const bool empty = bytes[end - 1] == '/';
        if (empty && name.ends_with('/'))
            name.remove_suffix(1);
        at = end + 1;

        if (name.starts_with('/')) {
            if (depth == 0)
                return std::nullopt;
            if (--depth == entryDepth) {
                const std::string_view text = bytes.substr(textStart, tagStart - textStart);
                if (name == "/key")
                    key = std::string(text);
                else if (key)
                    survey.noteEntry(*std::exchange(key, std::nullopt),
                                     valueName == "date" ? xmlDate(text) : std::nullopt);
            }
            continue;
        }
        if (++elements > kMaximumObjects ||
            ++children[static_cast<std::size_t>(depth)] > 2 * kMaximumXmlEntries)
            return std::nullopt;
        if (!rootSeen && name != "plist") {
            rootSeen = true;
            entryDepth = name == "dict" && !empty ? depth + 1 : -1;
        } else if (depth == entryDepth) {
            valueName = name;
            textStart = at;
            if (empty && key) // an empty <key/> too: the parser takes it as a value
                survey.noteEntry(*std::exchange(key, std::nullopt), std::nullopt);
        }
        if (!empty) {
            if (depth == kMaximumDepth)
                return std::nullopt;
            children[static_cast<std::size_t>(++depth)] = 0;
        }
    }
    return survey;
}

} // namespace quorva
