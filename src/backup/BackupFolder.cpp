#include "backup/BackupFolder.h"

#include <algorithm>
#include <system_error>

namespace quorva {
namespace {

std::optional<std::filesystem::path> resolved(const std::filesystem::path& path)
{
    std::error_code error;
    std::filesystem::path real = std::filesystem::canonical(path, error);
    if (error)
        return std::nullopt;
    return real;
}

// Component by component, so that "/a/bc" does not count as inside "/a/b".
bool within(const std::filesystem::path& root, const std::filesystem::path& real)
{
    return std::mismatch(root.begin(), root.end(), real.begin(), real.end()).first == root.end();
}

} // namespace

BackupFolder::BackupFolder(const std::filesystem::path& folder) : m_root(resolved(folder)) {}

bool BackupFolder::contains(const std::filesystem::path& path) const
{
    const auto real = resolved(path);
    return m_root && real && within(*m_root, *real);
}

std::optional<std::filesystem::path> BackupFolder::file(const std::filesystem::path& relative) const
{
    if (!m_root)
        return std::nullopt;
    const auto real = resolved(*m_root / relative);
    std::error_code error;
    if (!real || !within(*m_root, *real) || !std::filesystem::is_regular_file(*real, error))
        return std::nullopt;
    return real;
}

} // namespace quorva
