#include "framework/ZylMessage.h"

#include <atomic>
#include <chrono>
#include <cstdint>

namespace
{
std::atomic<int> aliveMessages { 0 };

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

ZylMessage::ZylMessage(void* messageSender, int messageCode, int messageTimeMs) noexcept
    : sender(messageSender), code(messageCode), timeMs(messageTimeMs)
{
    aliveMessages.fetch_add(1, std::memory_order_relaxed);
}

ZylMessage::~ZylMessage()
{
    aliveMessages.fetch_sub(1, std::memory_order_relaxed);
}

int ZylMessage::getNumAlive() noexcept
{
    return aliveMessages.load(std::memory_order_relaxed);
}
