#pragma once

#include "modules/ZylMidiPortBackend.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// MIDI ports for tests: settable lists of present port names, a switch that makes every open
// fail, delivery of incoming messages from any thread and outputs that record what they send.
// Delivery runs under the backend's mutex, which stop() and closing take too, so that no
// message reaches a port's callback once it is stopped, as with the system's ports.
class ZylFakeMidiPortBackend : public ZylMidiPortBackend
{
public:
    struct Sent
    {
        juce::String port;
        juce::MidiMessage message;
    };

    juce::StringArray inputNames;
    juce::StringArray outputNames;
    bool failOpen = false;
    // Runs at the start of every input port's stop(), on the stopping thread, before the port
    // stops: a test can hold a close half-way (a system port's close may take that long).
    std::function<void()> onInputStop;
    // Runs at the start of every output port's close, on the closing thread, before the port is
    // gone: the device manager closes under its device lock, so a test can hold that lock here.
    std::function<void()> onOutputClose;

    juce::StringArray getInputNames() override { return inputNames; }
    juce::StringArray getOutputNames() override { return outputNames; }

    std::unique_ptr<ZylMidiInputPort> openInput(const juce::String& name,
                                                ZylMidiInputPortCallback& callback) override
    {
        ++openAttempts;
        if (failOpen || !inputNames.contains(name))
            return nullptr;
        return std::make_unique<InputPort>(*this, name, callback);
    }

    std::unique_ptr<ZylMidiOutputPort> openOutput(const juce::String& name) override
    {
        ++openAttempts;
        if (failOpen || !outputNames.contains(name))
            return nullptr;
        return std::make_unique<OutputPort>(*this, name);
    }

    // Delivers message as if the started input port of that name received it; returns whether
    // such a port exists. Any thread.
    bool deliver(const juce::String& name, const juce::MidiMessage& message)
    {
        const std::lock_guard<std::mutex> guard(mutex);
        for (auto* port : liveInputs)
        {
            if (port->name == name && port->started)
            {
                port->callback.handlePortMessage(*port, message);
                return true;
            }
        }
        return false;
    }

    // The input ports open now (started or not), by name, in the order of opening.
    std::vector<std::pair<juce::String, bool>> openInputs()
    {
        const std::lock_guard<std::mutex> guard(mutex);
        std::vector<std::pair<juce::String, bool>> list;
        for (auto* port : liveInputs)
            list.emplace_back(port->name, port->started);
        return list;
    }

    int openOutputCount()
    {
        const std::lock_guard<std::mutex> guard(mutex);
        return liveOutputs;
    }

    std::vector<Sent> sent()
    {
        const std::lock_guard<std::mutex> guard(mutex);
        return sentMessages;
    }

    int openAttempts = 0;

private:
    class InputPort : public ZylMidiInputPort
    {
    public:
        InputPort(ZylFakeMidiPortBackend& owner, const juce::String& portName,
                  ZylMidiInputPortCallback& portCallback)
            : backend(owner), name(portName), callback(portCallback)
        {
            const std::lock_guard<std::mutex> guard(backend.mutex);
            backend.liveInputs.push_back(this);
        }

        ~InputPort() override
        {
            const std::lock_guard<std::mutex> guard(backend.mutex);
            auto& list = backend.liveInputs;
            list.erase(std::remove(list.begin(), list.end(), this), list.end());
        }

        juce::String getName() const override { return name; }

        void start() override
        {
            const std::lock_guard<std::mutex> guard(backend.mutex);
            started = true;
        }

        void stop() override
        {
            if (backend.onInputStop)
                backend.onInputStop();
            const std::lock_guard<std::mutex> guard(backend.mutex);
            started = false;
        }

        juce::MidiInput* getSystemPort() const override { return nullptr; }

        ZylFakeMidiPortBackend& backend;
        juce::String name;
        ZylMidiInputPortCallback& callback;
        bool started = false;
    };

    class OutputPort : public ZylMidiOutputPort
    {
    public:
        OutputPort(ZylFakeMidiPortBackend& owner, const juce::String& portName)
            : backend(owner), name(portName)
        {
            const std::lock_guard<std::mutex> guard(backend.mutex);
            ++backend.liveOutputs;
        }

        ~OutputPort() override
        {
            if (backend.onOutputClose)
                backend.onOutputClose();
            const std::lock_guard<std::mutex> guard(backend.mutex);
            --backend.liveOutputs;
        }

        juce::String getName() const override { return name; }

        void sendMessageNow(const juce::MidiMessage& message) override
        {
            const std::lock_guard<std::mutex> guard(backend.mutex);
            backend.sentMessages.push_back({ name, message });
        }

    private:
        ZylFakeMidiPortBackend& backend;
        juce::String name;
    };

    std::mutex mutex;
    std::vector<InputPort*> liveInputs;
    int liveOutputs = 0;
    std::vector<Sent> sentMessages;
};
