#pragma once

#include "space/ZylCellStates.h"

#include <juce_core/juce_core.h>

#include <memory>
#include <vector>

class ZylSpace;

// One playable space as the user sees it: a laid-out ZylSpace and two layers of cell states,
// the primary one for the user's interaction and the chords, the secondary one for the notes
// arriving from MIDI input.
//
// Every reader and writer of the space or of either layer holds this live space's lock. Lock
// order: the processor's callback lock, the grid live space's lock, the piano live space's lock,
// a parameter's domain lock, then a space's own lock innermost.
class ZylLiveSpace
{
public:
    using StatesList = std::vector<std::unique_ptr<ZylCellStates>>;

    ZylLiveSpace();
    // Deletes both layers, never the space.
    virtual ~ZylLiveSpace();

    virtual ZylSpace* getSpace() const;
    // The space is not owned: it belongs to a Space vocabulary value or to the space module.
    virtual void setSpace(ZylSpace* space);
    // Primary first.
    virtual const StatesList& getStates() const;
    virtual ZylCellStates* getPrimaryStates() const;
    virtual ZylCellStates* getSecondaryStates() const;
    // Recursive.
    virtual const juce::CriticalSection& getLock() const;

private:
    // Declared first so that it is destroyed last.
    juce::CriticalSection lock;
    ZylSpace* space = nullptr;
    StatesList states;

    JUCE_DECLARE_NON_COPYABLE(ZylLiveSpace)
};
