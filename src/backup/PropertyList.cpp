#include "backup/PropertyList.h"

#include "backup/UnicodeText.h"

#include <plist/plist.h>

#include <cstdint>
#include <fstream>
#include <system_error>

namespace quorva {
namespace {

// Real backup Info.plists hold app lists and icons and reach tens of megabytes; anything far
// beyond that is not a property list worth reading whole.
constexpr std::uintmax_t kMaximumFileSize = 256u * 1024u * 1024u;
constexpr std::string_view kBinaryMagic = "bplist00";

} // namespace

struct PropertyList::Node {
    explicit Node(plist_t n) : node(n) {}
    ~Node() { plist_free(node); }
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    // The value under `key` when it has the given type.
    [[nodiscard]] plist_t item(const std::string& key, plist_type type) const
    {
        plist_t value = plist_dict_get_item(node, key.c_str());
        return value != nullptr && plist_get_node_type(value) == type ? value : nullptr;
    }

    plist_t node;
};

PropertyList::PropertyList(std::unique_ptr<Node> root, PropertyListSurvey survey)
    : m_root(std::move(root)), m_survey(std::move(survey))
{
}
PropertyList::PropertyList(PropertyList&&) noexcept = default;
PropertyList& PropertyList::operator=(PropertyList&&) noexcept = default;
PropertyList::~PropertyList() = default;

std::optional<PropertyList> PropertyList::readFile(const std::filesystem::path& file)
{
    // Only a regular file is read: a pipe or device of that name would block or never end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > kMaximumFileSize)
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size()) ||
        in.peek() != std::ifstream::traits_type::eof())
        return std::nullopt; // changed while being read: not read whole
    return parse(bytes);
}

std::optional<PropertyList> PropertyList::parse(std::string_view bytes)
{
    if (bytes.size() < kBinaryMagic.size() || bytes.size() > kMaximumFileSize)
        return std::nullopt; // the library reads nothing shorter either
    // The library tells the encodings apart by the same test.
    auto survey = bytes.starts_with(kBinaryMagic) ? PropertyListSurvey::ofBinary(bytes)
                                                  : PropertyListSurvey::ofXml(bytes);
    if (!survey)
        return std::nullopt;
    plist_t root = nullptr;
    plist_from_memory(bytes.data(), static_cast<uint32_t>(bytes.size()), &root);
    if (root == nullptr)
        return std::nullopt;
    auto node = std::make_unique<Node>(root);
    if (plist_get_node_type(root) != PLIST_DICT)
        return std::nullopt;
    return PropertyList(std::move(node), *std::move(survey));
}

std::optional<std::string> PropertyList::string(const std::string& key) const
{
    plist_t value = m_root->item(key, PLIST_STRING);
    if (value == nullptr)
        return std::nullopt;
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(value, &length);
    if (text == nullptr)
        return std::nullopt;
    // Names from a backup travel on to the service as JSON, which takes only UTF-8.
    return unicode::decodeUtf8Lossy(std::string_view(text, static_cast<std::size_t>(length)));
}

std::optional<Instant> PropertyList::date(const std::string& key) const
{
    // The library's own getter has 32-bit seconds and loses the sign of a negative fraction.
    if (m_root->item(key, PLIST_DATE) == nullptr)
        return std::nullopt;
    return m_survey.date(key);
}

std::optional<bool> PropertyList::boolean(const std::string& key) const
{
    plist_t value = m_root->item(key, PLIST_BOOLEAN);
    if (value == nullptr)
        return std::nullopt;
    uint8_t flag = 0;
    plist_get_bool_val(value, &flag);
    return flag != 0;
}

std::optional<int64_t> PropertyList::integer(const std::string& key) const
{
    plist_t value = m_root->item(key, PLIST_UINT);
    if (value == nullptr)
        return std::nullopt;
    uint64_t number = 0;
    plist_get_uint_val(value, &number);
    return static_cast<int64_t>(number); // the library keeps signed integers in this field
}

} // namespace quorva
