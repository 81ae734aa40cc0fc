#include "framework/ZylMidiCable.h"

void ZylMidiCable::clear()
{
    if (auto* attached = getBuffer())
        attached->clear();
}
