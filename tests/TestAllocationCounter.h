#pragma once

#include <cstdint>

// Counting of heap calls on one thread, for tests of the real-time path. The test program
// replaces the global operator new and delete; on Linux it is also linked so that every call of
// malloc, calloc, realloc and free from the program's and JUCE's code passes through a counting
// wrapper (JUCE's containers and MIDI buffers allocate that way, not through operator new).
namespace zyltest
{
// Counts while it lives: every allocation and every free of a non-null block made on the
// thread that created it. Other threads are never counted. The scopes of one thread must nest.
class ScopedAllocationCounter
{
public:
    ScopedAllocationCounter() noexcept;
    ~ScopedAllocationCounter();

    std::int64_t getAllocations() const noexcept { return allocations; }
    std::int64_t getFrees() const noexcept { return frees; }

    // Whether the C allocation functions are counted too in this build of the test program.
    static bool countsCAllocations() noexcept;

    // Called for each counted allocation: a debugger's breakpoint here shows the caller.
    static void allocationSeen() noexcept;

private:
    friend struct AllocationCounting;
    std::int64_t allocations = 0;
    std::int64_t frees = 0;
    ScopedAllocationCounter* outer;

    ScopedAllocationCounter(const ScopedAllocationCounter&) = delete;
    ScopedAllocationCounter& operator=(const ScopedAllocationCounter&) = delete;
};

// Stops the counting on the calling thread while it lives: for test doubles whose own
// bookkeeping is not the code under test.
class ScopedAllocationPause
{
public:
    ScopedAllocationPause() noexcept;
    ~ScopedAllocationPause();

private:
    ScopedAllocationCounter* paused;

    ScopedAllocationPause(const ScopedAllocationPause&) = delete;
    ScopedAllocationPause& operator=(const ScopedAllocationPause&) = delete;
};
} // namespace zyltest
