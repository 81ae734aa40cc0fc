#include "modules/ZylSamplerVoice.h"

#include "modules/ZylSamplerSound.h"

#include <algorithm>
#include <cmath>

namespace
{
double noteFrequency(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// Asks the cache for the frames from..to (inclusive) of one channel. A block reads a few
// kilobytes of a table megabytes long; with many voices the plain loop would wait for memory on
// almost every cache line, one line at a time. Requesting the whole range first lets the loads
// overlap.
inline void prefetchFrames(const float* channel, int from, int to) noexcept
{
#if defined(__GNUC__)
    constexpr int kFloatsPerLine = 16;
    for (int frame = from; frame <= to; frame += kFloatsPerLine)
        __builtin_prefetch(channel + frame);
    __builtin_prefetch(channel + to);
#else
    juce::ignoreUnused(channel, from, to);
#endif
}

// Samples rendered per pass of the steady loop; its scratch lives on the stack.
constexpr int kChunk = 64;

// Adds n interpolated samples to the output: the left side of sample k is left[k * step], its
// right side right[k * step]. Without levels both sides take a constant gain; with them (the
// release) sample k is scaled by the side's gain, then by levels[k]. A null right output takes
// the mean of the two sides on the left one.
template <int step>
void mix(float* toL, float* toR, const float* left, const float* right, int n,
         const float* levels, float gainL, float gainR, float sideL, float sideR) noexcept
{
    if (levels == nullptr)
    {
        if (toR != nullptr)
            for (int k = 0; k < n; ++k)
            {
                toL[k] += left[k * step] * gainL;
                toR[k] += right[k * step] * gainR;
            }
        else
            for (int k = 0; k < n; ++k)
                toL[k] += (left[k * step] * gainL + right[k * step] * gainR) * 0.5f;
        return;
    }
    if (toR != nullptr)
        for (int k = 0; k < n; ++k)
        {
            toL[k] += left[k * step] * sideL * levels[k];
            toR[k] += right[k * step] * sideR * levels[k];
        }
    else
        for (int k = 0; k < n; ++k)
            toL[k] += (left[k * step] * sideL * levels[k] + right[k * step] * sideR * levels[k])
                      * 0.5f;
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
    float* const outL = output.getWritePointer(0, startSample);
    float* const outR = stereoOut ? output.getWritePointer(1, startSample) : nullptr;

    // The state lives in locals while the block runs: the output stores could otherwise alias
    // the members and force them through memory on every sample.
    const double length = sound.getLength();
    const bool looped = sound.isLooped();
    const double ratio = pitchRatio;
    const float leftGain = lgain;
    const float rightGain = rgain;
    double position = sourceSamplePosition;
    float level = attackReleaseLevel;
    bool attack = isInAttack;
    bool release = isInRelease;
    bool stopped = false;

    // A stereo sound is read from its interleaved frames: one place holds both sides.
    const float* const pairs = stereoIn ? sound.getInterleavedFrames() : nullptr;
    const auto prefetch = [&](int from, int to)
    {
        if (pairs != nullptr)
            prefetchFrames(pairs, 2 * from, 2 * to + 1);
        else
        {
            prefetchFrames(inL, from, to);
            if (stereoIn)
                prefetchFrames(inR, from, to);
        }
    };
    // A voice pitched far above its root skips most lines of its range; it is not worth asking
    // for them all.
    constexpr double kPrefetchRatioLimit = 4.0;
    if (ratio <= kPrefetchRatioLimit)
    {
        // The frames this block can read: from the current one to the one past the last step,
        // wrapped once for a looped sound, never past the guard frames.
        const int lastFrame = static_cast<int>(length) + ZylSamplerSound::kGuardFrames - 1;
        const int first = std::min(static_cast<int>(position), lastFrame);
        const double reach = position + ratio * numSamples + 1.0;
        prefetch(first, static_cast<int>(std::min(reach, static_cast<double>(lastFrame))));
        if (looped && reach > length)
            prefetch(0, static_cast<int>(std::min(reach - length, static_cast<double>(lastFrame))));
    }

    int i = 0;
    while (i < numSamples)
    {
        // Steady level or release: render up to the loop point or the end without wrap tests.
        // The position stays below length (looped) or at most at length (one-shot) while it is
        // read, as in the general step below.
        if (!attack)
        {
            const double room = (length - position) / ratio;
            int run = numSamples - i;
            if (room < run)
                run = std::max(0, static_cast<int>(room) - 1);
            const float gainL = leftGain * level;
            const float gainR = rightGain * level;
            while (run > 0)
            {
                // In chunks: the release levels (a plain running sum, as the single step keeps
                // it), the read positions (no carried sum, so the compiler can vectorise them),
                // the reads and interpolation, then the mix into the output.
                int n = std::min(run, kChunk);
                float levels[kChunk];
                if (release)
                {
                    for (int k = 0; k < n; ++k)
                    {
                        const float before = level;
                        level += releaseDelta;
                        if (level <= 0.0f)
                        {
                            // This sample is not rendered: the voice ends here.
                            n = k;
                            stopped = true;
                            break;
                        }
                        levels[k] = before;
                    }
                }
                int frame[kChunk];
                float fraction[kChunk];
                float mixed[2 * kChunk];
                for (int k = 0; k < n; ++k)
                {
                    const double at = position + static_cast<double>(k) * ratio;
                    const int pos = static_cast<int>(at);
                    frame[k] = pos;
                    fraction[k] = static_cast<float>(at - pos);
                }
                float* const toL = outL + i;
                float* const toR = stereoOut ? outR + i : nullptr;
                const float* const levelsOrNull = release ? levels : nullptr;
                if (stereoIn && pairs != nullptr)
                {
                    // mixed holds left, right pairs.
                    for (int k = 0; k < n; ++k)
                    {
                        const float* const f = pairs + 2 * frame[k];
                        const float alpha = fraction[k];
                        mixed[2 * k] = f[0] + (f[2] - f[0]) * alpha;
                        mixed[2 * k + 1] = f[1] + (f[3] - f[1]) * alpha;
                    }
                    mix<2>(toL, toR, mixed, mixed + 1, n, levelsOrNull, gainL, gainR, leftGain,
                           rightGain);
                }
                else
                {
                    // mixed holds the left side, then (stereo) the right one.
                    for (int k = 0; k < n; ++k)
                    {
                        const float* const l = inL + frame[k];
                        mixed[k] = l[0] + (l[1] - l[0]) * fraction[k];
                    }
                    if (stereoIn)
                        for (int k = 0; k < n; ++k)
                        {
                            const float* const r = inR + frame[k];
                            mixed[kChunk + k] = r[0] + (r[1] - r[0]) * fraction[k];
                        }
                    mix<1>(toL, toR, mixed, stereoIn ? mixed + kChunk : mixed, n, levelsOrNull,
                           gainL, gainR, leftGain, rightGain);
                }
                position += static_cast<double>(n) * ratio;
                i += n;
                run -= n;
                if (stopped)
                    break;
            }
            if (stopped || i >= numSamples)
                break;
        }

        const int pos = static_cast<int>(position);
        const float alpha = static_cast<float>(position - pos);
        float l = inL[pos] + (inL[pos + 1] - inL[pos]) * alpha;
        float r = stereoIn ? inR[pos] + (inR[pos + 1] - inR[pos]) * alpha : l;
        l *= leftGain;
        r *= rightGain;

        if (attack)
        {
            l *= level;
            r *= level;
            level += attackDelta;
            if (level >= 1.0f)
            {
                level = 1.0f;
                attack = false;
            }
        }
        else if (release)
        {
            const float before = level;
            level += releaseDelta;
            if (level <= 0.0f)
            {
                stopped = true;
                break;
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
        ++i;
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
            stopped = true;
            break;
        }
    }

    sourceSamplePosition = position;
    attackReleaseLevel = level;
    isInAttack = attack;
    isInRelease = release;
    if (stopped)
        stopNote(0.0f, false);
}
