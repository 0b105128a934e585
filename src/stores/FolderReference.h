#pragma once

#include "model/PlatformError.h"

#include <QByteArray>

#include <cstdint>
#include <filesystem>

namespace quorva {

struct FolderResolution;

// The folder is there but this user may not open it (its permissions, or a parent's, changed).
// Unlike a folder that is gone, this is worth reporting: the backup is still there, unread.
class FolderUnreadable : public PlatformError {
public:
    using PlatformError::PlatformError;
};

// The folder is not at its path now: on a disk that is unplugged or a share that is not
// connected it comes back by itself, so it is no reason to choose the folder again.
class FolderAbsent : public PlatformError {
public:
    FolderAbsent(std::filesystem::path folder, Wording wording, std::string reportText)
        : PlatformError(std::move(wording), std::move(reportText)), m_folder(std::move(folder))
    {
    }
    [[nodiscard]] const std::filesystem::path& folder() const { return m_folder; }

private:
    std::filesystem::path m_folder;
};

// A persistent reference to a chosen folder: where it was (its canonical path) and which folder it
// was (device and inode). It stands in for the sandbox's security-scoped bookmark, so its bytes
// are opaque to everyone but this class.
struct FolderReference {
    static constexpr int currentVersion = 1;

    int version = currentVersion;
    std::filesystem::path path; // absolute and canonical when made
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    // The folder as it is now. Throws FolderUnreadable when it is there but may not be opened,
    // PlatformError naming the folder when it cannot be opened otherwise.
    [[nodiscard]] static FolderReference make(const std::filesystem::path& folder);

    [[nodiscard]] QByteArray encode() const;
    // Throws PlatformError when the bytes are not a reference this version can read.
    [[nodiscard]] static FolderReference decode(const QByteArray& bytes);

    // Opens the referenced folder again. Throws PlatformError naming it when it is gone.
    [[nodiscard]] FolderResolution resolve() const;

    friend bool operator==(const FolderReference&, const FolderReference&) = default;
};

struct FolderResolution {
    FolderReference current; // the reference as it should be stored from now on
    bool stale = false;      // whether current differs from what was stored
};

} // namespace quorva
