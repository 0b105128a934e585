#pragma once

#include "model/Hashing.h"

#include <string>

namespace quorva {

// One child profile of the paired family, as the service lists it.
struct BridgeChild {
    std::string id;
    std::string name;

    friend bool operator==(const BridgeChild&, const BridgeChild&) = default;
};

} // namespace quorva

template <> struct std::hash<quorva::BridgeChild> {
    std::size_t operator()(const quorva::BridgeChild& c) const noexcept
    {
        std::size_t seed = 0;
        quorva::hashCombine(seed, c.id);
        quorva::hashCombine(seed, c.name);
        return seed;
    }
};
