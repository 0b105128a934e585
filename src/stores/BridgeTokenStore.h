#pragma once

#include <QCoroTask>
#include <QString>

#include <optional>
#include <string>

namespace quorva {

// Keeps the service's bearer token in the platform's secret store (QtKeychain), as the
// token's UTF-8 bytes under (service, account) and nothing else.
class BridgeTokenStore {
public:
    explicit BridgeTokenStore(QString service = QStringLiteral(QUORVA_APP_ID),
                              QString account = QStringLiteral("bridge-token"));

    // Nothing when no item exists, the store is unreachable or locked, or the bytes are not UTF-8.
    [[nodiscard]] QCoro::Task<std::optional<std::string>> read() const;
    // Replaces any earlier item. Throws BridgeClientError::invalidResponse when the store refuses.
    [[nodiscard]] QCoro::Task<> save(std::string token) const;
    // Deletes the item; never fails.
    [[nodiscard]] QCoro::Task<> remove() const;

    [[nodiscard]] const QString& service() const { return m_service; }
    [[nodiscard]] const QString& account() const { return m_account; }

private:
    QString m_service;
    QString m_account;
};

} // namespace quorva
