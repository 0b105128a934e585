#include "stores/FolderReference.h"

#include "model/PlatformError.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace quorva {

namespace {

// The failure to open `folder` for `reason`: permissions refused mean the folder is still there.
[[noreturn]] void failToOpen(const std::filesystem::path& folder, int reason)
{
    const std::error_code code(reason, std::system_category());
    PlatformError error = PlatformError::folder(folder, PlatformError::FolderStep::opening, code);
    if (reason == EACCES || reason == EPERM)
        throw FolderUnreadable(error.wording(), error.reportText());
    switch (reason) {
    case ENOENT:
    case ENOTDIR:
    case ENODEV:
    case ENXIO:
    case EIO:
    case ENOMEDIUM:
    case ESTALE:
    case ETIMEDOUT:
    case EHOSTDOWN:
    case EHOSTUNREACH:
        throw FolderAbsent(
            folder,
            Wording{QUORVA_TEXT("quorva::PlatformError",
                                "The backup folder “%1” cannot be reached now. Plug in the disk "
                                "or connect the share that holds it; Bridge tries again by itself."),
                    {folder.string()}},
            "The backup folder cannot be reached now: its disk or share is not connected.");
    default:
        throw error;
    }
}

PlatformError unreadableReference()
{
    return PlatformError(
        QUORVA_TEXT("quorva::PlatformError",
                    "The stored backup folder reference could not be read. Choose the folder again."));
}

// The path's bytes are kept exactly (file names need not be UTF-8, JSON strings must be), while an
// ordinary path stays readable in the stored form.
std::string pathToText(const std::filesystem::path& path)
{
    const QByteArray bytes = QByteArray::fromStdString(path.native());
    return bytes.toPercentEncoding("/").toStdString();
}

std::filesystem::path pathFromText(const std::string& text)
{
    return std::filesystem::path(
        QByteArray::fromPercentEncoding(QByteArray::fromStdString(text)).toStdString());
}

} // namespace

FolderReference FolderReference::make(const std::filesystem::path& folder)
{
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::canonical(folder, ec);
    if (ec)
        failToOpen(folder, ec.value());

    // Opening the folder, rather than asking about its path, proves it can be read and ties the
    // identity to the very folder that was opened.
    const int fd = ::open(canonical.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        failToOpen(folder, errno);
    struct stat info {};
    const int statResult = ::fstat(fd, &info);
    const int statErrno = errno;
    ::close(fd);
    if (statResult != 0)
        failToOpen(folder, statErrno);

    return FolderReference{currentVersion, canonical, static_cast<std::uint64_t>(info.st_dev),
                           static_cast<std::uint64_t>(info.st_ino)};
}

QByteArray FolderReference::encode() const
{
    const nlohmann::json json = {
        {"version", version}, {"path", pathToText(path)}, {"device", device}, {"inode", inode}};
    return QByteArray::fromStdString(json.dump());
}

FolderReference FolderReference::decode(const QByteArray& bytes)
{
    const nlohmann::json json = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (!json.is_object())
        throw unreadableReference();
    const auto member = [&](const char* name) -> const nlohmann::json& {
        const auto found = json.find(name);
        if (found == json.end())
            throw unreadableReference();
        return *found;
    };
    const nlohmann::json& version = member("version");
    const nlohmann::json& path = member("path");
    const nlohmann::json& device = member("device");
    const nlohmann::json& inode = member("inode");
    if (!version.is_number_integer() || !path.is_string() || !device.is_number_unsigned() ||
        !inode.is_number_unsigned())
        throw unreadableReference();
    // A later version may mean something else by these members: better to ask for the folder again.
    if (version.get<std::int64_t>() < 1 || version.get<std::int64_t>() > currentVersion)
        throw unreadableReference();

    FolderReference reference{static_cast<int>(version.get<std::int64_t>()),
                              pathFromText(path.get<std::string>()), device.get<std::uint64_t>(),
                              inode.get<std::uint64_t>()};
    if (!reference.path.is_absolute())
        throw unreadableReference();
    return reference;
}

// The folder is found again by its stored path; a folder that is no longer there fails, as we
// cannot search the disk for a moved one. What is found counts as stale, and is stored anew,
// when the stored form is of an older version, when the path now leads elsewhere (a folder on
// the way was replaced by a symbolic link, so it canonicalises differently), or when the folder
// at that path is another one than before (deleted and re-created, or restored), told by its
// device and inode numbers.
FolderResolution FolderReference::resolve() const
{
    FolderReference current = make(path);
    const bool stale = version < currentVersion || current != *this;
    return FolderResolution{std::move(current), stale};
}

} // namespace quorva
