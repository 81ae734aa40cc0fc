#pragma once

#include "framework/ZylPinBase.h"

// A pin of one cable kind (ZylAudioCable, ZylMidiCable, ZylMidiKeyboardCable). It adds nothing
// but its type, so that a module can check a pin's kind with a dynamic cast.
template <class CableType>
class ZylPin : public ZylPinBase
{
public:
    ZylPin() = default;
    ZylPin(bool eachBlock, bool onReset)
    {
        setClearedEachBlock(eachBlock);
        setClearedOnReset(onReset);
    }

    // The first cable, as the module reads or writes it; null when none is plugged in or it is
    // of another kind.
    CableType* getFirstCable() const
    {
        const auto& plugged = getCables();
        return plugged.empty() ? nullptr : dynamic_cast<CableType*>(plugged.front());
    }
};
