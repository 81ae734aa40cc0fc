#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

class ZylSamplerSound;

// Plays a ZylSamplerSound at the pitch of a note: linear interpolation between source frames, a
// linear attack from 0 to the note's velocity and a linear release back to 0, both measured in
// source frames. Left and right gains are the velocity. Pitch wheel and controllers do nothing.
//
// A looped sound wraps by its loop length (the fraction is kept) and reads the guard frames that
// repeat its start, so the loop point is seamless; it never ends on its own. A one-shot sound
// ends when the read position passes its length.
//
// Rendering allocates nothing and takes no lock; the synthesiser calls it under its own lock.
class ZylSamplerVoice : public juce::SynthesiserVoice
{
public:
    ZylSamplerVoice();
    ~ZylSamplerVoice() override;

    bool canPlaySound(juce::SynthesiserSound* sound) override;
    // An empty sound (no data) refuses the note: the voice stays free.
    void startNote(int midiNoteNumber, float velocity, juce::SynthesiserSound* sound,
                   int currentPitchWheelPosition) override;
    // With tail-off the release starts from the current level; a looped sound without a release
    // time stops at once (it would otherwise never end). Without tail-off the note ends at once.
    void stopNote(float velocity, bool allowTailOff) override;
    void pitchWheelMoved(int newPitchWheelValue) override;
    void controllerMoved(int controllerNumber, int newControllerValue) override;
    // Adds the voice's output to the buffer: left and right on a stereo buffer, their mean on a
    // mono one; a mono sample plays on both sides.
    void renderNextBlock(juce::AudioSampleBuffer& output, int startSample, int numSamples) override;
    using juce::SynthesiserVoice::renderNextBlock;

    // Stereo notes past their attack (held or in release) render eight samples at a time on
    // processors with AVX, else four (SSE2); both give the same bits. Lets tests turn the wider step off and on for every voice;
    // returns whether it runs now (never where the processor or the build lacks it).
    static bool setWideVectorStepAllowed(bool allowed) noexcept;

    double getPitchRatio() const noexcept { return pitchRatio; }
    double getSourceSamplePosition() const noexcept { return sourceSamplePosition; }
    float getEnvelopeLevel() const noexcept { return attackReleaseLevel; }
    bool isInAttackPhase() const noexcept { return isInAttack; }
    bool isInReleasePhase() const noexcept { return isInRelease; }

private:
    template <bool stereoIn, bool stereoOut>
    void render(const ZylSamplerSound& sound, juce::AudioSampleBuffer& output, int startSample,
                int numSamples);

    double pitchRatio = 0.0;
    double sourceSamplePosition = 0.0;
    float lgain = 0.0f;
    float rgain = 0.0f;
    float attackReleaseLevel = 0.0f;
    float attackDelta = 0.0f;
    float releaseDelta = 0.0f;
    bool isInAttack = false;
    bool isInRelease = false;

    JUCE_LEAK_DETECTOR(ZylSamplerVoice)
};
