#pragma once

#include "space/ZylCell.h"
#include "space/ZylCellSet.h"
#include "space/ZylRect.h"

#include <juce_core/juce_core.h>

#include <limits>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class ZylCellFilter;

// One laid-out pitch space: its cells in creation order, their common bounds, an index from MIDI
// note to the cells that carry it, and the chord placement caches.
//
// The space owns its cells; everything else holds plain pointers to them. The cells change only
// when the space is laid out (on the message thread, before anyone plays it), so the cell list
// is read without the lock. The lock guards the cells, the index and the caches, and is taken
// innermost, inside the live-space locks.
class ZylSpace
{
public:
    using CellList = std::vector<std::unique_ptr<ZylCell>>;

    // A row or column count that sets no limit.
    static constexpr int kNoLimit = std::numeric_limits<int>::max();
    static constexpr int kNumNotes = 128;

    ZylSpace();
    virtual ~ZylSpace();

    virtual const CellList& getCells() const;
    // Deletes every cell and, first, everything that points at them: the chord caches and the
    // note index. A space is empty and unindexed afterwards.
    virtual void clearCells();

    // Lays the space out as a note grid. Row r starts at note low + r * yStep and y =
    // r * (tileHeight + 1); column c holds rowStart + c * xStep at x = c * (tileWidth + 1). Rows
    // go on while r < rows and rowStart <= high + yStep, cells in a row while c < columns and the
    // note stays within high + xStep. Every note from 21 to 107 that got no cell gets a hidden
    // filler cell far to the right, so a lookup by any of those notes finds a cell.
    virtual void buildGrid(int low, int high, int xStep, int yStep, int columns, int rows,
                           int tileWidth, int tileHeight);
    // Lays the space out as an 88-key piano from note 21 to 108, one octave 84 units wide.
    virtual void buildPiano();

    virtual const ZylRect& getBounds() const;
    // The union of the bounds of every cell that is not hidden. Takes no lock.
    virtual void updateBounds();

    // The first indexed cell of the note (hidden fillers included), or null.
    virtual ZylCell* getCellForNote(int note) const;
    // Appends the note's cells, in index order, that the filter accepts and out does not hold
    // yet; out is emptied first unless append is set. A null filter accepts every cell.
    virtual void getCellsForNote(int note, std::vector<ZylCell*>& out, bool append,
                                 ZylCellFilter* filter) const;

    // Recursive.
    virtual const juce::CriticalSection& getLock() const;

    // Rebuilds the 128 entries of the note index from the cell list, in cell-list order.
    void updateNoteIndex();

private:
    void addCell(std::unique_ptr<ZylCell> cell);
    void addGridCells(int low, int high, int xStep, int yStep, int columns, int rows,
                      int tileWidth, int tileHeight);
    void addFillerCells();

    // Declared first so that it outlives every member the destructor clears under it.
    juce::CriticalSection lock;

    ZylRect bounds;
    CellList cells;
    // Empty until the first layout, then exactly kNumNotes entries.
    std::vector<std::vector<ZylCell*>> noteIndex;
    // Placed chord shapes by key; the space owns them.
    std::unordered_map<std::string, std::unique_ptr<ZylCellSet>> shapeCache;
    // Ranked shape lists by key; the shapes in them belong to the shape cache.
    std::unordered_map<std::string, std::unique_ptr<std::vector<ZylCellSet*>>> shapeListCache;

    JUCE_DECLARE_NON_COPYABLE(ZylSpace)
};
