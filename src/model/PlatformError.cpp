#include "model/PlatformError.h"

namespace quorva {

std::string filledIn(const Wording& wording)
{
    const std::string& pattern = wording.pattern;
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const auto index = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && index < wording.arguments.size()) {
            text += wording.arguments[index];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

PlatformError PlatformError::folder(const std::filesystem::path& folder, FolderStep step,
                                    const std::error_code& reason)
{
    std::string why = reason.message();
    if (!why.empty() && why.back() == '.')
        why.pop_back();
    const bool opening = step == FolderStep::opening;
    Wording shown{opening ? QUORVA_TEXT("quorva::PlatformError", "The folder “%1” could not be opened: %2.")
                          : QUORVA_TEXT("quorva::PlatformError", "The folder “%1” could not be read: %2."),
                  {folder.string(), why}};
    const Wording report{opening ? "The backup folder could not be opened: %1."
                                 : "The backup folder could not be read: %1.",
                         {why}};
    return PlatformError(std::move(shown), filledIn(report)).from(Source::folder);
}

} // namespace quorva
