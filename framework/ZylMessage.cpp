#include "framework/ZylMessage.h"

#include <chrono>
#include <cstdint>

namespace
{
std::chrono::steady_clock::time_point processStart()
{
    static const auto start = std::chrono::steady_clock::now();
    return start;
}

// Captures the origin at static initialisation rather than at the first message.
[[maybe_unused]] const auto originCaptured = processStart();
} // namespace

int zylCurrentTimeMs()
{
    const auto elapsed = std::chrono::steady_clock::now() - processStart();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    return static_cast<int>(static_cast<std::int64_t>(ms) % (static_cast<std::int64_t>(1) << 31));
}
