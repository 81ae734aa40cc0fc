#include "modules/ZylMidiOutputDeviceManager.h"

#include "framework/ZylHelpers.h"

namespace
{
const char* const kManagerTag = "midiOutputDeviceManager";
const char* const kOutputTag = "midiOutput";
const char* const kNameAttribute = "name";
} // namespace

ZylMidiOutputDeviceManager::ZylMidiOutputDeviceManager(ZylMidiPortBackend* portBackend)
    : backend(portBackend)
{
}

ZylMidiOutputDeviceManager::~ZylMidiOutputDeviceManager()
{
    const juce::ScopedLock sl(deviceLock);
    while (!outputs.empty())
    {
        outputs.pop_back();
        names.pop_back();
    }
}

std::unique_ptr<juce::XmlElement> ZylMidiOutputDeviceManager::createXml() const
{
    auto element = std::make_unique<juce::XmlElement>(kManagerTag);
    for (const auto& name : names)
        element->createNewChildElement(kOutputTag)->setAttribute(kNameAttribute, name);
    return element;
}

void ZylMidiOutputDeviceManager::restoreFromXml(const juce::XmlElement* xml)
{
    disableAllOutputs();
    if (xml == nullptr || !xml->hasTagName(kManagerTag))
        return;
    for (auto* child : xml->getChildIterator())
        if (child->hasTagName(kOutputTag))
            setMidiOutputEnabled(child->getStringAttribute(kNameAttribute), true);
}

int ZylMidiOutputDeviceManager::indexOfOutput(const juce::String& name) const
{
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<int>(i);
    return -1;
}

void ZylMidiOutputDeviceManager::setMidiOutputEnabled(const juce::String& name, bool enabled)
{
    if (enabled == isMidiOutputEnabled(name))
        return;

    if (enabled)
    {
        if (backend != nullptr)
        {
            if (auto port = backend->openOutput(name))
            {
                const juce::ScopedLock sl(deviceLock);
                outputs.push_back(std::move(port));
                names.push_back(name);
            }
        }
    }
    else
    {
        const int index = indexOfOutput(name);
        if (index >= 0)
        {
            const juce::ScopedLock sl(deviceLock);
            outputs.erase(outputs.begin() + index);
            names.erase(names.begin() + index);
        }
    }

    sendChangeMessage();
}

bool ZylMidiOutputDeviceManager::isMidiOutputEnabled(const juce::String& name) const
{
    return indexOfOutput(name) >= 0;
}

void ZylMidiOutputDeviceManager::sendMessageNowByIndex(int index, const juce::MidiMessage& message)
{
    const juce::ScopedLock sl(deviceLock);
    if (index >= 0 && index < static_cast<int>(outputs.size()))
        outputs[static_cast<size_t>(index)]->sendMessageNow(message);
}

void ZylMidiOutputDeviceManager::sendMessageNow(const juce::String& name,
                                                const juce::MidiMessage& message)
{
    const juce::ScopedLock sl(deviceLock);
    sendMessageNowByIndex(indexOfOutput(name), message);
}

void ZylMidiOutputDeviceManager::getEnabledOutputNames(std::vector<std::wstring>& list) const
{
    list.clear();
    for (const auto& name : names)
        list.push_back(toStdWString(name));
}

void ZylMidiOutputDeviceManager::disableAllOutputs()
{
    for (auto i = names.size(); i-- > 0;)
        setMidiOutputEnabled(juce::String(names[i]), false);
}
