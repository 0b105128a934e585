#include "TerminalText.h"

#include <QString>

#include <cstddef>

namespace quorva::cli {
namespace {

bool isDirectionControl(char16_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// The length of the UTF-8 sequence at `at` and its code point; 0 when it is none.
std::size_t decodeUtf8(std::string_view bytes, std::size_t at, char32_t& code)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead >= 0xF5 || at + length > bytes.size())
        return 0;
    code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

std::string hex(unsigned value, int digits)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        text += kDigits[(value >> shift) & 0xF];
    return text;
}

} // namespace

std::string visibleId(std::string_view bytes)
{
    std::string out;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[at]);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\x" + hex(c, 2);
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            char32_t code = 0;
            const std::size_t length = decodeUtf8(bytes, at, code);
            if (length == 0) {
                out += "\\x" + hex(c, 2);
            } else if ((code >= 0x80 && code <= 0x9F) ||
                       (code <= 0xFFFF && isDirectionControl(static_cast<char16_t>(code)))) {
                out += "\\u{" + hex(code, 4) + "}";
                at += length;
                continue;
            } else {
                out.append(bytes.substr(at, length));
                at += length;
                continue;
            }
        }
        ++at;
    }
    return out;
}

std::string printable(std::string_view utf8)
{
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == u'\t' || u == 0x0B || u == 0x0C || u == 0x85)
            c = u' ';
        else if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || isDirectionControl(u))
            c = QChar(0xFFFD);
    }
    return text.toStdString();
}

} // namespace quorva::cli
