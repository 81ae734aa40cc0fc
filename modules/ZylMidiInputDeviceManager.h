#pragma once

#include "modules/ZylMidiPortBackend.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

// The MIDI input ports the user opened, by name, in the order of opening. Only the messages of
// one of them, the current input, reach the registered callbacks (active sensing never does).
// Listeners hear a change message after every attempt to open or close a port. The list of
// opened ports is written and read as XML.
//
// Threads: opening, closing, XML, names and callback registration on the message thread; the
// current input is followed from the audio thread without waiting; messages arrive on the
// ports' driver threads.
// Locks: the device lock guards the opened list and the current input, the callback lock the
// callback list and the forwarding; the two are never held together.
class ZylMidiInputDeviceManager : public juce::ChangeBroadcaster, public ZylMidiInputPortCallback
{
public:
    // The ports come from backend, which must outlive the manager; with none, no port is ever
    // present.
    explicit ZylMidiInputDeviceManager(ZylMidiPortBackend* backend);
    ~ZylMidiInputDeviceManager() override;

    // A "midiInputDeviceManager" element with one "midiInput" (attribute "name") per opened port,
    // in list order.
    virtual std::unique_ptr<juce::XmlElement> createXml() const;
    // Closes every opened port, then opens the ports named by the "midiInput" children of a
    // "midiInputDeviceManager" element (tag names in any case), in document order. Ports not
    // present now and other children are skipped; null opens nothing.
    virtual void restoreFromXml(const juce::XmlElement* xml);
    // Opens (started) or closes the port of that name. Nothing happens when it already is as
    // asked; otherwise listeners are told, also when the port is missing or failed to open.
    virtual void setMidiInputEnabled(const juce::String& name, bool enabled);
    virtual bool isMidiInputEnabled(const juce::String& name) const;
    // A callback is registered at most once; adding it again moves it to the end.
    virtual void addMidiInputCallback(juce::MidiInputCallback* callback);
    virtual void removeMidiInputCallback(juce::MidiInputCallback* callback);
    virtual void getEnabledInputNames(std::vector<std::wstring>& names) const;
    virtual void disableAllInputs();
    // The opened port of that name becomes current; none when no opened port has the name.
    // Waits for the device lock: the audio thread uses followCurrentInput.
    virtual void setCurrentInput(const juce::String& name);
    // The opened port of that name becomes current unless it already is, without ever waiting:
    // while another thread holds the device lock (opening or closing a port, which may take
    // long), nothing changes and the result is false. For the audio thread, every block.
    bool followCurrentInput(const juce::String& name);
    // Valid only while the device lock is held (the message thread may close the port).
    virtual ZylMidiInputPort* getCurrentInput() const;

    // The current input's name, empty for none, read under the device lock.
    juce::String getCurrentInputName() const;
    const juce::CriticalSection& getDeviceLock() const noexcept { return deviceLock; }
    ZylMidiPortBackend* getPortBackend() const noexcept { return backend; }

    // Forwards to every callback in registration order, with the system's port as source.
    void handlePortMessage(ZylMidiInputPort& port, const juce::MidiMessage& message) override;

private:
    struct OpenedInput
    {
        juce::String name;
        std::unique_ptr<ZylMidiInputPort> port;
    };

    ZylMidiPortBackend* backend;
    std::vector<OpenedInput> inputs;
    juce::Array<juce::MidiInputCallback*> callbacks;
    // Compared without the device lock by the driver threads; never used beyond the comparison.
    std::atomic<ZylMidiInputPort*> currentInput { nullptr };
    juce::CriticalSection callbackLock;
    juce::CriticalSection deviceLock;

    JUCE_DECLARE_NON_COPYABLE(ZylMidiInputDeviceManager)
};
