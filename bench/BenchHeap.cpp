#include "bench/BenchHeap.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<std::int64_t> liveBytes { 0 };
std::atomic<std::int64_t> allocations { 0 };
std::atomic<std::int64_t> peakBytes { 0 };

void raisePeak(std::int64_t live) noexcept
{
    auto peak = peakBytes.load(std::memory_order_relaxed);
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live, std::memory_order_relaxed))
    {
    }
}

// Each block carries its size in front, padded so that the caller's part keeps the alignment
// that operator new promises.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* allocate(std::size_t size) noexcept
{
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (block == nullptr)
        return nullptr;
    *reinterpret_cast<std::size_t*>(block) = size;
    raisePeak(liveBytes.fetch_add(static_cast<std::int64_t>(size), std::memory_order_relaxed)
              + static_cast<std::int64_t>(size));
    allocations.fetch_add(1, std::memory_order_relaxed);
    return block + kHeader;
}

void deallocate(void* p) noexcept
{
    if (p == nullptr)
        return;
    auto* block = static_cast<unsigned char*>(p) - kHeader;
    liveBytes.fetch_sub(static_cast<std::int64_t>(*reinterpret_cast<std::size_t*>(block)),
                        std::memory_order_relaxed);
    std::free(block);
}

void* allocateOrThrow(std::size_t size)
{
    if (void* p = allocate(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
} // namespace

std::int64_t benchLiveHeapBytes()
{
    return liveBytes.load(std::memory_order_relaxed);
}

std::int64_t benchPeakHeapBytes()
{
    return peakBytes.load(std::memory_order_relaxed);
}

void benchResetPeakHeapBytes()
{
    peakBytes.store(liveBytes.load(std::memory_order_relaxed), std::memory_order_relaxed);
}

std::int64_t benchAllocationCount()
{
    return allocations.load(std::memory_order_relaxed);
}

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size == 0 ? 1 : size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size == 0 ? 1 : size); }
void operator delete(void* p) noexcept { deallocate(p); }
void operator delete[](void* p) noexcept { deallocate(p); }
void operator delete(void* p, std::size_t) noexcept { deallocate(p); }
void operator delete[](void* p, std::size_t) noexcept { deallocate(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { deallocate(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { deallocate(p); }
