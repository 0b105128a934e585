#include "state/PairingCode.h"

#include "backup/UnicodeText.h"

#include <QList>

namespace quorva {

QString normalizedPairingCode(const QString& typed)
{
    QString kept;
    for (const uint value : typed.toUpper().toUcs4()) {
        const auto codePoint = static_cast<char32_t>(value);
        if (QChar::isLetterOrNumber(codePoint))
            kept.append(QString::fromUcs4(&codePoint, 1));
    }
    return kept;
}

std::size_t pairingCodeLength(const QString& code)
{
    return unicode::graphemeCount(code.toStdString());
}

} // namespace quorva
