#pragma once

#include "space/ZylCell.h"
#include "space/ZylCellSet.h"
#include "space/ZylRect.h"

#include <juce_core/juce_core.h>

#include <cstddef>
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
    //
    // Placed shapes and ranked lists are cached under keys built from the filter, the chord list,
    // the root and the intervals or score mode. Both caches of a space share one memory budget
    // (kDefaultCacheLimit unless setCacheLimit says otherwise): an entry that would take the
    // caches past it first evicts the least recently used entries, so a request does at most as
    // much freeing as the rankings that filled the room did allocating, and the memory held stays
    // under the budget however many distinct rankings are asked for (an entry larger than the
    // whole budget is kept alone, as the newest is never evicted).
    //
    // What the chord operations hand out (shapes, the entries of a ranked list) belongs to the
    // caches: it stays valid until it is evicted, the caches are flushed or the space is laid out
    // again. The entry used last is evicted last, so a result stays valid across the calls that
    // follow it as long as the budget holds them; a caller that keeps a result for longer copies
    // what it needs.
    //
    // The filter and the enumerator are called back while an operation runs and must not call
    // the chord operations, flushCaches, setCacheLimit or clearCells of this space again, nor
    // lay it out: those share the operation's scratch and entries. A debug build asserts; a
    // release build refuses the inner call (it gives no cells and no shapes and changes nothing).

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
    // enumerator, root and mode. Each entry of a list is a shape of its own that carries the
    // chord and the score it was ranked with, and nothing changes them afterwards: another
    // ranking of the same chords never shows through a list kept from an earlier call. A null
    // root gives an empty list and caches nothing.
    virtual void findChordShapes(const ZylCell* root, std::vector<ZylCellSet*>& out, int scoreMode,
                                 bool bestOnly, ZylCellFilter* filter, ZylChordEnumerator* enumerator);

    // The default memory budget of a space's chord caches. A list of all 39 chords takes about
    // 7 KiB, so every root of "Longuet-Higgins [4:7]" under one key, scale, assist and chord
    // group takes about 1.1 MiB and fits whole; a space never grows past the budget, which
    // matters most to a 32-bit process.
    static constexpr std::size_t kDefaultCacheLimit = 4u * 1024u * 1024u;
    // Sets the budget in bytes and evicts down to it at once.
    void setCacheLimit(std::size_t bytes);
    std::size_t getCacheLimit() const;
    // What the caches hold now, in bytes: the entries with their keys and heap blocks (counted
    // with the allocator's overhead) and the tables' bucket arrays. A close upper estimate,
    // kept as entries come and go.
    std::size_t getCacheBytes() const;
    // Empties both caches and keeps the cells; every shape and list handed out is gone.
    void flushCaches();

    // Append the cache keys. A present filter adds "f", its key's length in decimal, ":" and the
    // key, so that a filter whose key happens to be empty never shares the entries placed
    // without a filter; a present enumerator adds "e", its key's length, ":" and the key. Then
    // "R", the root's id, and "I" with two upper-case hex digits per interval (taken modulo 256)
    // for a shape, or "M" with the score mode in at least two upper-case hex digits for a list.
    static void makeShapeKey(std::string& key, const std::vector<std::int32_t>& intervals,
                             const ZylCell* root, ZylCellFilter* filter);
    static void makeShapeListKey(std::string& key, const ZylCell* root, int scoreMode,
                                 ZylCellFilter* filter, ZylChordEnumerator* enumerator);

    // Recursive.
    virtual const juce::CriticalSection& getLock() const;

    // Rebuilds the 128 entries of the note index from the cell list, in cell-list order.
    void updateNoteIndex();
    // Moves on whenever the cells or the note index are rebuilt or cleared: a reader that kept
    // what it looked up in the index knows when to look again.
    std::uint32_t getNoteIndexVersion() const noexcept { return noteIndexVersion; }

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
    std::uint32_t noteIndexVersion = 0;

    // Every cache entry is linked into one list from the least to the most recently used, which
    // decides what is evicted; the link knows its size and how to find its entry again.
    struct CacheLink
    {
        CacheLink* older = nullptr;
        CacheLink* newer = nullptr;
        std::size_t bytes = 0;
        const std::string* key = nullptr; // the entry's key in its table
        bool isList = false;
    };
    // A placed shape.
    struct ShapeEntry
    {
        CacheLink link;
        ZylCellSet shape;
    };
    // The entries of a ranked list: each a shape of its own, placed for this list, with the
    // chord and score of this list, so that the list depends on no other entry and its scores
    // on no other list. Lists that rank to the very same entries (the assists that rank by rank
    // over one chord group, say) share one of these.
    struct RankedShapes
    {
        std::vector<ZylCellSet> shapes;
        std::uint64_t hash = 0;
        std::size_t users = 0; // the lists that hold it
        std::size_t bytes = 0;
    };
    // A ranked list.
    struct ListEntry
    {
        CacheLink link;
        RankedShapes* ranked = nullptr;
    };
    // One chord of a ranking being built: its cells lie in rankedCells from firstCell on.
    struct RankedShape
    {
        std::size_t firstCell;
        std::size_t numCells;
        double average;
        ZylChordValue* chord;
        double score;
    };

    // The operations themselves; the public ones add the lock and the re-entry guard.
    void placeChordUnguarded(const std::vector<std::int32_t>& intervals, const ZylCell* root,
                             std::vector<ZylCell*>& out, double& average, ZylCellFilter* filter);
    ZylCellSet* getChordShapeUnguarded(const std::vector<std::int32_t>& intervals,
                                       const ZylCell* root, ZylCellFilter* filter);
    void rankChords(const ZylCell* root, int scoreMode, ZylCellFilter* filter,
                    ZylChordEnumerator* enumerator);
    // True when no chord operation of this space is running on this thread (a release build
    // refuses the call otherwise); asserts in a debug build.
    bool mayEnter() const;

    void linkNewest(CacheLink& link);
    void unlink(CacheLink& link);
    void useNow(CacheLink& link);
    // Evicts the least recently used entries, never the newest one, until the caches fit.
    void evictToLimit();
    void evictOldest();
    // The stored entries equal to the ranking just built, stored now when there are none.
    RankedShapes* shareRanking();
    void releaseRanking(RankedShapes* ranked);
    std::size_t bucketBytes() const;

    // Placed chord shapes by key; the space owns them.
    std::unordered_map<std::string, ShapeEntry> shapeCache;
    // Ranked shape lists by key, and the entries they hold by a hash of their content.
    std::unordered_map<std::string, ListEntry> shapeListCache;
    std::unordered_multimap<std::uint64_t, std::unique_ptr<RankedShapes>> rankedShapes;
    CacheLink* oldest = nullptr;
    CacheLink* newest = nullptr;
    std::size_t entryBytes = 0; // the entries' share of getCacheBytes
    std::size_t cacheLimit = kDefaultCacheLimit;
    // Set while a chord operation runs, so that a callback re-entering one is caught.
    bool busy = false;

    // Scratch reused under the lock, so that a request answered from the caches allocates
    // nothing once these have grown.
    std::string shapeKey;
    std::string listKey;
    std::vector<ZylCell*> candidates;
    std::vector<ZylCell*> placed;
    std::vector<RankedShape> ranking;
    std::vector<ZylCell*> rankedCells;

    JUCE_DECLARE_NON_COPYABLE(ZylSpace)
};
