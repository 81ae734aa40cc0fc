#pragma once

#include "ui/ZylMidiPortListBox.h"

class ZylMidiInputDeviceManager;

// The tick list of the MIDI input ports: ticking opens the port in the input device manager.
class MidiInputListBox : public ZylMidiPortListBox
{
public:
    // The ports are those the manager's backend lists now; none without a backend. The manager
    // must outlive the list.
    explicit MidiInputListBox(ZylMidiInputDeviceManager& manager);

protected:
    bool isPortEnabled(const juce::String& name) const override;
    void setPortEnabled(const juce::String& name, bool enabled) override;

private:
    ZylMidiInputDeviceManager& deviceManager;
};
