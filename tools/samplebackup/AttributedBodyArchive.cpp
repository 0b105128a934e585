#include "SampleBackup.h"

#include <cstring>
#include <map>
#include <string>

namespace quorva::samples {
namespace {

// Writes the legacy typedstream encoding. Type strings and class names are shared through one
// table, objects and classes through another; a repeat is written as a reference byte.
class TypedStreamWriter {
public:
    TypedStreamWriter()
    {
        m_out.reserve(256);
        writeBytes(std::string_view("\x04\x0bstreamtyped", 13));
        writeInteger(1000); // the archiver's system version
    }

    void writeInteger(int64_t value)
    {
        // One byte unless the value collides with the tag bytes 0x80 to 0x86.
        if (value >= -121 && value <= 127) {
            m_out.push_back(static_cast<uint8_t>(value));
        } else if (value >= INT16_MIN && value <= INT16_MAX) {
            m_out.push_back(kInt16);
            appendLittleEndian(value, 2);
        } else {
            m_out.push_back(kInt32);
            appendLittleEndian(value, 4);
        }
    }

    void writeSharedString(std::string_view text)
    {
        if (writeReferenceIfKnown(m_strings, text))
            return;
        m_strings.emplace(text, m_nextString++);
        m_out.push_back(kNew);
        writeInteger(static_cast<int64_t>(text.size()));
        writeBytes(text);
    }

    // A value of the C-string type: shared with the type strings, with one more marker when new.
    void writeCString(std::string_view text)
    {
        if (writeReferenceIfKnown(m_strings, text))
            return;
        m_out.push_back(kNew);
        writeSharedString(text);
    }

    // Starts an object of the class chain `classes`, most derived first, each with its version.
    // The chain stops at the first class already written, as a reference to it.
    void beginObject(std::initializer_list<std::pair<std::string_view, int>> classes)
    {
        writeSharedString("@");
        m_out.push_back(kNew);
        ++m_nextObject;
        for (const auto& [name, version] : classes) {
            if (writeReferenceIfKnown(m_classes, name))
                return;
            m_classes.emplace(name, m_nextObject++);
            m_out.push_back(kNew);
            writeSharedString(name);
            writeInteger(version);
        }
        m_out.push_back(kNil);
    }

    void endObject() { m_out.push_back(kEnd); }

    void writeBytes(std::string_view bytes) { m_out.insert(m_out.end(), bytes.begin(), bytes.end()); }

    [[nodiscard]] std::vector<uint8_t> take() { return std::move(m_out); }

private:
    static constexpr uint8_t kInt16 = 0x81, kInt32 = 0x82, kNew = 0x84, kNil = 0x85, kEnd = 0x86,
                             kFirstReference = 0x92;
    using Table = std::map<std::string, int64_t, std::less<>>;

    bool writeReferenceIfKnown(const Table& table, std::string_view key)
    {
        const auto it = table.find(key);
        if (it == table.end())
            return false;
        // Indices stay far below the 109 a one-byte reference can hold in these small archives.
        m_out.push_back(static_cast<uint8_t>(kFirstReference + it->second));
        return true;
    }

    void appendLittleEndian(int64_t value, int bytes)
    {
        const auto bits = static_cast<uint64_t>(value);
        for (int i = 0; i < bytes; ++i)
            m_out.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    }

    std::vector<uint8_t> m_out;
    Table m_strings; // type strings and class names
    Table m_classes; // classes share the numbering of the objects
    int64_t m_nextString = 0;
    int64_t m_nextObject = 0;
};

// Attribute runs count UTF-16 code units, not bytes.
int64_t utf16Length(std::string_view utf8)
{
    int64_t units = 0;
    for (const unsigned char byte : utf8) {
        if ((byte & 0xC0) != 0x80)
            ++units;
        if (byte >= 0xF0)
            ++units;
    }
    return units;
}

void writeNSString(TypedStreamWriter& w, std::string_view text, bool mutableClass)
{
    if (mutableClass)
        w.beginObject({{"NSMutableString", 1}, {"NSString", 1}, {"NSObject", 0}});
    else
        w.beginObject({{"NSString", 1}, {"NSObject", 0}});
    w.writeSharedString("+");
    w.writeInteger(static_cast<int64_t>(text.size()));
    w.writeBytes(text);
    w.endObject();
}

void writeNSNumber(TypedStreamWriter& w, int64_t value)
{
    w.beginObject({{"NSNumber", 0}, {"NSValue", 0}, {"NSObject", 0}});
    w.writeSharedString("*");
    w.writeCString("q");
    w.writeSharedString("q");
    w.writeInteger(value);
    w.endObject();
}

} // namespace

std::vector<uint8_t> archiveAttributedString(std::string_view utf8Text)
{
    return archiveAttributedString(utf8Text, ArchivedClasses::mutableStrings);
}

std::vector<uint8_t> archiveAttributedString(std::string_view utf8Text, ArchivedClasses classes)
{
    const bool isMutable = classes == ArchivedClasses::mutableStrings;
    TypedStreamWriter w;
    if (isMutable)
        w.beginObject({{"NSMutableAttributedString", 0}, {"NSAttributedString", 0}, {"NSObject", 0}});
    else
        w.beginObject({{"NSAttributedString", 0}, {"NSObject", 0}});
    writeNSString(w, utf8Text, isMutable);

    // One attribute run over the whole text: (attribute dictionary number, run length).
    w.writeSharedString("iI");
    w.writeInteger(1);
    w.writeInteger(utf16Length(utf8Text));
    w.beginObject({{"NSDictionary", 0}, {"NSObject", 0}});
    w.writeSharedString("i");
    w.writeInteger(2);
    writeNSString(w, "__kIMBaseWritingDirectionAttributeName", false);
    writeNSNumber(w, -1);
    writeNSString(w, "__kIMMessagePartAttributeName", false);
    writeNSNumber(w, 0);
    w.endObject();
    w.endObject();
    return w.take();
}

} // namespace quorva::samples
