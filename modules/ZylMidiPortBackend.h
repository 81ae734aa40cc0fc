#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

// The edge between the MIDI device managers and the system's MIDI ports. The managers reach
// ports only through these interfaces; the program hands them the system's implementation
// (ZylJuceMidiPortBackend) from its top, tests a fake. Names are compared exactly.

class ZylMidiInputPort;

// Receives what an opened input port delivers, on the port's driver thread.
class ZylMidiInputPortCallback
{
public:
    virtual ~ZylMidiInputPortCallback() = default;
    virtual void handlePortMessage(ZylMidiInputPort& port, const juce::MidiMessage& message) = 0;
};

// An opened input port. Messages reach the callback only between start and stop; once stop has
// returned, no delivery is running or will begin. Deleting the port closes it.
class ZylMidiInputPort
{
public:
    virtual ~ZylMidiInputPort() = default;
    virtual juce::String getName() const = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    // The system's port behind this one, handed to juce::MidiInputCallbacks as the source; null
    // for ports that have none.
    virtual juce::MidiInput* getSystemPort() const = 0;
};

// An opened output port. Deleting it closes it.
class ZylMidiOutputPort
{
public:
    virtual ~ZylMidiOutputPort() = default;
    virtual juce::String getName() const = 0;
    // Sends at once, on the calling thread.
    virtual void sendMessageNow(const juce::MidiMessage& message) = 0;
};

class ZylMidiPortBackend
{
public:
    virtual ~ZylMidiPortBackend() = default;
    // The ports present now, in the system's order.
    virtual juce::StringArray getInputNames() = 0;
    virtual juce::StringArray getOutputNames() = 0;
    // Opens the first present port of that name, not yet started; null when none has the name
    // or opening fails.
    virtual std::unique_ptr<ZylMidiInputPort> openInput(const juce::String& name,
                                                        ZylMidiInputPortCallback& callback) = 0;
    virtual std::unique_ptr<ZylMidiOutputPort> openOutput(const juce::String& name) = 0;
};
