#pragma once

#include "framework/ZylMidiCable.h"
#include "framework/ZylMidiKeyboardCable.h"
#include "framework/ZylModule.h"
#include "framework/ZylParameterEpoch.h"
#include "modules/ZylMidiSequencer.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <atomic>
#include <cstdint>
#include <memory>

class ZylMidiInputGroupModule;
class ZylParameter;
class ZylTransportModule;
class ZylValue;

// Decides every block which MIDI the module tree sees (id 300100, child of the MIDI input group
// 3000). The host MIDI cable on pin 0 is replaced by the chosen source: nothing, the built-in
// track while the transport plays, the host's own MIDI, or the current input port, filtered by
// channel. Song position, start, continue, stop and clock in the result drive the transport
// unless it is Stopped. The result is copied to the thru cable (pin 2) and played into the
// shared keyboard state (pin 1), whose note-ons this module remembers.
//
// Audio thread: process and what it calls, under the callback lock. Message thread:
// handleMessage, under the callback lock and then the parameter's lock. A block allocates
// nothing once prepareToPlay has sized the scratch buffer, unless a source sends more events
// than it has room for.
class ZylMidiInputModule : public ZylModule, public juce::MidiKeyboardStateListener
{
public:
    static constexpr std::int32_t kModuleId = 300100;
    static constexpr std::int32_t kTransportModuleId = 2000;
    static constexpr std::int32_t kGroupModuleId = 3000;
    static constexpr int kDeviceParameterId = 0;
    static constexpr int kChannelParameterId = 1;
    static constexpr int kTrackParameterId = 2;
    static constexpr int kSourceNone = 0;
    static constexpr int kSourceTrack = 1;
    static constexpr int kSourceHost = 2;
    static constexpr int kFirstPortSource = 3;
    // Bytes of scratch MIDI per block sample reserved by prepareToPlay.
    static constexpr int kScratchBytesPerSample = 8;

    ZylMidiInputModule(ZylModuleContainer* container, ZylMidiInputGroupModule* group);
    ~ZylMidiInputModule() override;

    void initialise() override;
    void prepareToPlay(double sampleRate, int blockSize) override;
    void releaseResources() override;
    void activate() override;
    void deactivate() override;
    bool handleMessage(void* sender, int code, int timeMs) override;
    void processPendingReset() override;
    void process(int numSamples) override;

    void handleNoteOn(juce::MidiKeyboardState* source, int midiChannel, int midiNoteNumber,
                      float velocity) override;
    void handleNoteOff(juce::MidiKeyboardState*, int, int, float) override {}

    virtual ZylParameter* getDeviceParameter() const;
    virtual ZylParameter* getTrackParameter() const;
    virtual ZylParameter* getChannelParameter() const;
    virtual ZylPin<ZylMidiCable>* getMidiOutPin() const;
    virtual ZylPin<ZylMidiKeyboardCable>* getKeyboardPin() const;
    virtual ZylPin<ZylMidiCable>* getMidiThruPin() const;
    virtual float getLastVelocity() const;
    virtual int getLastNote() const;
    virtual int getLastChannel() const;
    // Whether the keyboard state held a note (note 0 included) after the last block.
    virtual bool isAnyNoteOn() const;
    virtual ZylMidiSequencer& getSequencer();
    // Follows the system messages of buffer up to position numSamples while the transport is
    // not Stopped.
    virtual void handleSyncMessages(juce::MidiBuffer& buffer, int numSamples);
    // Stores a song position of 0 or more (in sixteenths), then moves the transport's clock to
    // the stored one and sets the clock count from it.
    virtual void setSongPosition(int sixteenths);
    // One MIDI clock: every sixth moves the transport's clock to the count's sixteenth.
    virtual void handleClockTick();
    virtual void setClockCount(int count);
    // Replaces buffer (the host's MIDI) by the chosen source's events.
    virtual void processMidiInput(juce::MidiBuffer& buffer, int numSamples);
    virtual ZylTransportModule* getTransportModule() const;
    virtual ZylMidiInputGroupModule* getInputGroupModule() const;

    // Removes the collector from the group's device manager; the group calls it before its
    // device manager goes.
    void detachFromDeviceManager();

    int getStoredSongPosition() const noexcept { return storedSongPosition; }
    int getClockCount() const noexcept { return clockCount; }
    juce::MidiMessageCollector* getMessageCollector() const noexcept { return collector.get(); }

private:
    // What processMidiInput takes from the parameters, read again only once the parameter epoch
    // has moved (ZylParameterEpoch): an idle block touches none of them.
    struct Settings
    {
        // Both the device and the channel parameter exist.
        bool complete = false;
        int source = 0;
        int channel = 0;
        // The port's name while a port is the source.
        juce::String portName;
        // While the track is the source: whether the transport plays, and the track.
        bool trackPlays = false;
        int track = 0;
    };
    void readSettings();
    void clearHeldNoteState();

    ZylMidiInputGroupModule* group;
    std::unique_ptr<juce::MidiMessageCollector> collector;
    ZylMidiSequencer sequencer;
    juce::MidiBuffer scratch;
    std::atomic<float> lastVelocity { 0.0f };
    std::atomic<int> lastNote { 0 };
    std::atomic<int> lastChannel { 0 };
    std::atomic<bool> anyNoteOn { false };
    int storedSongPosition = 0;
    int clockCount = 0;
    double sampleRate = 44100.0;
    int lastSourceIndex = -1;
    bool listening = false;
    // The port whose name cachedPortName holds, and the list it was read from.
    const ZylValue* portNameValue = nullptr;
    int portNameGeneration = -1;
    juce::String cachedPortName;
    Settings settings;
    ZylParameterReading settingsReading;
};
