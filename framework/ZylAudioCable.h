#pragma once

#include "framework/ZylCable.h"

#include <juce_audio_basics/juce_audio_basics.h>

class ZylAudioCable : public ZylCable<juce::AudioSampleBuffer>
{
public:
    // Zeroes every channel of the attached buffer.
    void clear() override;
};
