#pragma once

#include "DevService.h"

#include <QNetworkAccessManager>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorva::devservice::testing {

struct Response {
    int status = 0;
    std::string contentType;
    std::string body;
    nlohmann::json json; // discarded when the body is not JSON
};

struct RequestOptions {
    std::optional<std::string> token{};
    std::optional<std::string> authorization{}; // raw header, when a test needs a malformed one
    std::string contentType = "application/json";
};

inline const std::string kChildId = "child-ava";

// A DevService on a free loopback port over a database in a private folder, and a client for it.
class ServiceHarness {
public:
    ServiceHarness();
    ~ServiceHarness();

    // (Re)starts the service on the same database file with the current config.
    void start();
    void stop();

    [[nodiscard]] Response get(const std::string& path, const RequestOptions& options = {});
    [[nodiscard]] Response post(const std::string& path, const std::string& body,
                                const RequestOptions& options = {});
    [[nodiscard]] Response post(const std::string& path, const nlohmann::json& body,
                                const RequestOptions& options = {});

    // Redeems a configured code and returns the bridge token.
    [[nodiscard]] std::string pair(const std::string& code = "ABC-123");

    DevServiceConfig config;
    std::vector<std::string> logLines;

private:
    [[nodiscard]] Response send(const std::string& method, const std::string& path, const std::string* body,
                                const RequestOptions& options);

    QTemporaryDir m_dir;
    QNetworkAccessManager m_network;
    std::unique_ptr<DevService> m_service;
};

// A valid ingest item and batch for kChildId, to be varied by the tests.
[[nodiscard]] std::string itemId(int n);
[[nodiscard]] nlohmann::json ingestItem(const std::string& clientItemId,
                                        const std::string& text = "meet me tonight");
[[nodiscard]] nlohmann::json ingestBatch(nlohmann::json items);

} // namespace quorva::devservice::testing
