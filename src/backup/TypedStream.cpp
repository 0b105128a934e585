#include "backup/TypedStream.h"

#include <cstdint>

namespace quorva {
namespace {

constexpr std::string_view kHeader("\x04\x0B"
                                   "streamtyped",
                                   13);
constexpr std::string_view kStringClass("NSString");
constexpr std::string_view kStringTypeMarker("\x84\x01\x2B", 3);

// Little-endian unsigned integer of `width` bytes at `at`; the caller has checked the bounds.
uint64_t littleEndian(std::string_view bytes, std::size_t at, std::size_t width)
{
    uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<uint64_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
    return value;
}

} // namespace

std::optional<std::string_view> firstArchivedString(std::string_view archive)
{
    if (!archive.starts_with(kHeader))
        return std::nullopt;
    const std::size_t className = archive.find(kStringClass, kHeader.size());
    if (className == std::string_view::npos)
        return std::nullopt;
    const std::size_t marker = archive.find(kStringTypeMarker, className + kStringClass.size());
    if (marker == std::string_view::npos)
        return std::nullopt;

    std::size_t at = marker + kStringTypeMarker.size();
    if (at >= archive.size())
        return std::nullopt;
    const auto tag = static_cast<uint8_t>(archive[at++]);
    uint64_t length = 0;
    if (tag < 0x80) {
        length = tag;
    } else if (tag == 0x81 || tag == 0x82) {
        const std::size_t width = tag == 0x81 ? 2 : 4;
        if (archive.size() - at < width)
            return std::nullopt;
        length = littleEndian(archive, at, width);
        at += width;
    } else {
        return std::nullopt;
    }
    if (length > archive.size() - at)
        return std::nullopt;
    return archive.substr(at, static_cast<std::size_t>(length));
}

} // namespace quorva
