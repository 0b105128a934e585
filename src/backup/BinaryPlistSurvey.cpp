// The survey of a binary property list: the object tree walked from the top object as the
// parser will expand it, every reference counted, every offset checked against the bytes.
#include "backup/PropertyListSurvey.h"

#include <bit>
#include <vector>

namespace quorva {
namespace {

constexpr uint64_t kHeaderSize = 8; // "bplist00"
constexpr uint64_t kTrailerSize = 32;

// The high four bits of an object's marker byte.
enum class Kind : uint8_t {
    simple = 0x0, // null, false, true, fill
    integer = 0x1,
    real = 0x2,
    date = 0x3,
    data = 0x4,
    ascii = 0x5,
    utf16 = 0x6,
    utf8 = 0x7,
    uid = 0x8,
    array = 0xA,
    set = 0xC,
    dictionary = 0xD,
};

struct Object {
    Kind kind;
    uint64_t count;     // entries of a container, bytes or units of a string or data
    uint64_t contentAt; // just after the marker and the count
    uint64_t contentSize;

    [[nodiscard]] bool isContainer() const
    {
        return kind == Kind::array || kind == Kind::set || kind == Kind::dictionary;
    }
    // Kinds whose marker carries a count (15: the count follows as an integer object).
    [[nodiscard]] bool isCounted() const
    {
        return isContainer() || kind == Kind::data || kind == Kind::ascii || kind == Kind::utf16 ||
               kind == Kind::utf8;
    }
    // What the parser allocates for the content: UTF-16 becomes up to three UTF-8 bytes a unit.
    [[nodiscard]] uint64_t payload() const
    {
        switch (kind) {
        case Kind::data:
        case Kind::ascii:
        case Kind::utf8:
            return count;
        case Kind::utf16:
            return 3 * count;
        default:
            return 0;
        }
    }
};

class BinaryList {
public:
    static std::optional<BinaryList> open(std::string_view bytes)
    {
        if (bytes.size() < kHeaderSize + kTrailerSize)
            return std::nullopt;
        BinaryList list(bytes);
        const uint64_t trailer = bytes.size() - kTrailerSize;
        list.m_offsetSize = static_cast<uint8_t>(bytes[trailer + 6]);
        list.m_refSize = static_cast<uint8_t>(bytes[trailer + 7]);
        list.m_objectCount = *list.number(trailer + 8, 8, bytes.size());
        list.m_top = *list.number(trailer + 16, 8, bytes.size());
        list.m_table = *list.number(trailer + 24, 8, bytes.size());
        const bool sane = list.m_offsetSize >= 1 && list.m_offsetSize <= 8 && list.m_refSize >= 1 &&
                          list.m_refSize <= 8 && list.m_table >= kHeaderSize && list.m_table <= trailer &&
                          list.m_objectCount >= 1 &&
                          list.m_objectCount <= (trailer - list.m_table) / list.m_offsetSize &&
                          list.m_top < list.m_objectCount;
        if (!sane)
            return std::nullopt;
        return list;
    }

    [[nodiscard]] uint64_t top() const { return m_top; }
    [[nodiscard]] uint8_t refSize() const { return m_refSize; }

    // The object whose reference is stored at `at`.
    [[nodiscard]] std::optional<Object> referenced(uint64_t at) const
    {
        const auto index = number(at, m_refSize, m_table);
        return index ? object(*index) : std::nullopt;
    }

    [[nodiscard]] std::optional<Object> object(uint64_t index) const
    {
        if (index >= m_objectCount)
            return std::nullopt;
        const auto at = number(m_table + index * m_offsetSize, m_offsetSize, m_bytes.size() - kTrailerSize);
        if (!at || *at < kHeaderSize || *at >= m_table)
            return std::nullopt;
        const auto marker = static_cast<uint8_t>(m_bytes[*at]);
        Object object{static_cast<Kind>(marker >> 4), marker & 0x0Fu, *at + 1, 0};
        if (object.isCounted() && object.count == 0x0F && !readLongCount(object))
            return std::nullopt;
        if (!sizeContent(object) || object.contentSize > m_table - object.contentAt)
            return std::nullopt;
        return object;
    }

    // The big-endian double of a date object.
    [[nodiscard]] double dateValue(const Object& date) const
    {
        return std::bit_cast<double>(number(date.contentAt, 8, m_table).value_or(0));
    }

    // The text of a key made of ASCII characters only, in either string encoding.
    [[nodiscard]] std::optional<std::string> asciiKey(const Object& key) const
    {
        if (key.kind == Kind::ascii)
            return std::string(m_bytes.substr(key.contentAt, key.count));
        if (key.kind != Kind::utf16)
            return std::nullopt;
        std::string text;
        for (uint64_t unit = 0; unit < key.count; ++unit) {
            const uint64_t code = number(key.contentAt + 2 * unit, 2, m_table).value_or(0);
            if (code == 0 || code > 0x7F)
                return std::nullopt;
            text.push_back(static_cast<char>(code));
        }
        return text;
    }

private:
    explicit BinaryList(std::string_view bytes) : m_bytes(bytes) {}

    // `size` bytes at `at`, most significant first; nothing when they reach past `end`.
    [[nodiscard]] std::optional<uint64_t> number(uint64_t at, uint64_t size, uint64_t end) const
    {
        if (at > end || size > end - at)
            return std::nullopt;
        uint64_t value = 0;
        for (uint64_t i = 0; i < size; ++i)
            value = value << 8 | static_cast<uint8_t>(m_bytes[at + i]);
        return value;
    }

    bool readLongCount(Object& object) const
    {
        const auto marker = number(object.contentAt, 1, m_table);
        if (!marker || *marker >> 4 != 0x1 || (*marker & 0x0F) > 3)
            return false;
        const uint64_t size = uint64_t{1} << (*marker & 0x0F);
        const auto count = number(object.contentAt + 1, size, m_table);
        if (!count)
            return false;
        object.count = *count;
        object.contentAt += 1 + size;
        return true;
    }

    bool sizeContent(Object& object) const
    {
        const uint64_t info = object.count;
        if (object.count > m_table) // more than could fit; keeps the products below from overflowing
            return false;
        switch (object.kind) {
        case Kind::simple:
            object.contentSize = 0;
            return info == 0x0 || info == 0x8 || info == 0x9 || info == 0xF;
        case Kind::integer:
        case Kind::real:
            object.contentSize = uint64_t{1} << info;
            return info <= 4;
        case Kind::date:
            object.contentSize = 8;
            return info == 3;
        case Kind::uid:
            object.contentSize = info + 1;
            return true;
        case Kind::data:
        case Kind::ascii:
        case Kind::utf8:
            object.contentSize = object.count;
            return true;
        case Kind::utf16:
            object.contentSize = 2 * object.count;
            return true;
        case Kind::array:
        case Kind::set:
            object.contentSize = object.count * m_refSize;
            return true;
        case Kind::dictionary:
            object.contentSize = 2 * object.count * m_refSize;
            return true;
        }
        return false;
    }

    std::string_view m_bytes;
    uint8_t m_offsetSize = 0;
    uint8_t m_refSize = 0;
    uint64_t m_objectCount = 0;
    uint64_t m_top = 0;
    uint64_t m_table = 0;
};

} // namespace

std::optional<PropertyListSurvey> PropertyListSurvey::ofBinary(std::string_view bytes)
{
    const auto list = BinaryList::open(bytes);
    if (!list)
        return std::nullopt;

    // Depth first, one frame per open container: the references of it not yet visited.
    struct Frame {
        uint64_t nextReferenceAt;
        uint64_t remaining;
    };
    std::vector<Frame> path;
    uint64_t objects = 0;
    uint64_t payload = 0;
    const uint64_t payloadLimit = bytes.size() + kMaximumSharedBytes;
    auto visit = [&](const std::optional<Object>& object) {
        if (!object || ++objects > kMaximumObjects || (payload += object->payload()) > payloadLimit)
            return false;
        if (object->isContainer()) {
            if (path.size() >= static_cast<std::size_t>(kMaximumDepth))
                return false;
            const uint64_t references = object->kind == Kind::dictionary ? 2 * object->count : object->count;
            path.push_back({object->contentAt, references});
        }
        return true;
    };
    if (!visit(list->object(list->top())))
        return std::nullopt;
    while (!path.empty()) {
        Frame& frame = path.back();
        if (frame.remaining == 0) {
            path.pop_back();
            continue;
        }
        const auto object = list->referenced(frame.nextReferenceAt);
        frame.nextReferenceAt += list->refSize();
        --frame.remaining;
        if (!visit(object)) // may grow the path: `frame` is not used after this
            return std::nullopt;
    }

    PropertyListSurvey survey;
    const auto top = list->object(list->top());
    if (!top || top->kind != Kind::dictionary)
        return survey;
    const uint64_t refSize = list->refSize();
    for (uint64_t entry = 0; entry < top->count; ++entry) {
        const auto key = list->referenced(top->contentAt + entry * refSize);
        const auto value = list->referenced(top->contentAt + (top->count + entry) * refSize);
        auto text = key ? list->asciiKey(*key) : std::nullopt;
        if (!text || !value)
            continue;
        std::optional<Instant> date;
        if (value->kind == Kind::date)
            date = Instant::fromReferenceSeconds(list->dateValue(*value));
        survey.noteEntry(std::move(*text), date);
    }
    return survey;
}

} // namespace quorva
