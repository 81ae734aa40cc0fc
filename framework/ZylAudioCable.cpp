#include "framework/ZylAudioCable.h"

void ZylAudioCable::clear()
{
    if (auto* attached = getBuffer())
        attached->clear();
}
