#include "space/ZylCellHashSet.h"

#include <algorithm>

std::size_t ZylCellHashSet::home(const ZylCell* cell) const
{
    // Fibonacci hashing: the top bits of the product spread the (aligned) addresses evenly.
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(cell));
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> shift);
}

std::size_t ZylCellHashSet::find(const ZylCell* cell) const
{
    const std::size_t mask = slots.size() - 1;
    std::size_t i = home(cell);
    while (slots[i] != nullptr && slots[i] != cell)
        i = (i + 1) & mask;
    return i;
}

bool ZylCellHashSet::contains(const ZylCell* cell) const
{
    if (cell == nullptr || count == 0)
        return false;
    return slots[find(cell)] == cell;
}

bool ZylCellHashSet::insert(const ZylCell* cell)
{
    if (cell == nullptr)
        return false;
    // Keep the load at or below one half so that probe runs stay short.
    if ((count + 1) * 2 > slots.size())
        grow();
    const std::size_t i = find(cell);
    if (slots[i] == cell)
        return false;
    slots[i] = cell;
    ++count;
    return true;
}

bool ZylCellHashSet::erase(const ZylCell* cell)
{
    if (cell == nullptr || count == 0)
        return false;
    const std::size_t mask = slots.size() - 1;
    std::size_t hole = find(cell);
    if (slots[hole] != cell)
        return false;
    // Move back every later entry of the run whose home lies at or before the hole (cyclically),
    // so that no lookup meets an empty slot before reaching its entry.
    for (std::size_t j = (hole + 1) & mask; slots[j] != nullptr; j = (j + 1) & mask)
    {
        const std::size_t h = home(slots[j]);
        const bool homeInGap = (hole <= j) ? (hole < h && h <= j) : (hole < h || h <= j);
        if (!homeInGap)
        {
            slots[hole] = slots[j];
            hole = j;
        }
    }
    slots[hole] = nullptr;
    --count;
    return true;
}

void ZylCellHashSet::clear()
{
    if (count != 0)
        std::fill(slots.begin(), slots.end(), nullptr);
    count = 0;
}

void ZylCellHashSet::reserve(std::size_t cells)
{
    std::size_t capacity = slots.empty() ? kMinCapacity : slots.size();
    while (capacity < cells * 2)
        capacity *= 2;
    if (capacity > slots.size())
        rehash(capacity);
}

void ZylCellHashSet::grow()
{
    rehash(slots.empty() ? kMinCapacity : slots.size() * 2);
}

void ZylCellHashSet::rehash(std::size_t capacity)
{
    std::vector<const ZylCell*> old;
    old.swap(slots);
    slots.assign(capacity, nullptr);
    shift = 64;
    for (std::size_t c = capacity; c > 1; c >>= 1)
        --shift;
    count = 0;
    for (const ZylCell* cell : old)
    {
        if (cell != nullptr)
        {
            slots[find(cell)] = cell;
            ++count;
        }
    }
}
