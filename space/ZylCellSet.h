#pragma once

#include "space/ZylCellHashSet.h"
#include "space/ZylTimeStamp.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

class ZylCell;
class ZylChordValue;

// A small ordered set of cells (a placed chord, the pressed or sounding cells of a layer, the
// cells to repaint) with the numbers chord placement attaches to it. The cells are not owned and
// the list never holds null or a cell twice. Every change of the list touches the stamp. No lock
// of its own: the live space or the space that holds the set guards it.
class ZylCellSet : public ZylTimeStamp
{
public:
    static constexpr float kDefaultVelocity = 0.8f;

    ZylCellSet() = default;
    ~ZylCellSet() override = default;
    ZylCellSet(const ZylCellSet&) = default;
    ZylCellSet& operator=(const ZylCellSet&) = default;

    virtual const std::vector<ZylCell*>& getCells() const;
    virtual bool contains(const ZylCell* cell) const;
    virtual void add(ZylCell* cell);
    virtual void remove(const ZylCell* cell);
    virtual void clear();
    // Appends the other set's new cells in its order; touches once when any was appended.
    virtual void addAll(const ZylCellSet& other);
    // Copies the other list unless both are already equal in the same order.
    virtual void assign(const ZylCellSet& other);
    // Replaces the cells by the list (nulls and repeats dropped) without touching the stamp, for
    // a copy that its readers must not take for a change of their own.
    virtual void fillUntouched(const std::vector<ZylCell*>& list);
    // Makes room for that many cells: up to it, no change of the set allocates. Clearing keeps
    // the room. No touch.
    void reserve(std::size_t numCells);

    // Makes the notes that are on for the channel (1..16) in the keyboard state equal to the
    // set's notes, note by note in ascending order; notes of other channels are left alone.
    // With retrigger a note that is already on is switched off and on again.
    virtual void applyToKeyboard(juce::MidiKeyboardState& keyboard, int channel, bool retrigger) const;
    virtual void applyToKeyboardWithVelocity(juce::MidiKeyboardState& keyboard, int channel,
                                             float velocity, bool retrigger) const;

    // Same cells, order ignored.
    virtual bool equals(const ZylCellSet& other) const;
    // True when the other set is empty.
    virtual bool containsAll(const ZylCellSet& other) const;

    virtual double getAverageDistance() const;
    virtual void setAverageDistance(double d);
    virtual double getScore() const;
    virtual void setScore(double s);
    virtual float getVelocity() const;
    virtual void setVelocity(float v);
    virtual ZylChordValue* getChord() const;
    virtual void setChord(ZylChordValue* c);

private:
    // Appends the cell unless it is null or present, keeping the index in step; no touch.
    bool append(ZylCell* cell);
    void rebuildIndex();

    // Up to this many cells a linear scan beats hashing; past it the index answers membership,
    // so sets of thousands of cells are tested in constant time. Once built the index is kept
    // in step until the set is destroyed.
    static constexpr std::size_t kIndexThreshold = 16;

    std::vector<ZylCell*> cells;
    double averageDistance = 0.0;
    float velocity = kDefaultVelocity;
    double score = 0.0;
    ZylChordValue* chord = nullptr;

    ZylCellHashSet index;
    bool indexed = false;
};
