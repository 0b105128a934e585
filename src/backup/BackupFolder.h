#pragma once

#include <filesystem>
#include <optional>

namespace quorva {

// The files of one backup folder, as the reader may open them. A backup is foreign data: a
// symbolic link in it could lead to another device's Messages database or anywhere else on the
// computer, and what the scan reads it may upload. Only what stays inside the folder counts.
class BackupFolder {
public:
    explicit BackupFolder(const std::filesystem::path& folder);

    // The resolved location of `relative` when it is a regular file that lies inside the folder
    // with every link followed; nothing otherwise.
    [[nodiscard]] std::optional<std::filesystem::path> file(const std::filesystem::path& relative) const;

    // True when `path`, with every link followed, is the folder or lies inside it.
    [[nodiscard]] bool contains(const std::filesystem::path& path) const;

private:
    std::optional<std::filesystem::path> m_root; // resolved; nothing when the folder is unreachable
};

} // namespace quorva
