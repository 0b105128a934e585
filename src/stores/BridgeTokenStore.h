#pragma once

#include "model/PlatformError.h"

#include <QCoroTask>
#include <QString>

#include <optional>
#include <string>

namespace quorva {

// What the secret store said when asked for the token.
struct TokenLookup {
    std::optional<std::string> token; // present when an item was found
    // The store could not be asked: not running yet, unreachable or locked. Nothing can be said
    // about the pairing then; it is not the same as "never paired".
    bool storeUnavailable = false;
};

// The secret store did not keep the token.
class SecretStoreRefusal : public PlatformError {
public:
    using PlatformError::PlatformError;
};

// Keeps the service's bearer token in the platform's secret store (QtKeychain), as the
// token's UTF-8 bytes under (service, account) and nothing else.
class BridgeTokenStore {
public:
    explicit BridgeTokenStore(QString service = QStringLiteral(QUORVA_APP_ID),
                              QString account = QStringLiteral("bridge-token"));

    // The token; nothing when no item exists or its bytes are not UTF-8; storeUnavailable when the
    // store could not answer. Never throws.
    [[nodiscard]] QCoro::Task<TokenLookup> read() const;
    // Replaces any earlier item. Throws SecretStoreRefusal when the store refuses.
    [[nodiscard]] QCoro::Task<> save(std::string token) const;
    // Deletes the item; never fails.
    [[nodiscard]] QCoro::Task<> remove() const;
    // Deletes the item and says whether it is gone: false while the store is locked or
    // unreachable, when the token may come back once it opens. Never throws.
    [[nodiscard]] QCoro::Task<bool> forget() const;

    [[nodiscard]] const QString& service() const { return m_service; }
    [[nodiscard]] const QString& account() const { return m_account; }

private:
    QString m_service;
    QString m_account;
};

} // namespace quorva
