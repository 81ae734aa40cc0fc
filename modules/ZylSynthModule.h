#pragma once

#include "framework/ZylAudioCable.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylModule.h"
#include "framework/ZylParameterEpoch.h"

#include <cstdint>
#include <memory>

class ZylParameter;
class ZylSynth;
class ZylSynthDomainSet;

// Puts the built-in synthesiser into the module tree (id 8000). Every block it renders the notes
// on its MIDI input pin (pin 1) into the audio buffer on its audio output pin (pin 0), with the
// gain of the program parameter "Gain" ramped from the previous block's gain over the whole
// buffer. A block that comes out silent carries 0.0001 in its first left sample, so that the
// output never consists of zeros only.
//
// Audio thread: process, render, keepAlive and processPendingReset run under the callback lock;
// getGain reads the parameter under its domain's lock. A block allocates nothing: the
// synthesiser renders straight into the cable's buffer.
class ZylSynthModule : public ZylModule
{
public:
    static constexpr std::int32_t kModuleId = 8000;
    static constexpr std::int32_t kTransportModuleId = 2000;
    static constexpr int kGainParameterId = 0;
    static constexpr float kGainScale = 0.65f;
    static constexpr float kKeepAliveSample = 0.0001f;

    explicit ZylSynthModule(ZylModuleContainer* container);
    ~ZylSynthModule() override;

    void initialise() override;
    // A new rate stops every note at once and passes the rate to the voices; an unchanged rate
    // changes nothing.
    void prepareToPlay(double sampleRate, int blockSize) override;
    // Cuts every sounding note.
    void releaseResources() override;
    // A pending reset lets the sounding notes fade by their release.
    void processPendingReset() override;
    // Renders one block. Without a cable (or buffer) on the audio pin the block renders nothing;
    // without one on the MIDI pin the sounding notes play on.
    void process(int numSamples) override;

    // Parameter 0 of the current program (the link parameter); null before initialise.
    virtual ZylParameter* getGainParameter() const;
    virtual ZylPin<ZylAudioCable>* getAudioOutPin() const;
    virtual ZylPin<ZylMidiCable>* getMidiInPin() const;
    // Module 2000, null when the tree has none.
    virtual ZylModule* getTransportModule() const;
    virtual ZylSynthDomainSet* getDomainSet() const;
    // The current gain value's factor times 0.65; 0 for "-oo dB".
    virtual float getGain() const;
    // Clears the buffer (unless add), renders the MIDI into it, ramps the gain from startGain to
    // endGain over the buffer's length and applies keepAlive.
    virtual void render(ZylSynth& synthesiser, juce::AudioSampleBuffer& output,
                        juce::MidiBuffer& midi, float startGain, float endGain, bool add);
    // Puts 0.0001 into the first sample of channel 0 when every sample is exactly 0.
    virtual void keepAlive(juce::AudioSampleBuffer& buffer);

    // Null before initialise.
    ZylSynth* getSynth() const noexcept { return synth.get(); }
    float getPreviousGain() const noexcept { return previousGain; }

private:
    ZylSynthDomainSet* domainSet = nullptr;
    std::unique_ptr<ZylSynth> synth;
    float previousGain = 0.0f;
    // getGain as process last read it, and when (ZylParameterEpoch).
    float blockGain = 0.0f;
    ZylParameterReading gainReading;
    // Stands in for a missing MIDI cable; never filled, so it never allocates.
    juce::MidiBuffer noMidi;
};
