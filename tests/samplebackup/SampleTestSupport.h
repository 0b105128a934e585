#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorva::samples::testing {

// A fresh folder under the system temp folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

[[nodiscard]] std::string readBytes(const std::filesystem::path& file);
[[nodiscard]] std::vector<uint8_t> fromHex(std::string_view hex);

// One column of each row of `sql`, read through a read-only connection; NULL as nullopt.
using Cell = std::optional<std::string>;
[[nodiscard]] std::vector<std::vector<Cell>> query(const std::filesystem::path& database,
                                                   const std::string& sql);

// A top-level value of a property-list file, as text: strings as they are, Booleans "true"/"false",
// integers in decimal, dates as seconds since 1970 with six decimals; nullopt when absent.
[[nodiscard]] std::optional<std::string> plistValue(const std::filesystem::path& file, const char* key);

} // namespace quorva::samples::testing
