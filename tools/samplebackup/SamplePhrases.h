#pragma once

#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace quorva::samples {

// A seeded source of choices. Draws use the engine's raw output, whose sequence the standard
// fixes, so a seed gives the same backup with every standard library.
class SampleRandom {
public:
    explicit SampleRandom(uint32_t seed) : m_engine(seed) {}

    [[nodiscard]] uint32_t below(uint32_t bound)
    {
        return bound == 0 ? 0 : static_cast<uint32_t>(m_engine() % bound);
    }
    [[nodiscard]] double unit() { return static_cast<double>(m_engine()) / 4294967296.0; }
    [[nodiscard]] bool chance(double probability) { return unit() < probability; }
    template <typename Items> [[nodiscard]] const auto& pick(const Items& items)
    {
        return items[below(static_cast<uint32_t>(std::size(items)))];
    }

private:
    std::mt19937 m_engine;
};

// An everyday family text, 20 to 120 characters, that no safety rule should flag.
[[nodiscard]] std::string ordinaryText(SampleRandom& random);
// A text a safety rule should flag: grooming, pressure, threats, self-harm, bullying, scams, links.
[[nodiscard]] std::string riskyText(SampleRandom& random);

// Length in code points, which is what people count as characters in these texts.
[[nodiscard]] size_t characterCount(std::string_view utf8);

} // namespace quorva::samples
