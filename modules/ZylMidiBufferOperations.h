#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// MIDI buffer operations shared by the MIDI input and output modules. Positions are samples
// within the block; events at or after numSamples are dropped; dst is never cleared. None of
// them allocates while dst has room. Each keeps the order juce::MidiBuffer::addEvent gives
// (after the events already at the same position) and runs in linear time when dst holds no
// event later than the ones added.

// Appends the events of src at positions from fromSample up to, not including, toSample, each
// moved by sampleDelta: what dst.addEvents adds, but in time linear in the events of both.
void copyMidiEvents(const juce::MidiBuffer& src, juce::MidiBuffer& dst, int fromSample,
                    int toSample, int sampleDelta);

// Appends the events of src that are system messages (status 0xF0 and above) or channel
// messages on channel (1 to 16), at their positions.
void copyMidiOnChannel(const juce::MidiBuffer& src, juce::MidiBuffer& dst, int channel,
                       int numSamples);

// Appends every event of src with the channel of each channel message replaced by channel
// (1 to 16); system messages go unchanged.
void copyMidiToChannel(const juce::MidiBuffer& src, juce::MidiBuffer& dst, int channel,
                       int numSamples);

// Appends an all-notes-off (controller 123, value 0) for channels 1 to 16, in order, at 0.
void addAllNotesOff(juce::MidiBuffer& dst);
