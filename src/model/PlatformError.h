#pragma once

#include "model/Translatable.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace quorva {

// An English text with %1, %2 … standing for arguments that are not to be translated (paths,
// the system's reasons). The window and the CLI translate the pattern, then fill it in.
struct Wording {
    std::string pattern;
    std::vector<std::string> arguments;
};

// The pattern with each %N replaced by the N-th argument, in one pass: an argument that itself
// holds "%2" stays as it is. A %N without its argument is left standing.
[[nodiscard]] std::string filledIn(const Wording& wording);

// A failure of the operating system or a platform service (file system, network transport,
// folder references). It is never wrapped in BridgeClientError: what() is the human
// description in English; wording() is the same for translation, in the context
// "quorva::PlatformError".
class PlatformError : public std::runtime_error {
public:
    // `reportText`: the description without anything local to this computer, when what() has some.
    // A fixed text: its pattern is the text itself, with nothing to fill in.
    explicit PlatformError(const std::string& text, std::optional<std::string> reportText = std::nullopt)
        : PlatformError(Wording{text, {}}, std::move(reportText))
    {
    }
    explicit PlatformError(Wording wording, std::optional<std::string> reportText = std::nullopt)
        : std::runtime_error(filledIn(wording)), m_wording(std::move(wording)),
          m_reportText(std::move(reportText))
    {
    }

    // Where the failure happened, for whoever tells it apart without reading its text.
    enum class Source { system, network, folder };
    [[nodiscard]] Source source() const { return m_source; }
    [[nodiscard]] PlatformError from(Source source) &&
    {
        m_source = source;
        return std::move(*this);
    }

    [[nodiscard]] const Wording& wording() const { return m_wording; }
    // What may leave this computer, in a heartbeat: the description without folder paths.
    [[nodiscard]] std::string reportText() const { return m_reportText.value_or(what()); }

    enum class FolderStep { opening, reading };
    // "The folder “/x/y” could not be opened: No such file or directory." Its report text names
    // no path: "The backup folder could not be opened: No such file or directory."
    [[nodiscard]] static PlatformError folder(const std::filesystem::path& folder, FolderStep step,
                                              const std::error_code& reason);

private:
    Wording m_wording;
    std::optional<std::string> m_reportText;
    Source m_source = Source::system;
};

} // namespace quorva
