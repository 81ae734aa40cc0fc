#include "space/ZylSpace.h"

#include "framework/ZylDebug.h"
#include "space/ZylCellFilter.h"
#include "space/ZylChordDomain.h"
#include "space/ZylChordEnumerator.h"
#include "space/ZylRectangleTile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

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
    // The lists point into the shape cache and both caches point at cells: lists, then shapes,
    // then the index, then the cells themselves.
    shapeListCache.clear();
    shapeCache.clear();
    noteIndex.clear();
    cells.clear();
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
        key += filter->getFilterKey();
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
        key += filter->getFilterKey();
    if (enumerator != nullptr)
        key += enumerator->getEnumeratorKey();
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

void ZylSpace::placeChord(const std::vector<std::int32_t>& intervals, const ZylCell* root,
                          std::vector<ZylCell*>& out, double& average, ZylCellFilter* filter)
{
    const juce::ScopedLock sl(lock);
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
    if (root == nullptr || !allNotesInRange(intervals, root->getNote()))
        return nullptr;

    shapeKey.clear();
    makeShapeKey(shapeKey, intervals, root, filter);
    const auto found = shapeCache.find(shapeKey);
    if (found != shapeCache.end())
        return found->second.get();

    double average = 0.0;
    placeChord(intervals, root, placed, average, filter);
    if (placed.size() != intervals.size())
        return nullptr;

    auto shape = std::make_unique<ZylCellSet>();
    for (ZylCell* cell : placed)
        shape->add(cell);
    shape->setAverageDistance(average);
    ZylCellSet* result = shape.get();
    shapeCache.emplace(shapeKey, std::move(shape));
    return result;
}

void ZylSpace::getChordCells(const std::vector<std::int32_t>& intervals, const ZylCell* root,
                             std::vector<ZylCell*>& out, ZylCellFilter* filter)
{
    const juce::ScopedLock sl(lock);
    out.clear();
    if (const ZylCellSet* shape = getChordShape(intervals, root, filter))
        out.insert(out.end(), shape->getCells().begin(), shape->getCells().end());
}

void ZylSpace::rankChords(RankedList& list, const ZylCell* root, int scoreMode,
                          ZylCellFilter* filter, ZylChordEnumerator* enumerator)
{
    if (enumerator == nullptr)
        return;
    const int numChords = enumerator->getNumChords();
    for (int i = 0; i < numChords; ++i)
    {
        ZylChordValue* chord = enumerator->getChord(i);
        if (chord == nullptr)
            continue;
        ZylCellSet* shape = getChordShape(chord->intervals, root, filter);
        if (shape == nullptr)
            continue;
        const double score = scoreMode == kScoreByDistance
            ? shape->getAverageDistance()
                  + double(kFullChordSize - int(shape->getCells().size())) * kMissingCellPenalty
            : double(chord->rank);
        list.push_back({ shape, chord, score });
    }
    // Equal scores are common (chords of one size often tie on distance) and must keep the
    // enumeration order whatever the list's length.
    std::stable_sort(list.begin(), list.end(),
                     [](const RankedShape& a, const RankedShape& b) { return a.score < b.score; });
}

void ZylSpace::findChordShapes(const ZylCell* root, std::vector<ZylCellSet*>& out, int scoreMode,
                               bool bestOnly, ZylCellFilter* filter, ZylChordEnumerator* enumerator)
{
    const juce::ScopedLock sl(lock);
    out.clear();
    if (root == nullptr)
        return;

    listKey.clear();
    makeShapeListKey(listKey, root, scoreMode, filter, enumerator);
    auto found = shapeListCache.find(listKey);
    if (found == shapeListCache.end())
    {
        found = shapeListCache.emplace(listKey, RankedList()).first;
        rankChords(found->second, root, scoreMode, filter, enumerator);
    }

    const RankedList& list = found->second;
    size_t run = list.size();
    if (bestOnly && !list.empty())
    {
        run = 1;
        while (run < list.size() && !(list[run].score > list.front().score))
            ++run;
    }
    for (size_t i = 0; i < run; ++i)
    {
        ZylCellSet* shape = list[i].shape;
        shape->setChord(list[i].chord);
        shape->setScore(list[i].score);
        out.push_back(shape);
    }
}
