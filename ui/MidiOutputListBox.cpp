#include "ui/MidiOutputListBox.h"

#include "modules/ZylMidiOutputDeviceManager.h"

namespace
{
juce::StringArray presentPorts(const ZylMidiOutputDeviceManager& manager)
{
    auto* backend = manager.getPortBackend();
    return backend != nullptr ? backend->getOutputNames() : juce::StringArray();
}
} // namespace

MidiOutputListBox::MidiOutputListBox(ZylMidiOutputDeviceManager& manager)
    : ZylMidiPortListBox("midiout", presentPorts(manager), "(no midi outputs available)"),
      deviceManager(manager)
{
}

bool MidiOutputListBox::isPortEnabled(const juce::String& name) const
{
    return deviceManager.isMidiOutputEnabled(name);
}

void MidiOutputListBox::setPortEnabled(const juce::String& name, bool enabled)
{
    deviceManager.setMidiOutputEnabled(name, enabled);
}
