#pragma once

#include <cstdint>

// Hands out host automation indexes: the host counter gives 0, 1, 2 ... (parameters the host
// lists), the internal counter -1, -2, -3 ... (parameters hidden from the host). The order in
// which modules take indexes therefore fixes every parameter's host index.
class ZylParameterCounter
{
public:
    ZylParameterCounter(std::int32_t startValue, std::int32_t stepValue) noexcept
        : start(startValue), step(stepValue), next(startValue)
    {
    }

    // The next index; the counter advances by its step.
    std::int32_t takeNext() noexcept
    {
        const auto taken = next;
        next += step;
        return taken;
    }

    std::int32_t getNext() const noexcept { return next; }
    std::int32_t getStart() const noexcept { return start; }
    std::int32_t getStep() const noexcept { return step; }

private:
    std::int32_t start;
    std::int32_t step;
    std::int32_t next;
};
