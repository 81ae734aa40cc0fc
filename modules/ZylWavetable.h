#pragma once

#include "modules/ZylSamplerSound.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

class ZylRandomSequence;
struct kiss_fftr_state;

// Turns one harmonic description into looped sampler sounds by the PADsynth method: each
// harmonic is spread into a Gaussian band of frequencies, every bin gets a random phase and one
// inverse real FFT of 262144 points gives a long periodic wave. One sound is made for the root
// note and for every octave above and below it that stays within notes 0 to 127; each serves
// the twelve notes from 6 below to 5 above its centre, at 44100 Hz, as a 16-bit stereo WAV
// read back from memory (the right channel is the left rotated by half a table).
//
// Every sound's spectrum is cut where it would pass the Nyquist limit on the highest note that
// the sound serves. A spectrum cut down to nothing (no sounding harmonic left) yields no sound
// for that octave.
//
// The phases come from the random sequence the caller hands in; a bank that starts it from seed
// 1 builds the same tables at every start and on every platform. Built once at start-up on the
// message thread; a wavetable lives for one description.
class ZylWavetable
{
public:
    enum BaseFunction
    {
        kSine = 0,
        kTriangle = 1,
        kSawtooth = 2,
        kSquare = 3
    };

    static constexpr int kSampleRate = 44100;
    static constexpr int kTableSize = 262144;
    static constexpr double kAttackTime = 0.0005;
    static constexpr double kReleaseTime = 0.7;
    static constexpr double kMaxSoundSeconds = 30.0;
    static constexpr int kBaseSeriesSize = 128;

    explicit ZylWavetable(ZylRandomSequence& phaseSource);
    virtual ~ZylWavetable();

    void setRootMidiNote(int note) noexcept { rootMidiNote = note; }
    // Entry i is the amplitude of harmonic i (entry 0 is never sounded).
    void setHarmonics(std::vector<float> amplitudes) { harmonics = std::move(amplitudes); }
    void setBandwidth(double cents) noexcept { bandwidth = cents; }
    void setBandwidthScale(double scale) noexcept { bandwidthScale = scale; }
    void setRelativeFrequencyFactor(double factor) noexcept { relativeFrequencyFactor = factor; }
    void setBaseFunction(int function) noexcept { baseFunction = function; }
    void setName(const juce::String& soundName) { name = soundName; }

    int getRootMidiNote() const noexcept { return rootMidiNote; }
    const std::vector<float>& getHarmonics() const noexcept { return harmonics; }

    // 440 * 2^((note - 69) / 12), computed in double.
    static float noteToFrequency(int note);

    // One sound of a wavetable, planned in order: everything its table is built from, the phases
    // drawn from the sequence included. Building it touches nothing shared, so the sounds of a
    // bank can be built on several threads and come out the same as when built one by one.
    struct SoundPlan
    {
        juce::String name;
        int note = 0;
        juce::BigInteger notes;
        std::vector<float> spectrum;
        std::vector<float> phases; // kTableSize / 2 values
        float bandwidth = 0.0f;
        float bandwidthScale = 0.0f;
        float relativeFactor = 0.0f;
    };

    // Builds planned sounds with its own FFT set-up and scratch, reused from one sound to the
    // next; one builder serves one thread.
    class SoundBuilder
    {
    public:
        SoundBuilder();
        ~SoundBuilder();

        // The table, its WAV and the sampler sound read from it; null when a step fails.
        ZylSamplerSound::Ptr build(const SoundPlan& plan);

        // Fills table (n floats) with one PADsynth period from the harmonic amplitudes and the
        // phases (n / 2 of them); see the class comment.
        void buildPadSynthTable(int n, int sampleRate, float frequency, float bandwidthCents,
                                float bandwidthExponent, float relativeFactor, int numHarmonics,
                                const float* amplitudes, const float* phases, float* table);

        // Inverse real FFT of n points from amplitudes and phases (n / 2 each); not scaled.
        void inverseFft(int n, const float* amplitudes, const float* phases, float* out);

    private:
        void setFftSize(int n);

        kiss_fftr_state* fft = nullptr;
        std::vector<float> bins; // interleaved real and imaginary parts, fftSize / 2 + 1 pairs
        int numBins = 0;
        int fftSize = 0;
        std::vector<float> table;
        std::vector<float> amplitudeSpectrum;

        JUCE_DECLARE_NON_COPYABLE(SoundBuilder)
    };

    // Appends the plans of this wavetable's sounds: the root sound, then upwards, then downwards,
    // each drawing its phases from the sequence in that order.
    void planSounds(std::vector<SoundPlan>& out);

    // Appends the sounds of this wavetable, planned and built one by one.
    void createSounds(std::vector<ZylSamplerSound::Ptr>& out);

    // Null when the spectrum is empty.
    ZylSamplerSound::Ptr createSound(int note, const std::vector<float>& spectrum);

    // The series of the base function (128 entries) with a copy of it, scaled by harmonic h's
    // amplitude, placed on the multiples of h + 1.
    static void applyBaseFunction(const std::vector<float>& harmonicAmplitudes,
                                  std::vector<float>& out, int function);
    // Keeps the entries whose index + 1 times frequency stays within limit.
    static void limitToNyquist(std::vector<float>& spectrum, float frequency, float limit);

private:
    std::vector<float> makeSpectrum() const;
    void planCutSound(int centreNote, int topNote, const std::vector<float>& spectrum,
                      std::vector<SoundPlan>& out);
    // Draws the phases of a sound of this note; false (and nothing drawn) when there is none.
    bool planSound(int note, const std::vector<float>& spectrum, std::vector<SoundPlan>& out);

    ZylRandomSequence& random;
    juce::String name;
    int rootMidiNote = 0;
    std::vector<float> harmonics;
    double bandwidth = 50.0;
    double bandwidthScale = 1.0;
    double relativeFrequencyFactor = 0.0;
    int baseFunction = kSine;

    JUCE_DECLARE_NON_COPYABLE(ZylWavetable)
};
