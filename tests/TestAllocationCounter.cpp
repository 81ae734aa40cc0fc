#include "tests/TestAllocationCounter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(_WIN32)
#include <malloc.h>
#endif

#ifndef LUMENFOLD_TESTS_WRAP_C_ALLOCATION
#define LUMENFOLD_TESTS_WRAP_C_ALLOCATION 0
#endif

// Under AddressSanitizer every allocation already passes through the sanitizer's allocator,
// which calls hooks of the program's: counting there keeps the sanitizer's own operator new and
// delete, and with them its checks of mismatched allocation and release.
#if defined(__SANITIZE_ADDRESS__)
#define LUMENFOLD_TESTS_COUNT_IN_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMENFOLD_TESTS_COUNT_IN_SANITIZER 1
#endif
#endif
#ifndef LUMENFOLD_TESTS_COUNT_IN_SANITIZER
#define LUMENFOLD_TESTS_COUNT_IN_SANITIZER 0
#endif

#if LUMENFOLD_TESTS_COUNT_IN_SANITIZER
#include <sanitizer/allocator_interface.h>
#endif

#if LUMENFOLD_TESTS_WRAP_C_ALLOCATION
// The linker sends the program's calls of these functions to the __wrap_ ones below, and the
// __real_ names to the C library's (or a sanitizer's) own.
extern "C" void* __real_malloc(std::size_t size);
extern "C" void* __real_calloc(std::size_t count, std::size_t size);
extern "C" void* __real_realloc(void* block, std::size_t size);
extern "C" void __real_free(void* block);
#endif

namespace zyltest
{
namespace
{
// Trivially initialised, so that reading it never allocates, even in a thread's first call.
thread_local ScopedAllocationCounter* current = nullptr;
} // namespace

struct AllocationCounting
{
    static void allocated() noexcept
    {
        if (auto* counter = current)
        {
            ++counter->allocations;
            ScopedAllocationCounter::allocationSeen();
        }
    }

    static void freed(const void* block) noexcept
    {
        if (block != nullptr)
            if (auto* counter = current)
                ++counter->frees;
    }

    static ScopedAllocationCounter* swap(ScopedAllocationCounter* counter) noexcept
    {
        auto* previous = current;
        current = counter;
        return previous;
    }
};

ScopedAllocationCounter::ScopedAllocationCounter() noexcept : outer(AllocationCounting::swap(this)) {}

ScopedAllocationCounter::~ScopedAllocationCounter()
{
    AllocationCounting::swap(outer);
}

bool ScopedAllocationCounter::countsCAllocations() noexcept
{
    return LUMENFOLD_TESTS_WRAP_C_ALLOCATION != 0 || LUMENFOLD_TESTS_COUNT_IN_SANITIZER != 0;
}

#if defined(__GNUC__)
__attribute__((noinline))
#endif
void ScopedAllocationCounter::allocationSeen() noexcept
{
    // Kept as a call of its own, so that the optimiser leaves a place for a breakpoint.
#if defined(__GNUC__)
    asm volatile("");
#endif
}

ScopedAllocationPause::ScopedAllocationPause() noexcept : paused(AllocationCounting::swap(nullptr)) {}

ScopedAllocationPause::~ScopedAllocationPause()
{
    AllocationCounting::swap(paused);
}
} // namespace zyltest

#if LUMENFOLD_TESTS_COUNT_IN_SANITIZER
namespace
{
// The sanitizer calls these for every block it hands out and takes back, on the calling
// thread; a realloc that moves a block shows as a new block and the release of the old one.
void countSanitizerAllocation(const volatile void*, std::size_t) noexcept
{
    zyltest::AllocationCounting::allocated();
}

void countSanitizerFree(const volatile void* block) noexcept
{
    zyltest::AllocationCounting::freed(const_cast<const void*>(block));
}

[[maybe_unused]] const int sanitizerHooks = __sanitizer_install_malloc_and_free_hooks(countSanitizerAllocation, countSanitizerFree);
} // namespace
#else
namespace
{
using zyltest::AllocationCounting;

void* plainAllocate(std::size_t size) noexcept
{
#if LUMENFOLD_TESTS_WRAP_C_ALLOCATION
    return __real_malloc(size);
#else
    return std::malloc(size);
#endif
}

void plainFree(void* block) noexcept
{
#if LUMENFOLD_TESTS_WRAP_C_ALLOCATION
    __real_free(block);
#else
    std::free(block);
#endif
}

void* allocate(std::size_t size) noexcept
{
    AllocationCounting::allocated();
    return plainAllocate(size == 0 ? 1 : size);
}

void* allocateOrThrow(std::size_t size)
{
    if (void* block = allocate(size))
        return block;
    throw std::bad_alloc();
}

void deallocate(void* block) noexcept
{
    AllocationCounting::freed(block);
    plainFree(block);
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) noexcept
{
    AllocationCounting::allocated();
    const auto align = static_cast<std::size_t>(alignment);
    if (size == 0)
        size = 1;
#if defined(_WIN32)
    return _aligned_malloc(size, align);
#else
    void* block = nullptr;
    return posix_memalign(&block, align < sizeof(void*) ? sizeof(void*) : align, size) == 0 ? block : nullptr;
#endif
}

void* allocateAlignedOrThrow(std::size_t size, std::align_val_t alignment)
{
    if (void* block = allocateAligned(size, alignment))
        return block;
    throw std::bad_alloc();
}

void deallocateAligned(void* block) noexcept
{
    AllocationCounting::freed(block);
#if defined(_WIN32)
    _aligned_free(block);
#else
    plainFree(block);
#endif
}
} // namespace

#if LUMENFOLD_TESTS_WRAP_C_ALLOCATION
extern "C" void* __wrap_malloc(std::size_t size)
{
    AllocationCounting::allocated();
    return __real_malloc(size);
}

extern "C" void* __wrap_calloc(std::size_t count, std::size_t size)
{
    AllocationCounting::allocated();
    return __real_calloc(count, size);
}

// A call that moves, grows or shrinks a block counts as an allocation, one that only frees
// (size 0) as a free.
extern "C" void* __wrap_realloc(void* block, std::size_t size)
{
    if (block != nullptr && size == 0)
        AllocationCounting::freed(block);
    else
        AllocationCounting::allocated();
    return __real_realloc(block, size);
}

extern "C" void __wrap_free(void* block)
{
    AllocationCounting::freed(block);
    __real_free(block);
}
#endif

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* block) noexcept { deallocate(block); }
void operator delete[](void* block) noexcept { deallocate(block); }
void operator delete(void* block, std::size_t) noexcept { deallocate(block); }
void operator delete[](void* block, std::size_t) noexcept { deallocate(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { deallocate(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { deallocate(block); }

void* operator new(std::size_t size, std::align_val_t alignment) { return allocateAlignedOrThrow(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return allocateAlignedOrThrow(size, alignment); }
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return allocateAligned(size, alignment);
}
void operator delete(void* block, std::align_val_t) noexcept { deallocateAligned(block); }
void operator delete[](void* block, std::align_val_t) noexcept { deallocateAligned(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { deallocateAligned(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { deallocateAligned(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { deallocateAligned(block); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept { deallocateAligned(block); }
#endif
