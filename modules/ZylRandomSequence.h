#pragma once

#include <cstdint>

// The classic C runtime generator: x = x * 214013 + 2531011 (mod 2^32), giving bits 16 to 30 of
// x, so values 0 to 32767. Seeded with 1 it yields the sequence an unseeded rand() gives on the
// classic runtimes, on every platform and with every compiler, so that the wavetables built
// from it are the same everywhere.
class ZylRandomSequence
{
public:
    static constexpr int kMax = 32767;

    explicit ZylRandomSequence(std::uint32_t seed = 1) noexcept : state(seed) {}

    int next() noexcept
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7fffu);
    }

private:
    std::uint32_t state;
};
