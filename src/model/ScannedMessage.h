#pragma once

#include "model/Hashing.h"
#include "model/Instant.h"

#include <optional>
#include <string>
#include <vector>

namespace quorva {

// One incoming message that matched at least one classifier rule.
struct ScannedMessage {
    std::string id;   // 64 lowercase hex digits; the upload's clientItemId and the checkpoint key
    std::string text; // at most 4000 user-perceived characters
    std::optional<std::string> senderName;
    Instant capturedAt;
    std::vector<std::string> reasons; // never sent to the service

    friend bool operator==(const ScannedMessage&, const ScannedMessage&) = default;
};

} // namespace quorva

template <> struct std::hash<quorva::ScannedMessage> {
    std::size_t operator()(const quorva::ScannedMessage& m) const noexcept
    {
        std::size_t seed = 0;
        quorva::hashCombine(seed, m.id);
        quorva::hashCombine(seed, m.text);
        quorva::hashCombine(seed, m.senderName);
        quorva::hashCombine(seed, m.capturedAt);
        quorva::hashCombine(seed, m.reasons);
        return seed;
    }
};
