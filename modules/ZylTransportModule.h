#pragma once

#include "framework/ZylModule.h"
#include "framework/ZylParameterEpoch.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_events/juce_events.h>

#include <cstdint>

class ZylParameter;
class ZylValue;
class ZylTransportDomainSet;

// Tempo, time signature, play state and song position for the whole tree. Every block takes the
// position from the host's play head (the container's) or from its own sample clock, derives the
// bar and the beat, pushes the host's tempo and time signature into the parameters and posts
// kBarChanged / kBeatChanged when they change. Start, restart, rewind and stop arrive as command
// messages through the state parameter and are carried out on the message thread; restart,
// rewind and stop post the reset command first. A 500 ms timer posts kTransportTick.
//
// Locks: the sample clock, the stored position, bar and beat are guarded by the callback lock
// (the audio thread holds it for the whole block; every other reader and writer takes it). A
// parameter's lock is taken inside it.
class ZylTransportModule : public ZylModule, public juce::Timer
{
public:
    static constexpr std::int32_t kModuleId = 2000;
    static constexpr int kBpmParameterId = 0;
    static constexpr int kNumeratorParameterId = 1;
    static constexpr int kDenominatorParameterId = 2;
    static constexpr int kStateParameterId = 1; // in the command set
    static constexpr int kTickIntervalMs = 500;
    // The tempo a host gives as 0, negative or not a number becomes this.
    static constexpr double kFallbackBpm = 120.0;
    static constexpr int kFallbackTimeSig = 4;

    explicit ZylTransportModule(ZylModuleContainer* container);
    ~ZylTransportModule() override;

    void initialise() override;
    // Rewinds the own clock, stores the rate and runs one empty block, which publishes the
    // position once.
    void prepareToPlay(double sampleRate, int blockSize) override;
    bool handleMessage(void* sender, int code, int timeMs) override;
    // readPosition, then publishPosition; the block length is not used.
    void process(int numSamples) override;
    void timerCallback() override;

    virtual ZylTransportDomainSet* getDomainSet() const;
    virtual ZylParameter* getBpmParameter() const;
    virtual ZylParameter* getNumeratorParameter() const;
    virtual ZylParameter* getDenominatorParameter() const;
    virtual ZylParameter* getStateParameter() const;
    // The position for this block: the host's when a play head answers with a tempo or a
    // musical position (its tempo and time signature brought into range), else the stored one
    // advanced by the own clock.
    virtual void readPosition(juce::AudioPlayHead::CurrentPositionInfo& info);
    // Stores info when it differs from the stored position, derives bar and beat, pushes a
    // changed tempo or time signature into the parameters and posts bar and beat changes.
    virtual void publishPosition(const juce::AudioPlayHead::CurrentPositionInfo& info);
    // The stored position, bar, beat and whether the last block followed the host, under the
    // callback lock. Bar and beat are -1 until the first published change.
    virtual void copyPosition(juce::AudioPlayHead::CurrentPositionInfo& info, int& bar, int& beat,
                              bool& hostPositionUsed) const;
    // Follows the host starting (while Armed: rewind and start) and stopping (while Playing:
    // stop). playStateChanged: whether the host's play flag differs from the stored one.
    virtual void syncHostPlayState(const juce::AudioPlayHead::CurrentPositionInfo& host,
                                   bool& playStateChanged, bool& hostPlaying);
    virtual bool isPlaying() const;
    virtual bool isArmed() const;
    virtual bool isStopped() const;
    virtual void setBpm(float bpm);
    virtual void setNumerator(int numerator);
    virtual int getNumerator() const;
    virtual void setDenominator(int denominator);
    virtual int getDenominator() const;
    // These only post; the change happens when the message is handled on the message thread.
    // Callable from any thread.
    virtual void start();
    virtual void restart();
    virtual void rewind();
    virtual void stop();
    // Posts the reset command through the container's reset parameter.
    virtual void notifyRoot();

    // The own clock in samples since the song start. Kept in a double, which counts whole
    // samples exactly far beyond any session (2^53), so nothing wraps after 2^31 samples.
    // Callers outside the block take the callback lock (these do not).
    double getSamplePosition() const noexcept { return samplePosition; }
    void setSamplePosition(double samples) noexcept { samplePosition = samples; }
    // The root's step after every block.
    void advanceSamplePosition(int numSamples) noexcept { samplePosition += numSamples; }
    double getSampleRate() const noexcept { return sampleRate; }
    // The position published by the last block; read inside the block or under the callback
    // lock.
    const juce::AudioPlayHead::CurrentPositionInfo& getPosition() const noexcept { return position; }

    // The bar and beat of a position in quarter notes, both from 0. A position that is not a
    // number counts as 0; bars beyond the int range are held at its ends.
    static void computeBarAndBeat(double ppqPosition, int numerator, int denominator, int& bar,
                                  int& beat);

private:
    bool stateIs(const ZylValue* stateValue) const;
    void setState(ZylValue* stateValue);
    void postThroughState(int code);
    // Carries out a state command; false for other command numbers.
    bool handleStateCommand(int command);
    // Stores a tempo or time-signature parameter's number, rewinds the own clock and posts a
    // beat change.
    void takeTimingParameter(ZylParameter* parameter, void (ZylTransportModule::*store)(float));
    void storeBpm(float value);
    void storeNumerator(float value);
    void storeDenominator(float value);
    double ownClockPpq(double bpm) const;

    ZylTransportDomainSet* domainSet = nullptr;
    juce::AudioPlayHead::CurrentPositionInfo position;
    int bar = -1;
    int beat = -1;
    bool hostPositionUsed = false;
    double samplePosition = 0.0;
    double sampleRate = 0.0;
    // isPlaying as readPosition last read it for its own clock, and when (ZylParameterEpoch).
    bool blockPlaying = false;
    ZylParameterReading playStateReading;
};
