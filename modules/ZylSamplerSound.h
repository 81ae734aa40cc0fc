#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_audio_formats/juce_audio_formats.h>

#include <memory>

// One sample for the built-in synthesiser, read whole from an audio reader at construction: the
// notes it serves, the note at which it sounds at its own pitch, attack and release times (in
// source frames) and whether it loops.
//
// The data holds min(2, source channels) channels of length + 4 frames. The four frames past the
// end are guard frames for the voice's interpolation: zeros for a one-shot sample, a copy of the
// first frames for a looped one, so that reading across the loop point joins the end to the
// start without a click.
//
// A reader without frames or without a sample rate gives an empty sound (no data, length 0);
// voices refuse to play it and the synthesiser does not add it.
class ZylSamplerSound : public juce::SynthesiserSound
{
public:
    static constexpr int kGuardFrames = 4;
    using Ptr = juce::ReferenceCountedObjectPtr<ZylSamplerSound>;

    // The reader is read completely here and may be deleted afterwards. A maximum length of 0 or
    // less keeps the whole sample; times below 0 count as 0.
    ZylSamplerSound(const juce::String& name, juce::AudioFormatReader& source,
                    const juce::BigInteger& midiNotes, int midiNoteForNormalPitch,
                    double attackTimeSecs, double releaseTimeSecs,
                    double maxSampleLengthSeconds, bool loop);
    ~ZylSamplerSound() override;

    bool appliesToNote(int midiNoteNumber) override;
    bool appliesToChannel(int midiChannel) override;

    const juce::String& getName() const noexcept { return name; }
    // Null for an empty sound.
    const juce::AudioSampleBuffer* getAudioData() const noexcept { return data.get(); }
    // A stereo sound's frames (guard frames included) as left, right pairs, the same values as
    // the data: the voice reads both sides of a frame from one place. Null for a mono or empty
    // sound.
    const float* getInterleavedFrames() const noexcept { return interleaved.get(); }
    bool isEmpty() const noexcept { return data == nullptr || length <= 0; }
    double getSourceSampleRate() const noexcept { return sourceSampleRate; }
    const juce::BigInteger& getMidiNotes() const noexcept { return midiNotes; }
    int getLength() const noexcept { return length; }
    int getAttackSamples() const noexcept { return attackSamples; }
    int getReleaseSamples() const noexcept { return releaseSamples; }
    int getMidiRootNote() const noexcept { return midiRootNote; }
    bool isLooped() const noexcept { return loop; }

private:
    juce::String name;
    std::unique_ptr<juce::AudioSampleBuffer> data;
    std::unique_ptr<float[]> interleaved;
    double sourceSampleRate = 0.0;
    juce::BigInteger midiNotes;
    int length = 0;
    int attackSamples = 0;
    int releaseSamples = 0;
    int midiRootNote = 0;
    bool loop = false;

    JUCE_LEAK_DETECTOR(ZylSamplerSound)
};
