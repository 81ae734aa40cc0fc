#pragma once

#include "framework/ZylCable.h"

#include <juce_audio_basics/juce_audio_basics.h>

class ZylMidiKeyboardCable : public ZylCable<juce::MidiKeyboardState>
{
public:
    // Switches every note off on all 16 channels; the state's listeners hear one note-off for
    // each note that was on.
    void clear() override;
};
