#pragma once

#include "space/ZylTimeStamp.h"

#include <cstdint>
#include <limits>

// Walks through indexes min..max, either in order or at random, and previews the index that the
// following step will give. value = min - 1 means that nothing was picked since the last reset.
// Each step touches the stamp once when value or next changed.
class ZylIntCounter : public ZylTimeStamp
{
public:
    // The random state starts at the process clock in milliseconds; min must be above the
    // lowest int so that min - 1 exists. Ends with a reset.
    explicit ZylIntCounter(std::int32_t min = 0,
                           std::int32_t max = std::numeric_limits<std::int32_t>::max());

    void reset();
    void stepCycle();
    void stepRandom();

    std::int32_t getValue() const { return value; }
    std::int32_t getNext() const { return next; }
    std::int32_t getMin() const { return min; }
    std::int32_t getMax() const { return max; }

    // The generator's state, so that tests and benchmarks can repeat a sequence. Only the low
    // 48 bits take part in the generator.
    std::uint64_t getRandomState() const { return randomState; }
    void setRandomState(std::uint64_t state) { randomState = state; }

private:
    // 48-bit linear congruential step; the result lies in 0..max - 1 (0 when max <= 0).
    std::int32_t draw();
    void set(std::int32_t newValue, std::int32_t newNext);

    // Both start at 0 so that the constructor's reset always changes one of them and so touches
    // the stamp: a new counter reads as changed until acknowledged.
    std::int32_t value = 0;
    std::int32_t next = 0;
    std::int32_t max;
    std::int32_t min;
    std::uint64_t randomState;
};
