#pragma once

#include "framework/ZylMidiCable.h"
#include "framework/ZylModule.h"
#include "framework/ZylParameterEpoch.h"

#include <cstdint>
#include <string>

class ZylMidiOutputDeviceManager;
class ZylMidiOutputGroupModule;
class ZylValue;
class ZylParameter;
class ZylTransportModule;

// Delivers the space module's MIDI (pin 0) every block to one destination: nowhere, the host
// MIDI cable (pin 1), the built-in synthesiser's input (pin 2) or an opened output port, with
// every channel message moved to the output channel. Events beyond the block stay pending for
// later blocks. When the destination or channel changes, the old destination gets
// all-notes-off in the first block that sees the change.
//
// Audio thread: process, routeOutput, sendToDevice, under the callback lock. A block allocates
// nothing once prepareToPlay has sized the buffers, unless more events arrive than fit. It never
// waits for the device manager's lock, which the message thread holds while a port opens or
// closes: a block that finds it taken holds its port events back and sends them, ahead of the
// newer ones, with the first block that gets the lock.
class ZylMidiOutputModule : public ZylModule
{
public:
    static constexpr std::int32_t kModuleId = 310100;
    static constexpr std::int32_t kTransportModuleId = 2000;
    static constexpr std::int32_t kGroupModuleId = 3100;
    static constexpr int kDeviceParameterId = 0;
    static constexpr int kChannelParameterId = 1;
    static constexpr int kDestinationNone = 0;
    static constexpr int kDestinationHost = 1;
    static constexpr int kDestinationSynth = 2;
    static constexpr int kFirstPortDestination = 3;
    static constexpr int kScratchBytesPerSample = 8;

    ZylMidiOutputModule(ZylModuleContainer* container, ZylMidiOutputGroupModule* group);
    ~ZylMidiOutputModule() override;

    void initialise() override;
    void prepareToPlay(double sampleRate, int blockSize) override;
    bool handleMessage(void* sender, int code, int timeMs) override;
    void process(int numSamples) override;

    virtual ZylParameter* getDeviceParameter() const;
    virtual ZylParameter* getChannelParameter() const;
    virtual ZylTransportModule* getTransportModule() const;
    virtual ZylMidiOutputGroupModule* getOutputGroupModule() const;

    // Routes one block's events (positions below numSamples) to the destination; events may be
    // replaced by all-notes-off for the previous destination.
    void routeOutput(juce::MidiBuffer& events, juce::MidiBuffer& hostOut, juce::MidiBuffer& synthIn,
                     int numSamples);
    // Sends every event up to numSamples at once through the opened port of that name; nothing
    // when it is not open. When the device lock is taken they are held back for a later block.
    void sendToDevice(const std::wstring& portName, const juce::MidiBuffer& events, int numSamples);

    const juce::MidiBuffer& getPendingEvents() const noexcept { return pending; }

private:
    // What routeOutput takes from the parameters, read again only once the parameter epoch has
    // moved (ZylParameterEpoch): an idle block touches none of them.
    struct Route
    {
        // Both the device and the channel parameter exist.
        bool complete = false;
        int destination = 0;
        int channel = 0;
        // A port is the destination and cachedPortName holds its name.
        bool portNamed = false;
    };
    void readRoute();
    void holdBack(const juce::MidiBuffer& events);
    void sendHeldEventsIfFree();
    void sendHeldEvents(ZylMidiOutputDeviceManager& manager);

    ZylMidiOutputGroupModule* group;
    juce::MidiBuffer pending;
    juce::MidiBuffer now;
    juce::MidiBuffer later;
    juce::MidiBuffer routed;
    int lastDestination = -1;
    int lastChannel = -1;
    std::wstring lastDestinationName;
    std::wstring currentName;
    // The port whose name cachedPortName holds: copying the name every block would allocate.
    const ZylValue* portNameValue = nullptr;
    int portNameGeneration = -1;
    std::wstring cachedPortName;
    Route route;
    ZylParameterReading routeReading;
    // The name sendToDevice looks the port up by, as JUCE text, converted when it changes.
    std::wstring sendNameSource;
    juce::String sendName;
    // Port events not sent yet because the device lock was taken, all for the port named
    // heldName, in the order they are to leave (positions only keep that order); at most
    // heldCapacity bytes, the room prepareToPlay reserved.
    juce::MidiBuffer held;
    juce::String heldName;
    int heldCapacity = 0;
};
