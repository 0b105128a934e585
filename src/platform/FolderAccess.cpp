#include "platform/FolderAccess.h"

#include <unistd.h>

namespace quorva {

bool isReadableFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    return std::filesystem::is_directory(folder, error) && ::access(folder.c_str(), R_OK | X_OK) == 0;
}

} // namespace quorva
