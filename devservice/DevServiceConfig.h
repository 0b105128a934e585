#pragma once

#include "HttpExchange.h"
#include "IngestEndpoint.h"
#include "model/BridgeChild.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace quorva::devservice {

inline constexpr std::size_t kDefaultMaxBodyBytes = 2 * 1024 * 1024;

// Everything a DevService is started with.
struct DevServiceConfig {
    std::string databasePath = "quorva-devservice.sqlite";
    // Added to the database if not known yet; each is redeemable once, across restarts too.
    std::vector<std::string> pairingCodes;
    // Added to the database, or renamed there.
    std::vector<BridgeChild> children;
    std::chrono::seconds tokenLifetime = std::chrono::days(365);
    std::size_t maxBodyBytes = kDefaultMaxBodyBytes;
    IngestFaults faults;
    // Called with every request to a bridge endpoint before it is answered; a ServiceError it
    // throws is the answer. In-process tests script a service that fails, or a user who acts
    // while a request is on its way.
    std::function<void(const HttpCall&)> beforeRequest;
};

} // namespace quorva::devservice
