#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class MidiInputListBox;
class MidiOutputListBox;
class ZylLabel;
class ZylMidiInputDeviceManager;
class ZylMidiOutputDeviceManager;

// The content of the MIDI settings dialog: the input ports and the output ports as two tick
// lists side by side. Ticking opens a port in the device manager, unticking closes it; which
// opened port is used is chosen by the MIDI modules' device parameters. The lists follow the
// managers' change broadcasts, so the ticks always show what is open. Message thread only.
class ZylMidiDeviceSelectorComponent : public juce::Component, public juce::ChangeListener
{
public:
    static constexpr int kListX = 30;
    static constexpr int kListY = 50;
    static constexpr int kListWidth = 250;
    static constexpr int kListHeight = 273;
    static constexpr int kListGap = 42;

    // The managers must outlive the component.
    ZylMidiDeviceSelectorComponent(ZylMidiInputDeviceManager& inputManager,
                                   ZylMidiOutputDeviceManager& outputManager);
    ~ZylMidiDeviceSelectorComponent() override;

    void resized() override;
    void paint(juce::Graphics& g) override;
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

    MidiInputListBox* getInputList() const noexcept { return inputList.get(); }
    MidiOutputListBox* getOutputList() const noexcept { return outputList.get(); }

private:
    ZylMidiInputDeviceManager& inputDeviceManager;
    ZylMidiOutputDeviceManager& outputDeviceManager;
    std::unique_ptr<MidiInputListBox> inputList;
    std::unique_ptr<MidiOutputListBox> outputList;
    std::unique_ptr<ZylLabel> inputLabel;
    std::unique_ptr<ZylLabel> outputLabel;

    JUCE_DECLARE_NON_COPYABLE(ZylMidiDeviceSelectorComponent)
};
