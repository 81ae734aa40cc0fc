#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <utility>
#include <vector>

namespace zyltest
{
// The events of a MIDI buffer with their sample positions, in buffer order.
inline std::vector<std::pair<int, juce::MidiMessage>> eventsOf(const juce::MidiBuffer& buffer)
{
    std::vector<std::pair<int, juce::MidiMessage>> events;
    for (const auto metadata : buffer)
        events.emplace_back(metadata.samplePosition, metadata.getMessage());
    return events;
}
} // namespace zyltest
