#pragma once

#include "backup/PropertyListSurvey.h"
#include "model/Instant.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quorva {

// A property list (XML or binary) whose top level is a dictionary with string keys.
// Typed look-ups answer nothing when the key is missing or holds another type.
// Lists beyond PropertyListSurvey's bounds of nesting and size count as unreadable.
class PropertyList {
public:
    // Nothing when the file cannot be read whole, does not parse, or is not a dictionary.
    [[nodiscard]] static std::optional<PropertyList> readFile(const std::filesystem::path& file);
    [[nodiscard]] static std::optional<PropertyList> parse(std::string_view bytes);

    // Ill-formed UTF-8 comes back with each bad sequence replaced by U+FFFD.
    [[nodiscard]] std::optional<std::string> string(const std::string& key) const;
    [[nodiscard]] std::optional<Instant> date(const std::string& key) const;
    [[nodiscard]] std::optional<bool> boolean(const std::string& key) const; // a Boolean only
    [[nodiscard]] std::optional<int64_t> integer(const std::string& key) const;

    PropertyList(PropertyList&&) noexcept;
    PropertyList& operator=(PropertyList&&) noexcept;
    ~PropertyList();

private:
    struct Node;
    PropertyList(std::unique_ptr<Node> root, PropertyListSurvey survey);
    std::unique_ptr<Node> m_root;
    PropertyListSurvey m_survey;
};

} // namespace quorva
