#include "modules/ZylSamplerSound.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// Frames in source frames of a time in seconds, rounded; 0 for negative or non-finite times and
// at most a length the int type holds.
int framesOf(double seconds, double sampleRate)
{
    const double frames = seconds * sampleRate;
    if (!std::isfinite(frames) || frames <= 0.0)
        return 0;
    return static_cast<int>(std::min(std::round(frames),
                                     static_cast<double>(std::numeric_limits<int>::max())));
}
} // namespace

ZylSamplerSound::ZylSamplerSound(const juce::String& soundName, juce::AudioFormatReader& source,
                                 const juce::BigInteger& notes, int midiNoteForNormalPitch,
                                 double attackTimeSecs, double releaseTimeSecs,
                                 double maxSampleLengthSeconds, bool shouldLoop)
    : name(soundName),
      sourceSampleRate(source.sampleRate),
      midiNotes(notes),
      midiRootNote(midiNoteForNormalPitch),
      loop(shouldLoop)
{
    if (!(sourceSampleRate > 0.0) || !std::isfinite(sourceSampleRate) || source.lengthInSamples <= 0
        || source.numChannels <= 0)
        return;

    // The longest sample an int frame count (plus the guard frames) can address.
    constexpr juce::int64 kMaxLength = std::numeric_limits<int>::max() - kGuardFrames;
    juce::int64 frames = std::min(source.lengthInSamples, kMaxLength);
    if (maxSampleLengthSeconds > 0.0)
    {
        const double maxFrames = maxSampleLengthSeconds * sourceSampleRate;
        if (std::isfinite(maxFrames) && maxFrames < static_cast<double>(frames))
            frames = static_cast<juce::int64>(maxFrames);
    }
    if (frames <= 0)
        return;

    length = static_cast<int>(frames);
    const int channels = static_cast<int>(std::min(2u, source.numChannels));
    data = std::make_unique<juce::AudioSampleBuffer>(channels, length + kGuardFrames);
    // The reader fills every frame, with zeros past the end of its source; only a failed read
    // leaves the buffer to be cleared.
    if (!source.read(data.get(), 0, length + kGuardFrames, 0, true, channels > 1))
        data->clear();

    if (loop)
        for (int channel = 0; channel < channels; ++channel)
            for (int frame = 0; frame < kGuardFrames; ++frame)
                data->setSample(channel, length + frame, data->getSample(channel, frame % length));

    if (channels == 2)
    {
        const int total = data->getNumSamples();
        const float* const left = data->getReadPointer(0);
        const float* const right = data->getReadPointer(1);
        // Not value-initialised: every entry is written just below.
        interleaved.reset(new float[static_cast<size_t>(total) * 2]);
        float* const to = interleaved.get();
        for (int frame = 0; frame < total; ++frame)
        {
            to[2 * static_cast<size_t>(frame)] = left[frame];
            to[2 * static_cast<size_t>(frame) + 1] = right[frame];
        }
    }

    attackSamples = framesOf(attackTimeSecs, sourceSampleRate);
    releaseSamples = framesOf(releaseTimeSecs, sourceSampleRate);
}

ZylSamplerSound::~ZylSamplerSound() = default;

bool ZylSamplerSound::appliesToNote(int midiNoteNumber)
{
    return midiNoteNumber >= 0 && midiNotes[midiNoteNumber];
}

bool ZylSamplerSound::appliesToChannel(int /*midiChannel*/)
{
    return true;
}
