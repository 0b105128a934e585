#pragma once

#include "model/Instant.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quorva {

// A bounded first pass over a property list's bytes, made before the platform library parses
// them. That library recurses as deep as a list nests (when it parses a binary list and when it
// frees any), copies a shared object of a binary list once for every reference to it, and reads
// dates through 32-bit seconds: a small crafted file could overflow the stack or fill the memory,
// and real dates past 2038 or before 1933 would come back wrong. A survey refuses such lists
// before the library sees them, and reads the top level's dates itself.
class PropertyListSurvey {
public:
    // Nesting deeper than this is refused; in XML every open element counts, <plist> included.
    static constexpr int kMaximumDepth = 64;
    // Objects the parser would create, every reference of a binary list counted, as the library
    // expands them; XML elements are counted the same way.
    static constexpr uint64_t kMaximumObjects = 1'000'000;
    // The library's XML reader takes time growing with the square of a dictionary's entries.
    static constexpr uint64_t kMaximumXmlEntries = 65'536;
    // Strings and data a binary list may expand to beyond its own size, for lists that share them.
    static constexpr uint64_t kMaximumSharedBytes = 16u * 1024u * 1024u;

    // Nothing when the list is beyond the bounds above, or is malformed in a way the survey sees
    // (a binary list whose tables point outside its bytes, say).
    [[nodiscard]] static std::optional<PropertyListSurvey> ofBinary(std::string_view bytes);
    [[nodiscard]] static std::optional<PropertyListSurvey> ofXml(std::string_view bytes);

    // The date under `key` of the top-level dictionary, at full range and precision; nothing
    // when the value is not a date of the calendar (years 1 to 9999), or the key is written twice.
    [[nodiscard]] std::optional<Instant> date(std::string_view key) const;

private:
    // Records a top-level entry; `date` is nothing for a value that is not a date.
    void noteEntry(std::string key, std::optional<Instant> date);
    std::map<std::string, std::optional<Instant>, std::less<>> m_entries;
};

} // namespace quorva
