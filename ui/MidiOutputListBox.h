#pragma once

#include "ui/ZylMidiPortListBox.h"

class ZylMidiOutputDeviceManager;

// The tick list of the MIDI output ports: ticking opens the port in the output device manager.
class MidiOutputListBox : public ZylMidiPortListBox
{
public:
    // The ports are those the manager's backend lists now; none without a backend. The manager
    // must outlive the list.
    explicit MidiOutputListBox(ZylMidiOutputDeviceManager& manager);

protected:
    bool isPortEnabled(const juce::String& name) const override;
    void setPortEnabled(const juce::String& name, bool enabled) override;

private:
    ZylMidiOutputDeviceManager& deviceManager;
};
