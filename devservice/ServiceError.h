#pragma once

#include <stdexcept>
#include <string>

namespace quorva::devservice {

// A refusal the service answers with an error body {"error": message, "code": code}.
class ServiceError : public std::runtime_error {
public:
    ServiceError(int status, std::string code, const std::string& message)
        : std::runtime_error(message), m_status(status), m_code(std::move(code))
    {
    }

    [[nodiscard]] int status() const { return m_status; }
    [[nodiscard]] const std::string& code() const { return m_code; }

    [[nodiscard]] static ServiceError invalidRequest(const std::string& message)
    {
        return {400, "invalid_request", message};
    }

private:
    int m_status;
    std::string m_code;
};

} // namespace quorva::devservice
