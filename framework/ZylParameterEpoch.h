#pragma once

#include <cstdint>

// A process-wide count of the changes that can alter what a parameter reads as: a parameter's
// value set, a link parameter moved to another target, a domain's value list cleared or rebuilt,
// a value's data or index changed. Each change is counted after it is made, still under the lock
// that guards it.
//
// Every audio block reads a few parameters, each through locks and virtual calls over objects
// that a block after a quiet stretch finds cold in the caches; that is most of what an idle
// block costs. A module keeps what it read with the count it read it at, and reads again only
// once the count has moved: a change reaches the first block that starts after it is counted,
// as it would reach a block that read the parameter directly a moment later.
// Any thread.
class ZylParameterEpoch
{
public:
    static std::uint32_t current() noexcept;
    static void advance() noexcept;
};

// A module's reading of some parameters, kept with the epoch it was taken at.
class ZylParameterReading
{
public:
    // True on the first call and whenever the epoch moved since the last true: the caller reads
    // its parameters again. The epoch is taken before that read, so a change made during it
    // is read again in the next block.
    bool isDue() noexcept
    {
        const auto now = ZylParameterEpoch::current();
        if (taken && now == epoch)
            return false;
        taken = true;
        epoch = now;
        return true;
    }

private:
    bool taken = false;
    std::uint32_t epoch = 0;
};
