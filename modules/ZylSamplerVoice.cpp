#include "modules/ZylSamplerVoice.h"

#include "modules/ZylSamplerSound.h"

#include <cmath>

namespace
{
double noteFrequency(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}
} // namespace

ZylSamplerVoice::ZylSamplerVoice() = default;
ZylSamplerVoice::~ZylSamplerVoice() = default;

bool ZylSamplerVoice::canPlaySound(juce::SynthesiserSound* sound)
{
    return dynamic_cast<const ZylSamplerSound*>(sound) != nullptr;
}

void ZylSamplerVoice::startNote(int midiNoteNumber, float velocity, juce::SynthesiserSound* s,
                                int /*currentPitchWheelPosition*/)
{
    auto* sound = dynamic_cast<const ZylSamplerSound*>(s);
    if (sound == nullptr)
        return;
    if (sound->isEmpty() || !(getSampleRate() > 0.0))
    {
        clearCurrentNote();
        return;
    }

    pitchRatio = noteFrequency(midiNoteNumber) * sound->getSourceSampleRate()
                 / (noteFrequency(sound->getMidiRootNote()) * getSampleRate());
    sourceSamplePosition = 0.0;
    lgain = velocity;
    rgain = velocity;
    isInRelease = false;

    if (sound->getAttackSamples() > 0)
    {
        isInAttack = true;
        attackReleaseLevel = 0.0f;
        attackDelta = static_cast<float>(pitchRatio / sound->getAttackSamples());
    }
    else
    {
        isInAttack = false;
        attackReleaseLevel = 1.0f;
        attackDelta = 0.0f;
    }

    releaseDelta = sound->getReleaseSamples() > 0
                       ? static_cast<float>(-pitchRatio / sound->getReleaseSamples())
                       : 0.0f;
}

void ZylSamplerVoice::stopNote(float /*velocity*/, bool allowTailOff)
{
    if (allowTailOff)
    {
        auto* sound = dynamic_cast<const ZylSamplerSound*>(getCurrentlyPlayingSound().get());
        if (sound == nullptr || !(sound->isLooped() && sound->getReleaseSamples() <= 0))
        {
            isInAttack = false;
            isInRelease = true;
            return;
        }
    }
    clearCurrentNote();
    isInAttack = false;
    isInRelease = false;
}

void ZylSamplerVoice::pitchWheelMoved(int /*newPitchWheelValue*/)
{
}

void ZylSamplerVoice::controllerMoved(int /*controllerNumber*/, int /*newControllerValue*/)
{
}

void ZylSamplerVoice::renderNextBlock(juce::AudioSampleBuffer& output, int startSample,
                                      int numSamples)
{
    auto* playing = getCurrentlyPlayingSound().get();
    if (playing == nullptr || output.getNumChannels() <= 0 || numSamples <= 0)
        return;
    // canPlaySound let only sampler sounds in; startNote refused empty ones.
    const auto& sound = static_cast<const ZylSamplerSound&>(*playing);
    const bool stereoIn = sound.getAudioData()->getNumChannels() > 1;
    const bool stereoOut = output.getNumChannels() > 1;
    if (stereoIn)
    {
        if (stereoOut)
            render<true, true>(sound, output, startSample, numSamples);
        else
            render<true, false>(sound, output, startSample, numSamples);
    }
    else
    {
        if (stereoOut)
            render<false, true>(sound, output, startSample, numSamples);
        else
            render<false, false>(sound, output, startSample, numSamples);
    }
}

template <bool stereoIn, bool stereoOut>
void ZylSamplerVoice::render(const ZylSamplerSound& sound, juce::AudioSampleBuffer& output,
                             int startSample, int numSamples)
{
    const auto& data = *sound.getAudioData();
    const float* const inL = data.getReadPointer(0);
    const float* const inR = stereoIn ? data.getReadPointer(1) : inL;
    float* outL = output.getWritePointer(0, startSample);
    float* outR = stereoOut ? output.getWritePointer(1, startSample) : nullptr;

    const double length = sound.getLength();
    const bool looped = sound.isLooped();
    const double ratio = pitchRatio;
    double position = sourceSamplePosition;

    for (int i = 0; i < numSamples; ++i)
    {
        const int pos = static_cast<int>(position);
        const float alpha = static_cast<float>(position - pos);
        float l = inL[pos] + (inL[pos + 1] - inL[pos]) * alpha;
        float r = stereoIn ? inR[pos] + (inR[pos + 1] - inR[pos]) * alpha : l;
        l *= lgain;
        r *= rgain;

        if (isInAttack)
        {
            l *= attackReleaseLevel;
            r *= attackReleaseLevel;
            attackReleaseLevel += attackDelta;
            if (attackReleaseLevel >= 1.0f)
            {
                attackReleaseLevel = 1.0f;
                isInAttack = false;
            }
        }
        else if (isInRelease)
        {
            const float before = attackReleaseLevel;
            attackReleaseLevel += releaseDelta;
            if (attackReleaseLevel <= 0.0f)
            {
                stopNote(0.0f, false);
                return;
            }
            l *= before;
            r *= before;
        }

        if (stereoOut)
        {
            outL[i] += l;
            outR[i] += r;
        }
        else
        {
            outL[i] += (l + r) * 0.5f;
        }

        position += ratio;
        if (looped)
        {
            if (position >= length)
            {
                position -= length;
                if (position >= length)
                    position = std::fmod(position, length);
            }
        }
        else if (position > length)
        {
            stopNote(0.0f, false);
            return;
        }
    }
    sourceSamplePosition = position;
}
