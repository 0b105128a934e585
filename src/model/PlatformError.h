#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace quorva {

// A failure of the operating system or a platform service (file system, network transport,
// folder references). It is never wrapped in BridgeClientError: what() is the human
// description shown to the user as it stands.
class PlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;

    // "The folder “/x/y” could not be opened: No such file or directory."
    [[nodiscard]] static PlatformError folder(const std::filesystem::path& folder, const std::string& action,
                                              const std::error_code& reason);
};

} // namespace quorva
