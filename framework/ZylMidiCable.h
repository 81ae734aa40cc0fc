#pragma once

#include "framework/ZylCable.h"

#include <juce_audio_basics/juce_audio_basics.h>

class ZylMidiCable : public ZylCable<juce::MidiBuffer>
{
public:
    // Removes every event of the attached buffer, so that no stale note survives a reset.
    void clear() override;
};
