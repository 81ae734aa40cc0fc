#pragma once

#include "modules/ZylMidiPortBackend.h"

#include <juce_events/juce_events.h>

#include <memory>
#include <string>
#include <vector>

// The MIDI output ports the user opened, by name, in the order of opening; single messages go
// out through them at once. Listeners hear a change message after every attempt to open or close
// a port. The list of opened ports is written and read as XML.
//
// Threads: opening, closing, XML and names on the message thread; sends from the audio thread.
// The device lock guards the list and every send. indexOfOutput, isMidiOutputEnabled and
// getEnabledOutputNames read without it (the message thread is the only writer): a caller on
// another thread holds getDeviceLock() around indexOfOutput and the sends that use its result.
// Closing a port holds the lock while the system port closes, which may take long: the audio
// thread only tries it (juce::ScopedTryLock) and never waits.
class ZylMidiOutputDeviceManager : public juce::ChangeBroadcaster
{
public:
    // The ports come from backend, which must outlive the manager; with none, no port is ever
    // present.
    explicit ZylMidiOutputDeviceManager(ZylMidiPortBackend* backend);
    ~ZylMidiOutputDeviceManager() override;

    // A "midiOutputDeviceManager" element with one "midiOutput" (attribute "name") per opened
    // port, in list order.
    virtual std::unique_ptr<juce::XmlElement> createXml() const;
    // Closes every opened port, then opens the ports named by the "midiOutput" children of a
    // "midiOutputDeviceManager" element (tag names in any case), in document order. Ports not
    // present now and other children are skipped; null opens nothing.
    virtual void restoreFromXml(const juce::XmlElement* xml);
    // The list index of the port opened under that name, or -1.
    virtual int indexOfOutput(const juce::String& name) const;
    // Opens or closes the port of that name. Nothing happens when it already is as asked;
    // otherwise listeners are told, also when the port is missing or failed to open.
    virtual void setMidiOutputEnabled(const juce::String& name, bool enabled);
    virtual bool isMidiOutputEnabled(const juce::String& name) const;
    // Sends through the port at that list index; other indexes do nothing.
    virtual void sendMessageNowByIndex(int index, const juce::MidiMessage& message);
    // Sends through the port opened under that name, when there is one.
    virtual void sendMessageNow(const juce::String& name, const juce::MidiMessage& message);
    virtual void getEnabledOutputNames(std::vector<std::wstring>& names) const;
    virtual void disableAllOutputs();

    const juce::CriticalSection& getDeviceLock() const noexcept { return deviceLock; }
    ZylMidiPortBackend* getPortBackend() const noexcept { return backend; }

private:
    ZylMidiPortBackend* backend;
    std::vector<std::unique_ptr<ZylMidiOutputPort>> outputs;
    std::vector<juce::String> names; // entry i names outputs[i]
    juce::CriticalSection deviceLock;

    JUCE_DECLARE_NON_COPYABLE(ZylMidiOutputDeviceManager)
};
