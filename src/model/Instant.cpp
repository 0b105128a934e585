#include "model/Instant.h"

#include <chrono>

namespace quorva {

Instant Instant::now()
{
    using namespace std::chrono;
    const auto since = system_clock::now().time_since_epoch();
    return Instant{duration_cast<duration<double>>(since).count()};
}

} // namespace quorva
