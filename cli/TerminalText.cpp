#include "TerminalText.h"

#include <QString>

namespace quorva::cli {
namespace {

bool isDirectionControl(char16_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

} // namespace

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
