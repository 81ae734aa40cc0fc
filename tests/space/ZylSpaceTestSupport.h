#pragma once

#include "space/ZylCell.h"
#include "space/ZylCellStates.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceModule.h"

#include <juce_core/juce_core.h>

namespace zyltest
{
// The first visible cell carrying the note, or null.
inline ZylCell* visibleCellOf(const ZylSpace* space, int note)
{
    for (const auto& cell : space->getCells())
        if (cell->getNote() == note && !cell->isHidden())
            return cell.get();
    return nullptr;
}

// What a view does on the message thread, under the live space's lock, when the pointer
// presses a cell: the pointer over it selects it, the button triggers it.
inline void pressAndTrigger(ZylLiveSpace& live, ZylCell* cell)
{
    const juce::ScopedLock lock(live.getLock());
    live.getPrimaryStates()->press(cell, false);
    live.getPrimaryStates()->trigger(cell, ZylSpaceModule::kDefaultTriggerVelocity);
}

// Presses and triggers the first visible cell of the note; false when there is none.
inline bool pressNote(ZylLiveSpace& live, int note)
{
    auto* cell = visibleCellOf(live.getSpace(), note);
    if (cell == nullptr)
        return false;
    pressAndTrigger(live, cell);
    return true;
}
} // namespace zyltest
