#pragma once

#include "SampleBackup.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace quorva::bench {

// The backup is written once per run into a temp folder and removed at exit.
class GeneratedBackup {
public:
    GeneratedBackup() : m_now(Instant::now())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorva-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        m_parent = pattern;
        samples::writeSampleBackup(m_parent / "00008110-001A2B3C4D5E801E",
                                   samples::realisticBackup(m_now, 25000, 0.05, 42));
    }
    ~GeneratedBackup()
    {
        std::error_code error;
        std::filesystem::remove_all(m_parent, error);
    }

    [[nodiscard]] const std::filesystem::path& parent() const { return m_parent; }
    [[nodiscard]] Instant now() const { return m_now; }

private:
    Instant m_now;
    std::filesystem::path m_parent;
};

} // namespace quorva::bench
