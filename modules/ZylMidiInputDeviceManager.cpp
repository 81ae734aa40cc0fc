#include "modules/ZylMidiInputDeviceManager.h"

#include "framework/ZylHelpers.h"

namespace
{
const char* const kManagerTag = "midiInputDeviceManager";
const char* const kInputTag = "midiInput";
const char* const kNameAttribute = "name";
} // namespace

ZylMidiInputDeviceManager::ZylMidiInputDeviceManager(ZylMidiPortBackend* portBackend)
    : backend(portBackend)
{
}

ZylMidiInputDeviceManager::~ZylMidiInputDeviceManager()
{
    const juce::ScopedLock sl(deviceLock);
    currentInput.store(nullptr);
    for (auto it = inputs.rbegin(); it != inputs.rend(); ++it)
        it->port->stop();
    while (!inputs.empty())
        inputs.pop_back();
}

std::unique_ptr<juce::XmlElement> ZylMidiInputDeviceManager::createXml() const
{
    auto element = std::make_unique<juce::XmlElement>(kManagerTag);
    const juce::ScopedLock sl(deviceLock);
    for (const auto& input : inputs)
        element->createNewChildElement(kInputTag)->setAttribute(kNameAttribute, input.name);
    return element;
}

void ZylMidiInputDeviceManager::restoreFromXml(const juce::XmlElement* xml)
{
    disableAllInputs();
    if (xml == nullptr || !xml->hasTagName(kManagerTag))
        return;
    for (auto* child : xml->getChildIterator())
        if (child->hasTagName(kInputTag))
            setMidiInputEnabled(child->getStringAttribute(kNameAttribute), true);
}

void ZylMidiInputDeviceManager::setMidiInputEnabled(const juce::String& name, bool enabled)
{
    if (enabled == isMidiInputEnabled(name))
        return;

    if (enabled)
    {
        if (backend != nullptr)
        {
            if (auto port = backend->openInput(name, *this))
            {
                auto* raw = port.get();
                {
                    const juce::ScopedLock sl(deviceLock);
                    inputs.push_back({ name, std::move(port) });
                }
                raw->start();
            }
        }
    }
    else
    {
        const juce::ScopedLock sl(deviceLock);
        for (auto i = inputs.size(); i-- > 0;)
        {
            if (inputs[i].name != name)
                continue;
            inputs[i].port->stop();
            if (currentInput.load() == inputs[i].port.get())
                setCurrentInput({});
            inputs.erase(inputs.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }

    sendChangeMessage();
}

bool ZylMidiInputDeviceManager::isMidiInputEnabled(const juce::String& name) const
{
    const juce::ScopedLock sl(deviceLock);
    for (const auto& input : inputs)
        if (input.name == name)
            return true;
    return false;
}

void ZylMidiInputDeviceManager::addMidiInputCallback(juce::MidiInputCallback* callback)
{
    if (callback == nullptr)
        return;
    const juce::ScopedLock sl(callbackLock);
    callbacks.removeAllInstancesOf(callback);
    callbacks.add(callback);
}

void ZylMidiInputDeviceManager::removeMidiInputCallback(juce::MidiInputCallback* callback)
{
    const juce::ScopedLock sl(callbackLock);
    callbacks.removeAllInstancesOf(callback);
}

void ZylMidiInputDeviceManager::getEnabledInputNames(std::vector<std::wstring>& names) const
{
    names.clear();
    const juce::ScopedLock sl(deviceLock);
    for (const auto& input : inputs)
        names.push_back(toStdWString(input.name));
}

void ZylMidiInputDeviceManager::disableAllInputs()
{
    std::vector<juce::String> names;
    {
        const juce::ScopedLock sl(deviceLock);
        for (const auto& input : inputs)
            names.push_back(input.name);
    }
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        setMidiInputEnabled(*it, false);
}

void ZylMidiInputDeviceManager::setCurrentInput(const juce::String& name)
{
    const juce::ScopedLock sl(deviceLock);
    ZylMidiInputPort* found = nullptr;
    for (const auto& input : inputs)
    {
        if (input.name == name)
        {
            found = input.port.get();
            break;
        }
    }
    currentInput.store(found);
}

bool ZylMidiInputDeviceManager::followCurrentInput(const juce::String& name)
{
    const juce::ScopedTryLock sl(deviceLock);
    if (!sl.isLocked())
        return false;
    ZylMidiInputPort* found = nullptr;
    for (const auto& input : inputs)
    {
        if (input.name == name)
        {
            found = input.port.get();
            break;
        }
    }
    if (currentInput.load() != found)
        currentInput.store(found);
    return true;
}

ZylMidiInputPort* ZylMidiInputDeviceManager::getCurrentInput() const
{
    return currentInput.load();
}

juce::String ZylMidiInputDeviceManager::getCurrentInputName() const
{
    const juce::ScopedLock sl(deviceLock);
    const auto* current = currentInput.load();
    for (const auto& input : inputs)
        if (input.port.get() == current)
            return input.name;
    return {};
}

void ZylMidiInputDeviceManager::handlePortMessage(ZylMidiInputPort& port,
                                                  const juce::MidiMessage& message)
{
    if (message.isActiveSense())
        return;
    if (&port != currentInput.load())
        return;

    const juce::ScopedLock sl(callbackLock);
    for (auto* callback : callbacks)
        callback->handleIncomingMidiMessage(port.getSystemPort(), message);
}
