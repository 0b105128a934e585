#pragma once

#include "model/BridgeChild.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorva::devservice {

// One request as it arrived, free of the server library so that tests can look at it.
struct HttpCall {
    std::string method;
    std::string path;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // The first header of that name, compared without regard to case.
    [[nodiscard]] std::optional<std::string> header(std::string_view name) const
    {
        const auto it = std::ranges::find_if(headers, [name](const auto& h) {
            return std::ranges::equal(h.first, name, [](unsigned char a, unsigned char b) {
                return std::tolower(a) == std::tolower(b);
            });
        });
        return it == headers.end() ? std::nullopt : std::optional(it->second);
    }
};

// Faults to provoke on purpose, for tests of the client's failure paths.
struct IngestFaults {
    // After this many answered batches, every further batch fails with 500 and stores nothing.
    std::optional<int> failAfterBatches;
    // Items whose text contains a marker are answered with its status ("failed", "rejected", …)
    // and not stored.
    std::map<std::string, std::string> statusMarkers;
    // Every answer also carries a "processed" result for an item that was not in the batch.
    bool answerForeignIds = false;
    // Every answer reports this many alerts, whatever it created.
    std::optional<int64_t> alertsPerBatch;
    // Each batch is answered only after this pause, so a test can stop a client mid-upload.
    std::optional<std::chrono::milliseconds> delayPerBatch;
};

// Everything a DevService is started with. Its state lives as long as the service object.
struct DevServiceConfig {
    // Each is redeemable once.
    std::vector<std::string> pairingCodes;
    // A child listed twice keeps its first place and its last name.
    std::vector<BridgeChild> children;
    std::chrono::seconds tokenLifetime = std::chrono::days(365);
    std::size_t maxBodyBytes = 2 * 1024 * 1024;
    IngestFaults faults;
    // Called with every request to a bridge endpoint before it is answered; a ServiceError it
    // throws is the answer. In-process tests script a service that fails, or a user who acts
    // while a request is on its way.
    std::function<void(const HttpCall&)> beforeRequest;
};

} // namespace quorva::devservice
