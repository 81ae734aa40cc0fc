#include "modules/ZylJuceMidiPortBackend.h"

namespace
{
juce::StringArray namesOf(const juce::Array<juce::MidiDeviceInfo>& devices)
{
    juce::StringArray names;
    for (const auto& device : devices)
        names.add(device.name);
    return names;
}

// The identifier of the first device of that name; empty when there is none.
juce::String identifierOf(const juce::Array<juce::MidiDeviceInfo>& devices,
                          const juce::String& name)
{
    for (const auto& device : devices)
        if (device.name == name)
            return device.identifier;
    return {};
}

class JuceInputPort : public ZylMidiInputPort, private juce::MidiInputCallback
{
public:
    explicit JuceInputPort(ZylMidiInputPortCallback& portCallback) : callback(portCallback) {}

    ~JuceInputPort() override
    {
        if (input != nullptr)
            input->stop();
    }

    bool open(const juce::String& identifier)
    {
        input = juce::MidiInput::openDevice(identifier, this);
        return input != nullptr;
    }

    juce::String getName() const override { return input->getName(); }
    void start() override { input->start(); }
    void stop() override { input->stop(); }
    juce::MidiInput* getSystemPort() const override { return input.get(); }

private:
    void handleIncomingMidiMessage(juce::MidiInput*, const juce::MidiMessage& message) override
    {
        callback.handlePortMessage(*this, message);
    }

    ZylMidiInputPortCallback& callback;
    std::unique_ptr<juce::MidiInput> input;
};

class JuceOutputPort : public ZylMidiOutputPort
{
public:
    explicit JuceOutputPort(std::unique_ptr<juce::MidiOutput> port) : output(std::move(port)) {}

    juce::String getName() const override { return output->getName(); }
    void sendMessageNow(const juce::MidiMessage& message) override
    {
        output->sendMessageNow(message);
    }

private:
    std::unique_ptr<juce::MidiOutput> output;
};
} // namespace

juce::StringArray ZylJuceMidiPortBackend::getInputNames()
{
    return namesOf(juce::MidiInput::getAvailableDevices());
}

juce::StringArray ZylJuceMidiPortBackend::getOutputNames()
{
    return namesOf(juce::MidiOutput::getAvailableDevices());
}

std::unique_ptr<ZylMidiInputPort> ZylJuceMidiPortBackend::openInput(
    const juce::String& name, ZylMidiInputPortCallback& callback)
{
    const auto identifier = identifierOf(juce::MidiInput::getAvailableDevices(), name);
    if (identifier.isEmpty())
        return nullptr;
    auto port = std::make_unique<JuceInputPort>(callback);
    if (!port->open(identifier))
        return nullptr;
    return port;
}

std::unique_ptr<ZylMidiOutputPort> ZylJuceMidiPortBackend::openOutput(const juce::String& name)
{
    const auto identifier = identifierOf(juce::MidiOutput::getAvailableDevices(), name);
    if (identifier.isEmpty())
        return nullptr;
    auto output = juce::MidiOutput::openDevice(identifier);
    if (output == nullptr)
        return nullptr;
    return std::make_unique<JuceOutputPort>(std::move(output));
}
