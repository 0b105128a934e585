#include "model/BridgeClientError.h"

#include "model/PlatformWords.h"

#include <utility>

namespace quorva {
namespace {

std::string describe(BridgeClientError::Case c, const std::string& detail)
{
    using C = BridgeClientError::Case;
    switch (c) {
    case C::server:
        return detail;
    case C::database:
        return BridgeClientError::databasePrefix + detail;
    case C::invalidResponse:
        return QUORVA_TEXT("quorva::BridgeClientError", "Quorva returned an unreadable response.");
    case C::noBackupFound:
        return words::noBackupFound;
    case C::encryptedBackup:
        return QUORVA_TEXT(
            "quorva::BridgeClientError",
            "This backup is encrypted. Quorva Bridge does not ask for or upload backup passwords. "
            "Create a separate unencrypted local backup for this first release.");
    case C::messagesDatabaseMissing:
        return QUORVA_TEXT("quorva::BridgeClientError",
                           "The selected backup does not contain a readable Messages database.");
    case C::backupAccessLost:
        return QUORVA_TEXT("quorva::BridgeClientError",
                           "Access to the backup folder expired. Choose the folder again.");
    case C::noChildSelected:
        return QUORVA_TEXT("quorva::BridgeClientError", "Choose the child profile that owns this iPhone.");
    case C::notPaired:
        return words::notPaired;
    case C::backupBeingWritten:
        return QUORVA_TEXT("quorva::BridgeClientError",
                           "This backup is being written; Bridge checks it again at the next scan.");
    }
    return {};
}

} // namespace

BridgeClientError::BridgeClientError(Case c, int64_t status, std::optional<std::string> code,
                                     std::string detail)
    : m_case(c), m_status(status), m_code(std::move(code)), m_detail(std::move(detail)),
      m_description(describe(c, m_detail))
{
}

BridgeClientError BridgeClientError::server(int64_t status, std::optional<std::string> code,
                                            std::string message)
{
    return BridgeClientError(Case::server, status, std::move(code), std::move(message));
}

BridgeClientError BridgeClientError::database(std::string detail)
{
    return BridgeClientError(Case::database, 0, {}, std::move(detail));
}

} // namespace quorva
