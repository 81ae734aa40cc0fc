#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ZylCell;

// Membership index of cell pointers: open addressing with linear probing, no tombstones (a
// removal shifts the following run back). Clearing keeps the table's capacity, so a set that
// is refilled every audio block allocates only while it grows past its largest size so far.
class ZylCellHashSet
{
public:
    bool contains(const ZylCell* cell) const;
    // False when the cell is null or already present.
    bool insert(const ZylCell* cell);
    // False when the cell was not present.
    bool erase(const ZylCell* cell);
    void clear();
    // Makes room for count cells, so that inserting up to that many never grows the table.
    void reserve(std::size_t count);
    std::size_t size() const { return count; }

private:
    std::size_t home(const ZylCell* cell) const;
    std::size_t find(const ZylCell* cell) const; // slot of the cell, or of the empty slot ending its run
    void grow();
    void rehash(std::size_t capacity);

    static constexpr std::size_t kMinCapacity = 32;

    std::vector<const ZylCell*> slots; // empty or a power of two in size
    std::size_t count = 0;
    unsigned shift = 64; // 64 - log2(capacity)
};
