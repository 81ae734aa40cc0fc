#pragma once

#include "space/ZylCell.h"
#include "space/ZylCellSet.h"
#include "space/ZylRect.h"

#include <juce_core/juce_core.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class ZylCellFilter;
class ZylChordEnumerator;
class ZylChordValue;

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

    // Chord placement and ranking. Intervals are semitones above the root cell's note, in chord
    // order. Every operation takes the space's lock for its whole run.

    // Score modes of findChordShapes.
    static constexpr int kScoreByRank = 0;
    static constexpr int kScoreByDistance = 1;
    // Added per missing note to a chord's average distance, so that with kScoreByDistance a
    // chord of fewer notes ranks behind every chord of more (chords have up to four notes).
    static constexpr double kMissingCellPenalty = 10000.0;
    static constexpr int kFullChordSize = 4;

    // The cell of the list whose centre lies nearest to the from-cell's, the earliest one on a
    // tie; null for an empty list. distance is set only when a cell was found (0 otherwise) and
    // is 0 for a null cell, a null from-cell or the from-cell itself.
    static ZylCell* findNearestCell(const std::vector<ZylCell*>& cells, const ZylCell* from,
                                    double& distance);
    // Puts each interval on the accepted cell of its note nearest to the root (always measured
    // from the root), skipping an interval without such a cell or whose cell is already taken.
    // average is the mean root distance of the placed cells, 0 when none was placed.
    void placeChord(const std::vector<std::int32_t>& intervals, const ZylCell* root,
                    std::vector<ZylCell*>& out, double& average, ZylCellFilter* filter);
    // The placed shape of the chord on the root, from the cache or placed now; null for a null
    // root or when any interval found no cell of its own. Only whole shapes are cached (the
    // space owns them); a shape that fails is placed again on every call.
    ZylCellSet* getChordShape(const std::vector<std::int32_t>& intervals, const ZylCell* root,
                              ZylCellFilter* filter);
    // The cells of getChordShape in interval order, or none when the chord does not fit whole.
    virtual void getChordCells(const std::vector<std::int32_t>& intervals, const ZylCell* root,
                               std::vector<ZylCell*>& out, ZylCellFilter* filter);
    // Ranks the enumerator's chords that fit whole on the root by ascending score (average
    // distance plus the missing-cell penalty with kScoreByDistance, the chord's rank with any
    // other mode; equal scores keep the enumeration order) and gives the whole list, or with
    // bestOnly its leading run of shapes that tie with the best. Lists are cached per filter,
    // enumerator, root and mode. The shapes handed out carry the chord and score of this
    // ranking. A null root gives an empty list and caches nothing.
    virtual void findChordShapes(const ZylCell* root, std::vector<ZylCellSet*>& out, int scoreMode,
                                 bool bestOnly, ZylCellFilter* filter, ZylChordEnumerator* enumerator);

    // Append the cache keys: the filter key, "R", the root's id, "I" and two upper-case hex
    // digits per interval (taken modulo 256); and the filter key, the enumerator key, "R", the
    // root's id, "M" and the score mode in at least two upper-case hex digits.
    static void makeShapeKey(std::string& key, const std::vector<std::int32_t>& intervals,
                             const ZylCell* root, ZylCellFilter* filter);
    static void makeShapeListKey(std::string& key, const ZylCell* root, int scoreMode,
                                 ZylCellFilter* filter, ZylChordEnumerator* enumerator);

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
    // One entry of a ranked list. Shapes are shared by every list that ranks their chord, under
    // any mode or enumerator, so each entry keeps the chord and the score its own list was
    // sorted by; a score kept on the shared shape would be overwritten by the next list built.
    struct RankedShape
    {
        ZylCellSet* shape;
        ZylChordValue* chord;
        double score;
    };
    using RankedList = std::vector<RankedShape>;

    void rankChords(RankedList& list, const ZylCell* root, int scoreMode, ZylCellFilter* filter,
                    ZylChordEnumerator* enumerator);

    // Ranked shape lists by key; the shapes in them belong to the shape cache.
    std::unordered_map<std::string, RankedList> shapeListCache;
    // Scratch reused under the lock, so that a request answered from the caches allocates
    // nothing once these have grown.
    std::string shapeKey;
    std::string listKey;
    std::vector<ZylCell*> candidates;
    std::vector<ZylCell*> placed;

    JUCE_DECLARE_NON_COPYABLE(ZylSpace)
};
