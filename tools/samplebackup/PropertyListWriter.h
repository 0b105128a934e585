#pragma once

#include "SampleBackup.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace quorva::samples {

// A property-list dictionary being built, written as XML or binary.
class PlistDictionary {
public:
    PlistDictionary();
    ~PlistDictionary();
    PlistDictionary(PlistDictionary&& other) noexcept;
    PlistDictionary& operator=(PlistDictionary&&) = delete;
    PlistDictionary(const PlistDictionary&) = delete;
    PlistDictionary& operator=(const PlistDictionary&) = delete;

    PlistDictionary& setString(const char* key, std::string_view value);
    PlistDictionary& setBool(const char* key, bool value);
    PlistDictionary& setInteger(const char* key, uint64_t value);
    PlistDictionary& setDate(const char* key, Instant value);
    PlistDictionary& setData(const char* key, std::span<const uint8_t> value);
    PlistDictionary& setDictionary(const char* key, PlistDictionary value);

    [[nodiscard]] std::string serialize(PlistFormat format) const;
    void writeFile(const std::filesystem::path& file, PlistFormat format) const;

private:
    void* m_node; // plist_t, kept out of this header
};

// Writes `bytes` to `file`, replacing it; throws when the file cannot be written.
void writeWholeFile(const std::filesystem::path& file, std::string_view bytes);

} // namespace quorva::samples
