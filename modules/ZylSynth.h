#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_core/juce_core.h>

#include <atomic>

// The built-in instrument: a juce::Synthesiser with 64 ZylSamplerVoice voices and the sounds of
// a sound bank. The bank is a zip archive whose entry 0, "_metadata.xml", describes either
// recorded WAV samples kept as the following entries ("sampler") or harmonic spectra from which
// ZylWavetable builds looped sounds ("wavetable"). The program's bank is the embedded archive
// "soundbank", a wavetable bank.
//
// Loading is forgiving: a damaged archive or description loads fewer sounds (or none) and
// writes a debug line; the numbers of a description are brought into ranges that make sense
// (notes 0 to 127, at most kMaxHarmonics harmonics, a bandwidth above 0, finite times), and a
// sound that would hold nothing is never added.
//
// Built on the message thread at start-up; the voices play at 44100 Hz until the synth module
// passes the device's rate. Rendering and note handling are juce::Synthesiser's, under its lock;
// only the choice of the voice to steal is made here, in one walk over the voices that allocates
// nothing (the base builds and sorts a list on the audio thread for it).
class ZylSynth : public juce::Synthesiser
{
public:
    static constexpr int kNumVoices = 64;
    static constexpr double kDefaultSampleRate = 44100.0;
    static constexpr int kMaxHarmonics = 256;
    static constexpr double kMinBandwidthCents = 0.1;
    static constexpr double kMaxBandwidthCents = 2400.0;
    static constexpr double kMaxBandwidthScale = 4.0;
    static constexpr double kMaxFrequencyFactor = 1.0;
    static constexpr double kMaxSamplerSeconds = 600.0;

    // Loads the embedded sound bank.
    ZylSynth();
    // Loads the bank from the given archive instead (a stream over zip bytes).
    explicit ZylSynth(juce::InputStream& soundBankArchive);
    ~ZylSynth() override;

    // Whether no voice can be sounding: false from every note-on, true again after a float
    // render that left no voice holding a sound. While it holds, rendering a block without MIDI
    // adds nothing to the output, so a caller may skip it. Callable from any thread.
    bool isSilent() const noexcept;

    void noteOn(int midiChannel, int midiNoteNumber, float velocity) override;

    void loadSoundBank(juce::InputStream& archive);
    void loadSamplerBank(const juce::XmlElement& root, juce::ZipFile& archive);
    void loadWavetableBank(const juce::XmlElement& root);

protected:
    // The voice to take for a note when every voice that can play the sound is busy: the oldest
    // voice already on that note; else the oldest released voice; else, sparing the held voices
    // with the lowest and the highest note, the oldest voice held only by a pedal, then the
    // oldest voice; else the one with the highest note. It is the choice juce::Synthesiser makes
    // for voices of distinct start times, which every sounding voice has.
    juce::SynthesiserVoice* findVoiceToSteal(juce::SynthesiserSound* soundToPlay, int midiChannel,
                                             int midiNoteNumber) const override;
    void renderVoices(juce::AudioBuffer<float>& buffer, int startSample, int numSamples) override;

private:
    void addVoices();

    std::atomic<bool> silent { true };

    JUCE_DECLARE_NON_COPYABLE(ZylSynth)
};
