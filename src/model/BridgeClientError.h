#pragma once

#include "model/Translatable.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

namespace quorva {

// The system's own failures. Each case has exactly one user-facing text, description(),
// which is also what(). Failures of the platform travel as PlatformError instead.
class BridgeClientError : public std::exception {
public:
    enum class Case {
        server,
        database,
        invalidResponse,
        noBackupFound,
        encryptedBackup,
        messagesDatabaseMissing,
        backupAccessLost,
        noChildSelected,
        notPaired,
        backupBeingWritten,
    };

    [[nodiscard]] static BridgeClientError server(int64_t status, std::optional<std::string> code,
                                                  std::string message);
    [[nodiscard]] static BridgeClientError database(std::string detail);
    [[nodiscard]] static BridgeClientError invalidResponse()
    {
        return BridgeClientError(Case::invalidResponse);
    }
    [[nodiscard]] static BridgeClientError noBackupFound() { return BridgeClientError(Case::noBackupFound); }
    [[nodiscard]] static BridgeClientError encryptedBackup()
    {
        return BridgeClientError(Case::encryptedBackup);
    }
    [[nodiscard]] static BridgeClientError messagesDatabaseMissing()
    {
        return BridgeClientError(Case::messagesDatabaseMissing);
    }
    [[nodiscard]] static BridgeClientError backupAccessLost()
    {
        return BridgeClientError(Case::backupAccessLost);
    }
    [[nodiscard]] static BridgeClientError noChildSelected()
    {
        return BridgeClientError(Case::noChildSelected);
    }
    [[nodiscard]] static BridgeClientError notPaired() { return BridgeClientError(Case::notPaired); }
    [[nodiscard]] static BridgeClientError backupBeingWritten()
    {
        return BridgeClientError(Case::backupBeingWritten);
    }

    [[nodiscard]] Case kind() const { return m_case; }
    [[nodiscard]] int64_t status() const { return m_status; }                       // server only
    [[nodiscard]] const std::optional<std::string>& code() const { return m_code; } // server only
    [[nodiscard]] const std::string& detail() const { return m_detail; } // server message or database detail

    // English, as the service reads it in heartbeats; the window and the CLI show it translated,
    // looked up in the context "quorva::BridgeClientError" (or "quorva::words" for the texts of
    // the platform's words; a server's message and a database's detail as they came).
    [[nodiscard]] const std::string& description() const { return m_description; }
    // What a `database` description starts with, before the detail.
    static constexpr const char* databasePrefix =
        QUORVA_TEXT("quorva::BridgeClientError", "The Messages backup could not be read: ");
    [[nodiscard]] const char* what() const noexcept override { return m_description.c_str(); }

    friend bool operator==(const BridgeClientError& a, const BridgeClientError& b)
    {
        return a.m_case == b.m_case && a.m_status == b.m_status && a.m_code == b.m_code &&
               a.m_detail == b.m_detail;
    }

private:
    explicit BridgeClientError(Case c, int64_t status = 0, std::optional<std::string> code = {},
                               std::string detail = {});

    Case m_case;
    int64_t m_status;
    std::optional<std::string> m_code;
    std::string m_detail;
    std::string m_description;
};

} // namespace quorva
