#include "space/ZylIntCounter.h"

#include <juce_core/juce_core.h>

namespace
{
constexpr std::uint64_t kMultiplier = 25214903917ull;
constexpr std::uint64_t kIncrement = 11ull;
constexpr std::uint64_t kStateMask = (std::uint64_t(1) << 48) - 1;
constexpr int kOutputShift = 16;
} // namespace

ZylIntCounter::ZylIntCounter(std::int32_t minimum, std::int32_t maximum)
    : max(maximum),
      min(minimum),
      randomState(static_cast<std::uint64_t>(juce::Time::currentTimeMillis()))
{
    jassert(min > std::numeric_limits<std::int32_t>::min() && min <= max);
    reset();
}

void ZylIntCounter::set(std::int32_t newValue, std::int32_t newNext)
{
    if (newValue == value && newNext == next)
        return;
    value = newValue;
    next = newNext;
    touch();
}

void ZylIntCounter::reset()
{
    set(min - 1, min);
}

void ZylIntCounter::stepCycle()
{
    set(value >= max ? min : value + 1, next >= max ? min : next + 1);
}

void ZylIntCounter::stepRandom()
{
    const std::int32_t newValue = (value == min - 1) ? draw() : next;
    set(newValue, draw());
}

std::int32_t ZylIntCounter::draw()
{
    randomState = (randomState * kMultiplier + kIncrement) & kStateMask;
    if (max <= 0)
        return 0;
    const auto high = static_cast<std::uint32_t>(randomState >> kOutputShift);
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(high) * static_cast<std::uint64_t>(max)) >> 32);
}
