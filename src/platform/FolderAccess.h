#pragma once

#include <filesystem>

namespace quorva {

// Security-scoped access to a folder the user chose, held for one operation. Linux grants
// file access by permissions alone, so access never starts here and callers fall back to
// the folder's readability.
class ScopedFolderAccess {
public:
    explicit ScopedFolderAccess(const std::filesystem::path& /*folder*/) {}
    ScopedFolderAccess(const ScopedFolderAccess&) = delete;
    ScopedFolderAccess& operator=(const ScopedFolderAccess&) = delete;

    // Whether access was granted and is released when this object goes.
    [[nodiscard]] bool started() const { return false; }
};

// Whether this process may list the folder and open what is inside it.
[[nodiscard]] bool isReadableFolder(const std::filesystem::path& folder);

} // namespace quorva
