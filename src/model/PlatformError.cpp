#include "model/PlatformError.h"

namespace quorva {

PlatformError PlatformError::folder(const std::filesystem::path& folder, const std::string& action,
                                    const std::error_code& reason)
{
    std::string why = reason.message();
    if (!why.empty() && why.back() == '.')
        why.pop_back();
    const std::string outcome = " could not be " + action + ": " + why + ".";
    return PlatformError("The folder \u201C" + folder.string() + "\u201D" + outcome, "The backup folder" + outcome);
}

} // namespace quorva
