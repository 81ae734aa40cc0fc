#pragma once

#include <cstdint>

// The bytes that operator new has handed out in this process and not yet taken back. The bench
// program replaces the global allocation functions to count them, so a benchmark can report
// what a cache holds as the difference of two readings.
std::int64_t benchLiveHeapBytes();
