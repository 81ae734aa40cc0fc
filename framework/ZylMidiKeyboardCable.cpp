#include "framework/ZylMidiKeyboardCable.h"

namespace
{
// allNotesOff with channel 0 switches every channel off.
constexpr int kAllMidiChannels = 0;
} // namespace

void ZylMidiKeyboardCable::clear()
{
    if (auto* state = getBuffer())
        state->allNotesOff(kAllMidiChannels);
}
