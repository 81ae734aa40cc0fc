#pragma once

#include <cstdint>

// The bytes that operator new has handed out in this process and not yet taken back. The bench
// program replaces the global allocation functions to count them, so a benchmark can report
// what a cache holds as the difference of two readings.
std::int64_t benchLiveHeapBytes();

// The highest value benchLiveHeapBytes has reached since the last benchResetPeakHeapBytes, which
// starts a new measurement at the present live bytes.
std::int64_t benchPeakHeapBytes();
void benchResetPeakHeapBytes();

// How many times operator new has been called in this process; the difference of two readings
// is the number of allocations in between (a real-time path must show 0).
std::int64_t benchAllocationCount();
