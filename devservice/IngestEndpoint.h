#pragma once

#include "DevStore.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace quorva::devservice {

// Faults to provoke on purpose, for end-to-end tests of the client's failure paths.
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

// Ingests batches idempotently by clientItemId per bridge: a new valid item is "processed" and
// raises an alert, an item seen before is "duplicate", an invalid one "failed" and not stored.
class IngestEndpoint {
public:
    IngestEndpoint(DevStore& store, IngestFaults faults);

    // Runs inside the caller's transaction; throws ServiceError for a batch refused as a whole.
    [[nodiscard]] nlohmann::json ingest(const StoredBridge& bridge, const nlohmann::json& body);

private:
    [[nodiscard]] std::optional<std::string> markedStatus(const std::string& text) const;

    DevStore& m_store;
    IngestFaults m_faults;
    int m_answeredBatches = 0;
};

} // namespace quorva::devservice
