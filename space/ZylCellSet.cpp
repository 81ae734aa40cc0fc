#include "space/ZylCellSet.h"

#include "space/ZylCell.h"

#include <algorithm>
#include <array>

namespace
{
constexpr int kNumNotes = 128;
constexpr int kFirstChannel = 1;
constexpr int kLastChannel = 16;
// A released key sends a plain note-off.
constexpr float kNoteOffVelocity = 0.0f;
} // namespace

const std::vector<ZylCell*>& ZylCellSet::getCells() const
{
    return cells;
}

bool ZylCellSet::contains(const ZylCell* cell) const
{
    if (cell == nullptr)
        return false;
    if (indexed)
        return index.contains(cell);
    return std::find(cells.begin(), cells.end(), cell) != cells.end();
}

bool ZylCellSet::append(ZylCell* cell)
{
    if (cell == nullptr || contains(cell))
        return false;
    cells.push_back(cell);
    if (indexed)
        index.insert(cell);
    else if (cells.size() > kIndexThreshold)
        rebuildIndex();
    return true;
}

void ZylCellSet::add(ZylCell* cell)
{
    if (append(cell))
        touch();
}

void ZylCellSet::remove(const ZylCell* cell)
{
    if (cell == nullptr)
        return;
    const auto it = std::find(cells.begin(), cells.end(), cell);
    if (it == cells.end())
        return;
    cells.erase(it);
    if (indexed)
        index.erase(cell);
    touch();
}

void ZylCellSet::clear()
{
    if (cells.empty())
        return;
    cells.clear();
    index.clear();
    touch();
}

void ZylCellSet::addAll(const ZylCellSet& other)
{
    if (&other == this)
        return;
    bool appended = false;
    for (ZylCell* cell : other.cells)
        appended = append(cell) || appended;
    if (appended)
        touch();
}

void ZylCellSet::assign(const ZylCellSet& other)
{
    if (&other == this || cells == other.cells)
        return;
    cells = other.cells;
    rebuildIndex();
    touch();
}

void ZylCellSet::fillUntouched(const std::vector<ZylCell*>& list)
{
    if (&list == &cells)
        return;
    cells.clear();
    index.clear();
    for (ZylCell* cell : list)
        append(cell);
}

void ZylCellSet::reserve(std::size_t numCells)
{
    cells.reserve(numCells);
    if (numCells > kIndexThreshold)
        index.reserve(numCells);
}

void ZylCellSet::rebuildIndex()
{
    index.clear();
    indexed = indexed || cells.size() > kIndexThreshold;
    if (indexed)
        for (const ZylCell* cell : cells)
            index.insert(cell);
}

void ZylCellSet::applyToKeyboard(juce::MidiKeyboardState& keyboard, int channel, bool retrigger) const
{
    applyToKeyboardWithVelocity(keyboard, channel, velocity, retrigger);
}

void ZylCellSet::applyToKeyboardWithVelocity(juce::MidiKeyboardState& keyboard, int channel,
                                             float noteOnVelocity, bool retrigger) const
{
    // The keyboard state tests a channel by shifting a bit mask: a channel outside 1..16 would
    // shift by a negative or oversized amount, so such a call changes nothing.
    if (channel < kFirstChannel || channel > kLastChannel)
        return;

    std::array<bool, kNumNotes> wanted {};
    for (const ZylCell* cell : cells)
    {
        const int n = cell->getNote();
        if (n >= 0 && n < kNumNotes)
            wanted[(size_t) n] = true;
    }

    for (int n = 0; n < kNumNotes; ++n)
    {
        bool on = keyboard.isNoteOn(channel, n);
        if (wanted[(size_t) n])
        {
            if (retrigger && on)
            {
                keyboard.noteOff(channel, n, kNoteOffVelocity);
                on = false;
            }
            if (!on)
                keyboard.noteOn(channel, n, noteOnVelocity);
        }
        else if (on)
        {
            keyboard.noteOff(channel, n, kNoteOffVelocity);
        }
    }
}

bool ZylCellSet::equals(const ZylCellSet& other) const
{
    // Neither list holds a cell twice, so equal sizes and one inclusion make both inclusions.
    return cells.size() == other.cells.size() && containsAll(other);
}

bool ZylCellSet::containsAll(const ZylCellSet& other) const
{
    for (const ZylCell* cell : other.cells)
        if (!contains(cell))
            return false;
    return true;
}

double ZylCellSet::getAverageDistance() const
{
    return averageDistance;
}

void ZylCellSet::setAverageDistance(double d)
{
    if (d != averageDistance)
    {
        averageDistance = d;
        touch();
    }
}

double ZylCellSet::getScore() const
{
    return score;
}

void ZylCellSet::setScore(double s)
{
    score = s;
}

float ZylCellSet::getVelocity() const
{
    return velocity;
}

void ZylCellSet::setVelocity(float v)
{
    if (v != velocity)
    {
        velocity = v;
        touch();
    }
}

ZylChordValue* ZylCellSet::getChord() const
{
    return chord;
}

void ZylCellSet::setChord(ZylChordValue* c)
{
    chord = c;
}
