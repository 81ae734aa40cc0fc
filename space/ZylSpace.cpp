#include "space/ZylSpace.h"

#include "framework/ZylDebug.h"
#include "space/ZylCellFilter.h"
#include "space/ZylChordDomain.h"
#include "space/ZylChordEnumerator.h"
#include "space/ZylRectangleTile.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <tuple>
#include <utility>

namespace
{
// Filler cells for the notes a grid does not show.
constexpr int kFirstFillerNote = 21;
constexpr int kEndFillerNote = 108; // exclusive
constexpr double kFillerStartX = 680.0;
constexpr double kFillerStepX = 30.0;
constexpr double kFillerY = 700.0;
constexpr double kFillerSize = 28.0;

// Piano keyboard: notes 21 to 108, one octave of 84 units, note 21 at x = 0.
constexpr int kFirstPianoNote = 21;
constexpr int kLastPianoNote = 108;
constexpr int kOctaveWidth = 84;
constexpr int kOctaveOrigin = 144; // octave 1 starts at -60, so note 21 (x 60 in its octave) is at 0
constexpr double kPianoTop = 0.0;
constexpr double kPianoBottom = 54.0;
constexpr double kWideBottom = 20.0;  // the wide part of a white key, nearest the player
constexpr double kNarrowTop = 21.0;   // the narrow part of a white key, between the black keys
constexpr double kBlackTop = 24.0;

struct KeyShape
{
    bool black;
    double narrowX1, narrowX2; // the black key's whole tile for a black key
    double wideX1, wideX2;
};

constexpr std::array<KeyShape, 12> kKeyShapes { {
    { false, 0, 5, 0, 10 },
    { true, 7, 13, 0, 0 },
    { false, 15, 19, 12, 22 },
    { true, 21, 27, 0, 0 },
    { false, 29, 34, 24, 34 },
    { false, 36, 41, 36, 46 },
    { true, 43, 49, 0, 0 },
    { false, 51, 54, 48, 58 },
    { true, 56, 62, 0, 0 },
    { false, 64, 67, 60, 70 },
    { true, 69, 75, 0, 0 },
    { false, 77, 82, 72, 82 },
} };
} // namespace

ZylSpace::ZylSpace()
{
    updateBounds();
}

ZylSpace::~ZylSpace()
{
    const juce::ScopedLock sl(lock);
    clearCells();
}

const ZylSpace::CellList& ZylSpace::getCells() const
{
    return cells;
}

void ZylSpace::clearCells()
{
    const juce::ScopedLock sl(lock);
    if (!mayEnter())
        return;
    // Both caches point at cells: the caches, then the index, then the cells themselves.
    flushCaches();
    noteIndex.clear();
    cells.clear();
    ++noteIndexVersion;
}

void ZylSpace::addCell(std::unique_ptr<ZylCell> cell)
{
    cell->setSpace(this);
    cells.push_back(std::move(cell));
}

void ZylSpace::buildGrid(int low, int high, int xStep, int yStep, int columns, int rows,
                         int tileWidth, int tileHeight)
{
    const juce::ScopedLock sl(lock);
    if (!mayEnter())
        return;
    clearCells();
    addGridCells(low, high, xStep, yStep, columns, rows, tileWidth, tileHeight);
    addFillerCells();
    updateBounds();
    updateNoteIndex();
}

void ZylSpace::addGridCells(int low, int high, int xStep, int yStep, int columns, int rows,
                            int tileWidth, int tileHeight)
{
    // Without a count limit only a rising note ends a row or the grid; a step of zero or less
    // would lay cells until memory runs out, so such a grid gets no cells of its own.
    if ((xStep <= 0 && columns == kNoLimit) || (yStep <= 0 && rows == kNoLimit))
    {
        zylDebugLine("ZylSpace::buildGrid: unbounded grid with step " + juce::String(xStep) + ":"
                     + juce::String(yStep) + " laid out without cells");
        return;
    }

    // 64-bit sums: high + step must not wrap for extreme arguments.
    const std::int64_t rowLimit = std::int64_t(high) + yStep;
    const std::int64_t noteLimit = std::int64_t(high) + xStep;
    const double cellPitchX = double(tileWidth) + 1.0;
    const double cellPitchY = double(tileHeight) + 1.0;

    for (std::int64_t r = 0; r < rows; ++r)
    {
        const std::int64_t rowStart = low + r * yStep;
        if (rowStart > rowLimit)
            break;
        if (rowStart > noteLimit)
            continue;
        const double y = double(r) * cellPitchY;
        for (std::int64_t c = 0; c < columns; ++c)
        {
            const std::int64_t note = rowStart + c * xStep;
            const double x = double(c) * cellPitchX;
            addCell(std::make_unique<ZylCell>(
                std::make_unique<ZylRectangleTile>(x, y, x + tileWidth - 1, y + tileHeight - 1),
                static_cast<int>(note)));
            if (note + xStep > noteLimit)
                break;
        }
    }
}

void ZylSpace::addFillerCells()
{
    const juce::ScopedLock sl(lock);
    std::array<bool, kNumNotes> present {};
    for (const auto& cell : cells)
    {
        const int n = cell->getNote();
        if (n >= 0 && n < kNumNotes)
            present[(size_t) n] = true;
    }

    double fx = kFillerStartX;
    for (int n = kFirstFillerNote; n < kEndFillerNote; ++n)
    {
        if (present[(size_t) n])
            continue;
        auto filler = std::make_unique<ZylCell>(
            std::make_unique<ZylRectangleTile>(fx, kFillerY, fx + kFillerSize, kFillerY + kFillerSize), n);
        filler->setHidden(true);
        addCell(std::move(filler));
        fx -= kFillerStepX;
    }
}

void ZylSpace::buildPiano()
{
    const juce::ScopedLock sl(lock);
    if (!mayEnter())
        return;
    clearCells();

    for (int n = kFirstPianoNote; n <= kLastPianoNote; ++n)
    {
        const double b = double((n / 12) * kOctaveWidth - kOctaveOrigin);
        const KeyShape& k = kKeyShapes[(size_t) (n % 12)];
        ZylCell::TileList tiles;
        if (n == kFirstPianoNote)
        {
            // No black key lies to the left of the lowest key: its narrow part starts at the
            // wide part's left edge.
            tiles.push_back(std::make_unique<ZylRectangleTile>(k.wideX1 + b, kNarrowTop, k.narrowX2 + b, kPianoBottom));
            tiles.push_back(std::make_unique<ZylRectangleTile>(k.wideX1 + b, kPianoTop, k.wideX2 + b, kWideBottom));
        }
        else if (n == kLastPianoNote)
        {
            // Nothing lies to the right of the highest key: one tile of full width and length.
            tiles.push_back(std::make_unique<ZylRectangleTile>(k.wideX1 + b, kPianoTop, k.wideX2 + b, kPianoBottom));
        }
        else if (k.black)
        {
            tiles.push_back(std::make_unique<ZylRectangleTile>(k.narrowX1 + b, kBlackTop, k.narrowX2 + b, kPianoBottom));
        }
        else
        {
            tiles.push_back(std::make_unique<ZylRectangleTile>(k.narrowX1 + b, kNarrowTop, k.narrowX2 + b, kPianoBottom));
            tiles.push_back(std::make_unique<ZylRectangleTile>(k.wideX1 + b, kPianoTop, k.wideX2 + b, kWideBottom));
        }
        addCell(std::make_unique<ZylCell>(std::move(tiles), n));
    }

    updateBounds();
    updateNoteIndex();
}

const ZylRect& ZylSpace::getBounds() const
{
    return bounds;
}

void ZylSpace::updateBounds()
{
    ZylRect box = ZylRect::emptyBox();
    for (const auto& cell : cells)
        if (!cell->isHidden())
            box.takeIn(cell->getBounds());
    bounds = box;
}

void ZylSpace::updateNoteIndex()
{
    const juce::ScopedLock sl(lock);
    ++noteIndexVersion;
    noteIndex.resize(kNumNotes);
    for (auto& entry : noteIndex)
        entry.clear();
    for (const auto& cell : cells)
    {
        const int n = cell->getNote();
        if (n >= 0 && n < kNumNotes)
            noteIndex[(size_t) n].push_back(cell.get());
    }
}

ZylCell* ZylSpace::getCellForNote(int note) const
{
    if (note < 0 || note >= kNumNotes || noteIndex.size() != kNumNotes)
        return nullptr;
    const auto& entry = noteIndex[(size_t) note];
    return entry.empty() ? nullptr : entry.front();
}

void ZylSpace::getCellsForNote(int note, std::vector<ZylCell*>& out, bool append,
                               ZylCellFilter* filter) const
{
    if (!append)
        out.clear();
    if (note < 0 || note >= kNumNotes || noteIndex.size() != kNumNotes)
        return;

    // Only a cell carrying this note can already be in out as one of the note's cells; when out
    // holds none (always so when gathering several notes, each once) no cell needs a search.
    bool outHasNote = false;
    for (const ZylCell* c : out)
        if (c != nullptr && c->getNote() == note)
        {
            outHasNote = true;
            break;
        }

    for (ZylCell* cell : noteIndex[(size_t) note])
    {
        if (filter != nullptr && filter->rejects(cell, this))
            continue;
        if (outHasNote && std::find(out.begin(), out.end(), cell) != out.end())
            continue;
        out.push_back(cell);
    }
}

const juce::CriticalSection& ZylSpace::getLock() const
{
    return lock;
}

namespace
{
constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendHexByte(std::string& key, unsigned value)
{
    key += kHexDigits[(value >> 4) & 0xFu];
    key += kHexDigits[value & 0xFu];
}

// printf's "%02X": at least two digits, more when the value needs them.
void appendHex(std::string& key, std::uint32_t value)
{
    char digits[8];
    int n = 0;
    do
    {
        digits[n++] = kHexDigits[value & 0xFu];
        value >>= 4;
    } while (value != 0);
    if (n < 2)
        digits[n++] = '0';
    while (n > 0)
        key += digits[--n];
}

// A caller's key text with its kind and length in front: a present part never reads like an
// absent one (an empty filter key is not "no filter"), and two parts never run into each other.
void appendKeyPart(std::string& key, char kind, const std::string& part)
{
    key += kind;
    char digits[24];
    int n = 0;
    std::size_t length = part.size();
    do
    {
        digits[n++] = char('0' + length % 10);
        length /= 10;
    } while (length != 0);
    while (n > 0)
        key += digits[--n];
    key += ':';
    key += part;
}

// Sizes of what the caches hold, as the heap sees them: each block rounded up to the allocator's
// granule plus its bookkeeping. Both are two pointers with the common allocators.
constexpr std::size_t kHeapGranule = 2 * sizeof(void*);

std::size_t heapBlockBytes(std::size_t requested)
{
    if (requested == 0)
        return 0;
    return (requested + kHeapGranule - 1) / kHeapGranule * kHeapGranule + kHeapGranule;
}

// A string's own block; short strings live inside the object (15 characters with the common
// libraries, so counting every longer one is never too little).
std::size_t stringBytes(const std::string& text)
{
    return text.capacity() <= 15 ? 0 : heapBlockBytes(text.capacity() + 1);
}

// A hash table node: the key-value pair, the link to the next node and the cached hash.
template <class Map>
std::size_t nodeBytes(const typename Map::value_type& node)
{
    return heapBlockBytes(sizeof(node) + sizeof(void*) + sizeof(std::size_t)) + stringBytes(node.first);
}

// A cell set's heap blocks: its list, and past 16 cells its membership index (at most four
// slots per cell, at least 32).
std::size_t cellSetHeapBytes(const ZylCellSet& set)
{
    const auto& list = set.getCells();
    std::size_t bytes = heapBlockBytes(list.capacity() * sizeof(ZylCell*));
    if (list.size() > 16)
        bytes += heapBlockBytes(std::max<std::size_t>(32, 4 * list.size()) * sizeof(ZylCell*));
    return bytes;
}

// Marks a chord operation as running for its scope.
struct BusyScope
{
    explicit BusyScope(bool& f) : flag(f) { flag = true; }
    ~BusyScope() { flag = false; }
    bool& flag;
};

// True when every interval lands on a MIDI note. An interval beyond that can never be placed,
// and it must not reach the cache: two digits per interval would let it share a key with the
// interval 256 semitones away.
bool allNotesInRange(const std::vector<std::int32_t>& intervals, int rootNote)
{
    for (const std::int32_t interval : intervals)
    {
        const std::int64_t note = std::int64_t(rootNote) + interval;
        if (note < 0 || note >= ZylSpace::kNumNotes)
            return false;
    }
    return true;
}
} // namespace

void ZylSpace::makeShapeKey(std::string& key, const std::vector<std::int32_t>& intervals,
                            const ZylCell* root, ZylCellFilter* filter)
{
    if (filter != nullptr)
        appendKeyPart(key, 'f', filter->getFilterKey());
    key += 'R';
    key += root->getId();
    key += 'I';
    for (const std::int32_t interval : intervals)
        appendHexByte(key, static_cast<std::uint32_t>(interval) & 0xFFu);
}

void ZylSpace::makeShapeListKey(std::string& key, const ZylCell* root, int scoreMode,
                                ZylCellFilter* filter, ZylChordEnumerator* enumerator)
{
    if (filter != nullptr)
        appendKeyPart(key, 'f', filter->getFilterKey());
    if (enumerator != nullptr)
        appendKeyPart(key, 'e', enumerator->getEnumeratorKey());
    key += 'R';
    key += root->getId();
    key += 'M';
    appendHex(key, static_cast<std::uint32_t>(scoreMode));
}

ZylCell* ZylSpace::findNearestCell(const std::vector<ZylCell*>& cells, const ZylCell* from,
                                   double& distance)
{
    distance = 0.0;
    ZylCell* best = nullptr;
    double bestDistance = std::numeric_limits<double>::max();
    for (ZylCell* cell : cells)
    {
        const double d = (from == nullptr || cell == nullptr || cell == from) ? 0.0 : cell->distanceTo(*from);
        if (d < bestDistance)
        {
            best = cell;
            bestDistance = d;
        }
    }
    if (best != nullptr)
        distance = bestDistance;
    return best;
}

bool ZylSpace::mayEnter() const
{
    // A callback of a running operation is calling back into this space.
    jassert(!busy);
    return !busy;
}

void ZylSpace::placeChord(const std::vector<std::int32_t>& intervals, const ZylCell* root,
                          std::vector<ZylCell*>& out, double& average, ZylCellFilter* filter)
{
    const juce::ScopedLock sl(lock);
    if (!mayEnter())
    {
        out.clear();
        average = 0.0;
        return;
    }
    const BusyScope running(busy);
    placeChordUnguarded(intervals, root, out, average, filter);
}

void ZylSpace::placeChordUnguarded(const std::vector<std::int32_t>& intervals, const ZylCell* root,
                                   std::vector<ZylCell*>& out, double& average, ZylCellFilter* filter)
{
    out.clear();
    average = 0.0;
    if (root == nullptr)
        return;

    const int rootNote = root->getNote();
    double sum = 0.0;
    for (const std::int32_t interval : intervals)
    {
        const std::int64_t note = std::int64_t(rootNote) + interval;
        if (note < 0 || note >= kNumNotes)
            continue;
        getCellsForNote(static_cast<int>(note), candidates, false, filter);
        double distance = 0.0;
        ZylCell* nearest = findNearestCell(candidates, root, distance);
        if (nearest == nullptr || std::find(out.begin(), out.end(), nearest) != out.end())
            continue;
        out.push_back(nearest);
        sum += distance;
    }
    if (!out.empty())
        average = sum / double(out.size());
}

ZylCellSet* ZylSpace::getChordShape(const std::vector<std::int32_t>& intervals, const ZylCell* root,
                                    ZylCellFilter* filter)
{
    const juce::ScopedLock sl(lock);
    if (!mayEnter())
        return nullptr;
    const BusyScope running(busy);
    return getChordShapeUnguarded(intervals, root, filter);
}

ZylCellSet* ZylSpace::getChordShapeUnguarded(const std::vector<std::int32_t>& intervals,
                                             const ZylCell* root, ZylCellFilter* filter)
{
    if (root == nullptr || !allNotesInRange(intervals, root->getNote()))
        return nullptr;

    shapeKey.clear();
    makeShapeKey(shapeKey, intervals, root, filter);
    const auto found = shapeCache.find(shapeKey);
    if (found != shapeCache.end())
    {
        useNow(found->second.link);
        return &found->second.shape;
    }

    double average = 0.0;
    placeChordUnguarded(intervals, root, placed, average, filter);
    if (placed.size() != intervals.size())
        return nullptr;

    const auto inserted = shapeCache.emplace(std::piecewise_construct, std::forward_as_tuple(shapeKey),
                                             std::forward_as_tuple()).first;
    ShapeEntry& entry = inserted->second;
    for (ZylCell* cell : placed)
        entry.shape.add(cell);
    entry.shape.setAverageDistance(average);
    entry.link.key = &inserted->first;
    entry.link.isList = false;
    entry.link.bytes = nodeBytes<decltype(shapeCache)>(*inserted) + cellSetHeapBytes(entry.shape);
    entryBytes += entry.link.bytes;
    linkNewest(entry.link);
    evictToLimit();
    return &entry.shape;
}

void ZylSpace::getChordCells(const std::vector<std::int32_t>& intervals, const ZylCell* root,
                             std::vector<ZylCell*>& out, ZylCellFilter* filter)
{
    const juce::ScopedLock sl(lock);
    out.clear();
    if (!mayEnter())
        return;
    const BusyScope running(busy);
    if (const ZylCellSet* shape = getChordShapeUnguarded(intervals, root, filter))
        out.insert(out.end(), shape->getCells().begin(), shape->getCells().end());
}

void ZylSpace::rankChords(const ZylCell* root, int scoreMode, ZylCellFilter* filter,
                          ZylChordEnumerator* enumerator)
{
    // Each chord is placed as getChordShape would place it, but straight into the list: the
    // list keeps its own copy of every shape, so caching the shapes as well would only spend
    // the budget twice.
    ranking.clear();
    rankedCells.clear();
    const int numChords = enumerator != nullptr ? enumerator->getNumChords() : 0;
    for (int i = 0; i < numChords; ++i)
    {
        ZylChordValue* chord = enumerator->getChord(i);
        if (chord == nullptr || !allNotesInRange(chord->intervals, root->getNote()))
            continue;
        double average = 0.0;
        placeChordUnguarded(chord->intervals, root, placed, average, filter);
        if (placed.size() != chord->intervals.size())
            continue;
        const double score = scoreMode == kScoreByDistance
            ? average + double(kFullChordSize - int(placed.size())) * kMissingCellPenalty
            : double(chord->rank);
        ranking.push_back({ rankedCells.size(), placed.size(), average, chord, score });
        rankedCells.insert(rankedCells.end(), placed.begin(), placed.end());
    }
    // Equal scores are common (chords of one size often tie on distance) and must keep the
    // enumeration order whatever the list's length.
    std::stable_sort(ranking.begin(), ranking.end(),
                     [](const RankedShape& a, const RankedShape& b) { return a.score < b.score; });

    RankedShapes* ranked = shareRanking();
    const auto inserted = shapeListCache.emplace(std::piecewise_construct, std::forward_as_tuple(listKey),
                                                 std::forward_as_tuple()).first;
    ListEntry& entry = inserted->second;
    entry.ranked = ranked;
    entry.link.key = &inserted->first;
    entry.link.isList = true;
    entry.link.bytes = nodeBytes<decltype(shapeListCache)>(*inserted);
    entryBytes += entry.link.bytes;
    linkNewest(entry.link);
    evictToLimit();
}

ZylSpace::RankedShapes* ZylSpace::shareRanking()
{
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a over the chords, scores and cells
    const auto mix = [&hash](std::uint64_t word) { hash = (hash ^ word) * 1099511628211ull; };
    for (const RankedShape& r : ranking)
    {
        mix(reinterpret_cast<std::uintptr_t>(r.chord));
        mix(static_cast<std::uint64_t>(std::hash<double>()(r.score)));
        for (std::size_t c = 0; c < r.numCells; ++c)
            mix(reinterpret_cast<std::uintptr_t>(rankedCells[r.firstCell + c]));
    }

    const auto same = [this](const RankedShapes& stored) {
        if (stored.shapes.size() != ranking.size())
            return false;
        for (std::size_t i = 0; i < ranking.size(); ++i)
        {
            const RankedShape& r = ranking[i];
            const ZylCellSet& shape = stored.shapes[i];
            const auto& cellList = shape.getCells();
            if (shape.getChord() != r.chord || shape.getScore() != r.score
                || shape.getAverageDistance() != r.average || cellList.size() != r.numCells
                || !std::equal(cellList.begin(), cellList.end(), rankedCells.begin() + std::ptrdiff_t(r.firstCell)))
                return false;
        }
        return true;
    };
    const auto sameHash = rankedShapes.equal_range(hash);
    for (auto it = sameHash.first; it != sameHash.second; ++it)
        if (same(*it->second))
        {
            ++it->second->users;
            return it->second.get();
        }

    auto stored = std::make_unique<RankedShapes>();
    stored->hash = hash;
    stored->users = 1;
    stored->shapes.reserve(ranking.size());
    std::size_t bytes = heapBlockBytes(sizeof(RankedShapes))
                      + heapBlockBytes(sizeof(std::uint64_t) + sizeof(void*) + 2 * sizeof(void*)) // the table's node
                      + heapBlockBytes(stored->shapes.capacity() * sizeof(ZylCellSet));
    for (const RankedShape& r : ranking)
    {
        stored->shapes.emplace_back();
        ZylCellSet& shape = stored->shapes.back();
        for (std::size_t c = 0; c < r.numCells; ++c)
            shape.add(rankedCells[r.firstCell + c]);
        shape.setAverageDistance(r.average);
        shape.setChord(r.chord);
        shape.setScore(r.score);
        bytes += cellSetHeapBytes(shape);
    }
    stored->bytes = bytes;
    entryBytes += bytes;
    RankedShapes* result = stored.get();
    rankedShapes.emplace(hash, std::move(stored));
    return result;
}

void ZylSpace::releaseRanking(RankedShapes* ranked)
{
    if (ranked == nullptr || --ranked->users > 0)
        return;
    entryBytes -= ranked->bytes;
    const auto sameHash = rankedShapes.equal_range(ranked->hash);
    for (auto it = sameHash.first; it != sameHash.second; ++it)
        if (it->second.get() == ranked)
        {
            rankedShapes.erase(it);
            return;
        }
}

void ZylSpace::findChordShapes(const ZylCell* root, std::vector<ZylCellSet*>& out, int scoreMode,
                               bool bestOnly, ZylCellFilter* filter, ZylChordEnumerator* enumerator)
{
    const juce::ScopedLock sl(lock);
    out.clear();
    if (root == nullptr || !mayEnter())
        return;
    const BusyScope running(busy);

    listKey.clear();
    makeShapeListKey(listKey, root, scoreMode, filter, enumerator);
    auto found = shapeListCache.find(listKey);
    if (found == shapeListCache.end())
    {
        rankChords(root, scoreMode, filter, enumerator);
        found = shapeListCache.find(listKey);
        jassert(found != shapeListCache.end());
    }
    else
    {
        useNow(found->second.link);
    }

    std::vector<ZylCellSet>& list = found->second.ranked->shapes;
    size_t run = list.size();
    if (bestOnly && !list.empty())
    {
        run = 1;
        while (run < list.size() && !(list[run].getScore() > list.front().getScore()))
            ++run;
    }
    for (size_t i = 0; i < run; ++i)
        out.push_back(&list[i]);
}

void ZylSpace::setCacheLimit(std::size_t bytes)
{
    const juce::ScopedLock sl(lock);
    if (!mayEnter())
        return;
    cacheLimit = bytes;
    while (oldest != nullptr && entryBytes + bucketBytes() > cacheLimit)
        evictOldest();
}

std::size_t ZylSpace::getCacheLimit() const
{
    const juce::ScopedLock sl(lock);
    return cacheLimit;
}

std::size_t ZylSpace::getCacheBytes() const
{
    const juce::ScopedLock sl(lock);
    return entryBytes + bucketBytes();
}

void ZylSpace::flushCaches()
{
    const juce::ScopedLock sl(lock);
    if (!mayEnter())
        return;
    // Swapped out rather than cleared, so that the bucket arrays go too.
    decltype(shapeListCache)().swap(shapeListCache);
    decltype(rankedShapes)().swap(rankedShapes);
    decltype(shapeCache)().swap(shapeCache);
    oldest = nullptr;
    newest = nullptr;
    entryBytes = 0;
}

std::size_t ZylSpace::bucketBytes() const
{
    return heapBlockBytes(shapeCache.bucket_count() * sizeof(void*))
         + heapBlockBytes(shapeListCache.bucket_count() * sizeof(void*))
         + heapBlockBytes(rankedShapes.bucket_count() * sizeof(void*));
}

void ZylSpace::linkNewest(CacheLink& link)
{
    link.older = newest;
    link.newer = nullptr;
    if (newest != nullptr)
        newest->newer = &link;
    newest = &link;
    if (oldest == nullptr)
        oldest = &link;
}

void ZylSpace::unlink(CacheLink& link)
{
    if (link.older != nullptr)
        link.older->newer = link.newer;
    else
        oldest = link.newer;
    if (link.newer != nullptr)
        link.newer->older = link.older;
    else
        newest = link.older;
    link.older = nullptr;
    link.newer = nullptr;
}

void ZylSpace::useNow(CacheLink& link)
{
    if (newest == &link)
        return;
    unlink(link);
    linkNewest(link);
}

void ZylSpace::evictToLimit()
{
    while (oldest != nullptr && oldest != newest && entryBytes + bucketBytes() > cacheLimit)
        evictOldest();
}

void ZylSpace::evictOldest()
{
    CacheLink& link = *oldest;
    unlink(link);
    entryBytes -= link.bytes;
    // The key lives in the node; the lookup is done before the node goes.
    if (link.isList)
    {
        const auto found = shapeListCache.find(*link.key);
        releaseRanking(found->second.ranked);
        shapeListCache.erase(found);
    }
    else
        shapeCache.erase(shapeCache.find(*link.key));
}
