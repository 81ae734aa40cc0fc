#include "framework/ZylParameterEpoch.h"

#include <atomic>

namespace
{
std::atomic<std::uint32_t> changes { 0 };
} // namespace

std::uint32_t ZylParameterEpoch::current() noexcept
{
    return changes.load(std::memory_order_acquire);
}

void ZylParameterEpoch::advance() noexcept
{
    changes.fetch_add(1, std::memory_order_acq_rel);
}
