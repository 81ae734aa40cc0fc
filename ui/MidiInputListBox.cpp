#include "ui/MidiInputListBox.h"

#include "modules/ZylMidiInputDeviceManager.h"

namespace
{
juce::StringArray presentPorts(const ZylMidiInputDeviceManager& manager)
{
    auto* backend = manager.getPortBackend();
    return backend != nullptr ? backend->getInputNames() : juce::StringArray();
}
} // namespace

MidiInputListBox::MidiInputListBox(ZylMidiInputDeviceManager& manager)
    : ZylMidiPortListBox("midi", presentPorts(manager), "(no midi inputs available)"),
      deviceManager(manager)
{
}

bool MidiInputListBox::isPortEnabled(const juce::String& name) const
{
    return deviceManager.isMidiInputEnabled(name);
}

void MidiInputListBox::setPortEnabled(const juce::String& name, bool enabled)
{
    deviceManager.setMidiInputEnabled(name, enabled);
}
