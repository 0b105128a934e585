#include "Identifiers.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QRandomGenerator>

#include <vector>

namespace quorva::devservice {

std::string randomHex(std::size_t bytes)
{
    std::vector<quint32> words((bytes + 3) / 4);
    QRandomGenerator::system()->fillRange(words.data(), static_cast<qsizetype>(words.size()));
    const QByteArray raw(reinterpret_cast<const char*>(words.data()), static_cast<qsizetype>(bytes));
    return raw.toHex().toStdString();
}

std::string newIdentifier(std::string_view prefix)
{
    return std::string(prefix) + "_" + randomHex(12);
}

std::string sha256Hex(std::string_view data)
{
    const QByteArray digest = QCryptographicHash::hash(
        QByteArrayView(data.data(), static_cast<qsizetype>(data.size())), QCryptographicHash::Sha256);
    return digest.toHex().toStdString();
}

} // namespace quorva::devservice
