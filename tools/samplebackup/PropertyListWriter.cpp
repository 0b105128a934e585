#include "PropertyListWriter.h"

#include <plist/plist.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace quorva::samples {

PlistDictionary::PlistDictionary() : m_node(plist_new_dict()) {}

PlistDictionary::~PlistDictionary()
{
    if (m_node)
        plist_free(static_cast<plist_t>(m_node));
}

PlistDictionary::PlistDictionary(PlistDictionary&& other) noexcept : m_node(other.m_node)
{
    other.m_node = nullptr;
}

PlistDictionary& PlistDictionary::setString(const char* key, std::string_view value)
{
    plist_dict_set_item(static_cast<plist_t>(m_node), key, plist_new_string(std::string(value).c_str()));
    return *this;
}

PlistDictionary& PlistDictionary::setBool(const char* key, bool value)
{
    plist_dict_set_item(static_cast<plist_t>(m_node), key, plist_new_bool(value ? 1 : 0));
    return *this;
}

PlistDictionary& PlistDictionary::setInteger(const char* key, uint64_t value)
{
    plist_dict_set_item(static_cast<plist_t>(m_node), key, plist_new_uint(value));
    return *this;
}

PlistDictionary& PlistDictionary::setDate(const char* key, Instant value)
{
    // libplist keeps dates as whole seconds since 2001 plus microseconds.
    // The library's 32-bit seconds reach 1933 to 2069; dates beyond saturate.
    const double reference = std::clamp(std::isnan(value.referenceSeconds()) ? 0.0 : value.referenceSeconds(),
                                        double(INT32_MIN), double(INT32_MAX) - 1.0);
    auto seconds = static_cast<int64_t>(std::floor(reference));
    auto micros = static_cast<int64_t>(std::llround((reference - static_cast<double>(seconds)) * 1e6));
    if (micros == 1000000) {
        ++seconds;
        micros = 0;
    }
    plist_dict_set_item(static_cast<plist_t>(m_node), key,
                        plist_new_date(static_cast<int32_t>(seconds), static_cast<int32_t>(micros)));
    return *this;
}

PlistDictionary& PlistDictionary::setData(const char* key, std::span<const uint8_t> value)
{
    plist_dict_set_item(static_cast<plist_t>(m_node), key,
                        plist_new_data(reinterpret_cast<const char*>(value.data()), value.size()));
    return *this;
}

PlistDictionary& PlistDictionary::setDictionary(const char* key, PlistDictionary value)
{
    plist_dict_set_item(static_cast<plist_t>(m_node), key, static_cast<plist_t>(value.m_node));
    value.m_node = nullptr;
    return *this;
}

std::string PlistDictionary::serialize(PlistFormat format) const
{
    char* bytes = nullptr;
    uint32_t length = 0;
    if (format == PlistFormat::xml)
        plist_to_xml(static_cast<plist_t>(m_node), &bytes, &length);
    else
        plist_to_bin(static_cast<plist_t>(m_node), &bytes, &length);
    if (!bytes)
        throw std::runtime_error("cannot serialise a property list");
    std::string result(bytes, length);
    if (format == PlistFormat::xml)
        plist_to_xml_free(bytes);
    else
        plist_to_bin_free(bytes);
    return result;
}

void PlistDictionary::writeFile(const std::filesystem::path& file, PlistFormat format) const
{
    writeWholeFile(file, serialize(format));
}

void writeWholeFile(const std::filesystem::path& file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

} // namespace quorva::samples
