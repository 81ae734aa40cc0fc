#pragma once

#include "modules/ZylMidiPortBackend.h"

// The system's MIDI ports through juce::MidiInput and juce::MidiOutput. A port is found by name
// in the present device list and opened by its identifier. Only the program's top creates one.
class ZylJuceMidiPortBackend : public ZylMidiPortBackend
{
public:
    ZylJuceMidiPortBackend() = default;
    ~ZylJuceMidiPortBackend() override = default;

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<ZylMidiInputPort> openInput(const juce::String& name,
                                                ZylMidiInputPortCallback& callback) override;
    std::unique_ptr<ZylMidiOutputPort> openOutput(const juce::String& name) override;
};
