#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

namespace quorva {

// A failure of the operating system or a platform service (file system, network transport,
// folder references). It is never wrapped in BridgeClientError: what() is the human
// description shown to the user as it stands.
class PlatformError : public std::runtime_error {
public:
    // `reportText`: the description without anything local to this computer, when what() has some.
    explicit PlatformError(const std::string& text, std::optional<std::string> reportText = std::nullopt)
        : std::runtime_error(text), m_reportText(std::move(reportText))
    {
    }

    // What may leave this computer, in a heartbeat: the description without folder paths.
    [[nodiscard]] std::string reportText() const { return m_reportText.value_or(what()); }

    // "The folder “/x/y” could not be opened: No such file or directory." Its report text names
    // no path: "The backup folder could not be opened: No such file or directory."
    [[nodiscard]] static PlatformError folder(const std::filesystem::path& folder, const std::string& action,
                                              const std::error_code& reason);

private:
    std::optional<std::string> m_reportText;
};

} // namespace quorva
