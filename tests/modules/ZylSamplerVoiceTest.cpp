#include "modules/ZylSamplerSound.h"
#include "modules/ZylSamplerVoice.h"
#include "tests/modules/ZylSynthTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
constexpr double kVoiceRate = 44100.0;

juce::AudioSampleBuffer constantBuffer(int channels, int frames, float value)
{
    juce::AudioSampleBuffer buffer(channels, frames);
    for (int c = 0; c < channels; ++c)
        juce::FloatVectorOperations::fill(buffer.getWritePointer(c), value, frames);
    return buffer;
}

juce::AudioSampleBuffer rampBuffer(int frames)
{
    juce::AudioSampleBuffer buffer(1, frames);
    for (int i = 0; i < frames; ++i)
        buffer.setSample(0, i, static_cast<float>(i));
    return buffer;
}

// Two sides of white noise in -1..1, the same for the same seed.
juce::AudioSampleBuffer stereoNoise(int frames, juce::int64 seed)
{
    juce::AudioSampleBuffer buffer(2, frames);
    juce::Random random(seed);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < frames; ++i)
            buffer.setSample(c, i, random.nextFloat() * 2.0f - 1.0f);
    return buffer;
}

// One voice playing one sound, rendered block by block.
struct OneVoice
{
    explicit OneVoice(ZylSamplerSound::Ptr sound, double rate = kVoiceRate)
    {
        synth.setCurrentPlaybackSampleRate(rate);
        voice = static_cast<ZylSamplerVoice*>(synth.addVoice(new ZylSamplerVoice()));
        synth.addSound(sound.get());
    }

    juce::AudioSampleBuffer render(int frames, int channels = 2)
    {
        juce::AudioSampleBuffer out(channels, frames);
        out.clear();
        synth.renderNextBlock(out, juce::MidiBuffer(), 0, frames);
        return out;
    }

    juce::Synthesiser synth;
    ZylSamplerVoice* voice = nullptr;
};
} // namespace

TEST(ZylSamplerSound, ReadsTheSampleWithItsLimitsTimesAndGuardFrames)
{
    auto whole = zyltest::makeSound(rampBuffer(1000), 1000.0, 60, 62, 60, 0.0125, 0.0504, false, 0.0);
    EXPECT_EQ(whole->getLength(), 1000);
    EXPECT_EQ(whole->getAudioData()->getNumSamples(), 1000 + ZylSamplerSound::kGuardFrames);
    EXPECT_EQ(whole->getAttackSamples(), 13); // 12.5 rounds up
    EXPECT_EQ(whole->getReleaseSamples(), 50);
    EXPECT_TRUE(whole->appliesToNote(61));
    EXPECT_FALSE(whole->appliesToNote(63));
    EXPECT_FALSE(whole->appliesToNote(-1));
    EXPECT_TRUE(whole->appliesToChannel(16));
    // A one-shot sample ends in zeros.
    EXPECT_EQ(whole->getAudioData()->getSample(0, 1000), 0.0f);

    auto cut = zyltest::makeSound(rampBuffer(1000), 1000.0, 60, 60, 60, 0.0, 0.0, false, 0.25);
    EXPECT_EQ(cut->getLength(), 250);

    // A looped sample repeats its first frames behind its end.
    auto looped = zyltest::makeSound(rampBuffer(1000), 1000.0, 60, 60, 60, 0.0, 0.0, true, 0.0);
    for (int i = 0; i < ZylSamplerSound::kGuardFrames; ++i)
        EXPECT_EQ(looped->getAudioData()->getSample(0, 1000 + i), static_cast<float>(i));
}

TEST(ZylSamplerSound, AReaderWithoutFramesGivesAnEmptySoundThatNoVoicePlays)
{
    auto empty = zyltest::makeSound(juce::AudioSampleBuffer(1, 0), kVoiceRate, 0, 127, 60, 0.1, 0.1, true);
    EXPECT_TRUE(empty->isEmpty());
    EXPECT_EQ(empty->getAudioData(), nullptr);
    EXPECT_EQ(empty->getAttackSamples(), 0);

    OneVoice player(empty);
    player.synth.noteOn(1, 60, 1.0f);
    EXPECT_FALSE(player.voice->isVoiceActive());
    EXPECT_EQ(player.render(64).getMagnitude(0, 64), 0.0f);
}

TEST(ZylSamplerVoice, PitchRatioFollowsNoteRootAndRates)
{
    struct Case
    {
        int note, root;
        double sourceRate, outputRate, ratio;
    };
    const Case cases[] = {
        { 60, 60, 44100.0, 44100.0, 1.0 },
        { 72, 60, 44100.0, 44100.0, 2.0 },
        { 48, 60, 44100.0, 44100.0, 0.5 },
        { 61, 60, 44100.0, 44100.0, std::pow(2.0, 1.0 / 12.0) },
        { 60, 60, 48000.0, 96000.0, 0.5 },
    };
    for (const auto& c : cases)
    {
        OneVoice player(zyltest::makeSound(constantBuffer(1, 1000, 0.5f), c.sourceRate, 0, 127,
                                           c.root, 0.0, 0.0, true),
                        c.outputRate);
        player.synth.noteOn(1, c.note, 1.0f);
        EXPECT_NEAR(player.voice->getPitchRatio(), c.ratio, 1e-12) << c.note << " " << c.root;
    }
}

TEST(ZylSamplerVoice, AttackRisesLinearlyOverItsLengthThenHolds)
{
    // 22 source frames of attack (0.0005 s at 44100 Hz, rounded), velocity 0.5.
    OneVoice player(zyltest::makeSound(constantBuffer(1, 4000, 1.0f), kVoiceRate, 0, 127, 60, 0.0005, 0.7, true));
    player.synth.noteOn(1, 60, 0.5f);
    const auto out = player.render(64);
    for (int i = 0; i < 22; ++i)
        EXPECT_NEAR(out.getSample(0, i), 0.5f * i / 22.0f, 1e-5f) << i;
    for (int i = 22; i < 64; ++i)
        EXPECT_FLOAT_EQ(out.getSample(0, i), 0.5f) << i;
    EXPECT_FALSE(player.voice->isInAttackPhase());

    // Without attack the note starts at full level.
    OneVoice direct(zyltest::makeSound(constantBuffer(1, 4000, 1.0f), kVoiceRate, 0, 127, 60, 0.0, 0.7, true));
    direct.synth.noteOn(1, 60, 1.0f);
    EXPECT_FLOAT_EQ(direct.render(4).getSample(0, 0), 1.0f);
}

TEST(ZylSamplerVoice, ReleaseFadesOverItsLengthAndFreesTheVoice)
{
    // 0.7 s at 44100 Hz: 30870 frames; at twice the pitch the release takes half as many samples.
    for (const int note : { 60, 72 })
    {
        OneVoice player(zyltest::makeSound(constantBuffer(1, 4000, 1.0f), kVoiceRate, 0, 127, 60, 0.0, 0.7, true));
        player.synth.noteOn(1, note, 1.0f);
        player.render(100);
        player.synth.noteOff(1, note, 0.0f, true);
        EXPECT_TRUE(player.voice->isInReleasePhase());
        const int expected = note == 60 ? 30870 : 15435;
        const auto out = player.render(expected + 200);
        EXPECT_NEAR(out.getSample(0, 0), 1.0f, 1e-6f);
        EXPECT_NEAR(out.getSample(0, expected / 2), 0.5f, 2e-3f);
        // The level is summed in single precision: the end may move by a few samples.
        EXPECT_GT(out.getSample(0, expected - 100), 0.0f);
        EXPECT_EQ(out.getSample(0, expected + 100), 0.0f);
        EXPECT_FALSE(player.voice->isVoiceActive()) << note;
    }
}

TEST(ZylSamplerVoice, ReleaseTimeZero)
{
    // A looped sound stops at once instead of ringing for ever.
    OneVoice looped(zyltest::makeSound(constantBuffer(1, 100, 1.0f), kVoiceRate, 0, 127, 60, 0.0, 0.0, true));
    looped.synth.noteOn(1, 60, 1.0f);
    looped.render(10);
    looped.synth.noteOff(1, 60, 0.0f, true);
    EXPECT_FALSE(looped.voice->isVoiceActive());
    EXPECT_EQ(looped.render(10).getMagnitude(0, 10), 0.0f);

    // A one-shot sound plays on at its level until the sample ends.
    OneVoice oneShot(zyltest::makeSound(constantBuffer(1, 100, 1.0f), kVoiceRate, 0, 127, 60, 0.0, 0.0, false));
    oneShot.synth.noteOn(1, 60, 1.0f);
    oneShot.render(10);
    oneShot.synth.noteOff(1, 60, 0.0f, true);
    EXPECT_TRUE(oneShot.voice->isVoiceActive());
    const auto out = oneShot.render(200);
    EXPECT_FLOAT_EQ(out.getSample(0, 50), 1.0f);
    EXPECT_FALSE(oneShot.voice->isVoiceActive());
}

TEST(ZylSamplerVoice, OneShotEndsAfterItsLengthAndNoTailOffCutsAtOnce)
{
    OneVoice player(zyltest::makeSound(constantBuffer(1, 100, 1.0f), kVoiceRate, 0, 127, 60, 0.0, 0.7, false));
    player.synth.noteOn(1, 60, 1.0f);
    const auto out = player.render(200);
    // Positions 0 to 100 are read (the last one interpolates into the zero guard frame).
    EXPECT_FLOAT_EQ(out.getSample(0, 99), 1.0f);
    EXPECT_EQ(out.getSample(0, 101), 0.0f);
    EXPECT_FALSE(player.voice->isVoiceActive());

    OneVoice cut(zyltest::makeSound(constantBuffer(1, 1000, 1.0f), kVoiceRate, 0, 127, 60, 0.0, 0.7, true));
    cut.synth.noteOn(1, 60, 1.0f);
    cut.render(10);
    cut.synth.noteOff(1, 60, 0.0f, false);
    EXPECT_FALSE(cut.voice->isVoiceActive());
}

TEST(ZylSamplerVoice, LoopWrapsByItsLengthKeepingTheFraction)
{
    // Frames 0..9 hold 0..9. At one frame per sample the loop restarts at frame 0 exactly.
    OneVoice player(zyltest::makeSound(rampBuffer(10), kVoiceRate, 0, 127, 60, 0.0, 0.7, true));
    player.synth.noteOn(1, 60, 1.0f);
    const auto out = player.render(25, 1);
    for (int i = 0; i < 25; ++i)
        EXPECT_FLOAT_EQ(out.getSample(0, i), static_cast<float>(i % 10)) << i;
    EXPECT_NEAR(player.voice->getSourceSamplePosition(), 5.0, 1e-12);

    // At 1.5 frames per sample the positions run 0, 1.5, ... 9 and wrap from 10.5 to 0.5.
    OneVoice fractional(zyltest::makeSound(rampBuffer(10), kVoiceRate, 0, 127, 69, 0.0, 0.7, true), kVoiceRate * 2.0 / 3.0);
    fractional.synth.noteOn(1, 69, 1.0f); // ratio 1.5
    const auto stepped = fractional.render(8, 1);
    const float expected[] = { 0.0f, 1.5f, 3.0f, 4.5f, 6.0f, 7.5f, 9.0f };
    for (int i = 0; i < 7; ++i)
        EXPECT_FLOAT_EQ(stepped.getSample(0, i), expected[i]) << i;
    // 10.5 wraps to 0.5: halfway between frames 0 and 1.
    EXPECT_FLOAT_EQ(stepped.getSample(0, 7), 0.5f);
}

TEST(ZylSamplerVoice, ChannelLayouts)
{
    juce::AudioSampleBuffer stereo(2, 100);
    juce::FloatVectorOperations::fill(stereo.getWritePointer(0), 0.25f, 100);
    juce::FloatVectorOperations::fill(stereo.getWritePointer(1), 0.75f, 100);

    // A mono sample plays on both sides.
    OneVoice mono(zyltest::makeSound(constantBuffer(1, 100, 0.5f), kVoiceRate, 0, 127, 60, 0.0, 0.7, true));
    mono.synth.noteOn(1, 60, 1.0f);
    auto out = mono.render(10);
    EXPECT_FLOAT_EQ(out.getSample(0, 5), 0.5f);
    EXPECT_FLOAT_EQ(out.getSample(1, 5), 0.5f);

    // A stereo sample keeps its sides; a mono output receives their mean.
    OneVoice both(zyltest::makeSound(stereo, kVoiceRate, 0, 127, 60, 0.0, 0.7, true));
    both.synth.noteOn(1, 60, 1.0f);
    out = both.render(10);
    EXPECT_FLOAT_EQ(out.getSample(0, 5), 0.25f);
    EXPECT_FLOAT_EQ(out.getSample(1, 5), 0.75f);
    out = both.render(10, 1);
    EXPECT_FLOAT_EQ(out.getSample(0, 5), 0.5f);
}

TEST(ZylSamplerVoice, StereoBlocksRenderTheSameBitsInEveryBlockSize)
{
    // At pitch ratios that are exact binary fractions every read position is exact whatever the
    // block size, so a stereo note must render the same samples to the bit whether it goes
    // through the vector steps (long blocks) or only through the single steps (blocks of 3),
    // across the loop point too, held and then in release to its end.
    const auto noise = stereoNoise(1001, 11);
    constexpr int kHeld = 5000;
    constexpr int kTotal = 42000; // the release lasts 35280 samples at ratio 0.25
    for (const double rateFactor : { 2.0, 4.0, 0.5 }) // ratios 0.5, 0.25 and 2
    {
        auto renderIn = [&](int blockSize)
        {
            OneVoice player(zyltest::makeSound(noise, kVoiceRate, 0, 127, 60, 0.0, 0.2, true),
                            kVoiceRate * rateFactor);
            player.synth.noteOn(1, 60, 0.9f);
            juce::AudioSampleBuffer out(2, kTotal);
            out.clear();
            const auto renderRange = [&](int from, int to)
            {
                for (int start = from; start < to; start += blockSize)
                    player.synth.renderNextBlock(out, juce::MidiBuffer(), start,
                                                 std::min(blockSize, to - start));
            };
            renderRange(0, kHeld);
            player.synth.noteOff(1, 60, 0.0f, true);
            renderRange(kHeld, kTotal);
            EXPECT_FALSE(player.voice->isVoiceActive());
            return out;
        };
        const auto single = renderIn(3);
        EXPECT_GT(single.getMagnitude(0, kHeld), 0.5f);
        EXPECT_GT(single.getMagnitude(0, kHeld + 2000, 2000), 0.3f);
        // The eight-sample step (where the processor has it) and the four-sample one alone.
        for (const bool wide : { true, false })
        {
            const bool wideRuns = ZylSamplerVoice::setWideVectorStepAllowed(wide);
            for (const int blockSize : { 64, 512, kTotal })
            {
                const auto blocks = renderIn(blockSize);
                for (int c = 0; c < 2; ++c)
                    for (const int from : { 0, kHeld })
                        EXPECT_EQ(0, std::memcmp(single.getReadPointer(c, from),
                                                 blocks.getReadPointer(c, from),
                                                 sizeof(float) * (from == 0 ? kHeld : kTotal - kHeld)))
                            << "ratio " << 1.0 / rateFactor << ", blocks of " << blockSize
                            << ", side " << c << ", wide step " << wideRuns
                            << (from == 0 ? ", held" : ", in release");
            }
        }
        ZylSamplerVoice::setWideVectorStepAllowed(true);
    }
}

TEST(ZylSamplerVoice, ReleaseLevelsAreTheRunningSumOfItsStepToTheBit)
{
    // On a stereo sound of ones at velocity 1 every output sample is the level itself. In release
    // each sample's level is the last one plus the release step, rounded to single precision
    // sample by sample, and the voice ends at the first sample whose next level is 0 or below:
    // from the full level, from within the attack, at several steps.
    struct Case
    {
        int note;
        double attackSeconds, releaseSeconds;
        int held;
    };
    const Case cases[] = {
        { 60, 0.0, 0.2, 100 }, { 61, 0.0, 0.05, 700 }, { 72, 0.0, 0.7, 64 },
        { 47, 0.01, 0.1, 123 }, { 66, 0.05, 0.03, 1001 }, { 54, 0.0, 0.013, 5 },
        // Steps at which a level lands on a power of two when it leaves a binade.
        { 60, 0.0, 4161 / kVoiceRate, 64 }, { 60, 0.0, 5461 / kVoiceRate, 200 },
        // A step under half the spacing of the levels just below 1, but over a quarter of it:
        // the first one takes the full level below 1.
        { 60, 0.0, 20000000 / kVoiceRate, 10 },
    };
    constexpr int kReleaseBlock = 512;
    constexpr int kLongest = 40 * kReleaseBlock; // the releases above but the last end sooner
    for (const auto& c : cases)
    {
        OneVoice player(zyltest::makeSound(constantBuffer(2, 1000, 1.0f), kVoiceRate, 0, 127, 60,
                                           c.attackSeconds, c.releaseSeconds, true));
        player.synth.noteOn(1, c.note, 1.0f);
        player.render(c.held);
        float level = player.voice->getEnvelopeLevel();
        player.synth.noteOff(1, c.note, 0.0f, true);
        const auto* sound =
            static_cast<const ZylSamplerSound*>(player.voice->getCurrentlyPlayingSound().get());
        const auto step =
            static_cast<float>(-player.voice->getPitchRatio() / sound->getReleaseSamples());

        int mismatches = 0;
        int firstMismatch = -1;
        bool ended = false;
        for (int start = 0; !ended && start < kLongest; start += kReleaseBlock)
        {
            const auto out = player.render(kReleaseBlock);
            for (int i = 0; i < kReleaseBlock; ++i)
            {
                float expected = 0.0f;
                if (!ended)
                {
                    const float before = level;
                    level += step;
                    ended = level <= 0.0f;
                    expected = ended ? 0.0f : before;
                }
                for (int side = 0; side < 2; ++side)
                    if (out.getSample(side, i) != expected && mismatches++ == 0)
                        firstMismatch = start + i;
            }
        }
        EXPECT_EQ(mismatches, 0) << "note " << c.note << ", release " << c.releaseSeconds
                                 << ", first at sample " << firstMismatch;
        EXPECT_EQ(player.voice->isVoiceActive(), !ended) << "note " << c.note;
    }
}

TEST(ZylSamplerVoice, WideAndNarrowVectorStepsRenderTheSameBits)
{
    // At any pitch the eight-sample step reads the same positions and does the same arithmetic
    // as the four-sample one: a note between frames renders the same bits through both, held
    // and in release.
    const auto noise = stereoNoise(777, 5);
    constexpr int kTotal = 4100;
    const auto renderWith = [&](bool wide, int note)
    {
        ZylSamplerVoice::setWideVectorStepAllowed(wide);
        OneVoice player(zyltest::makeSound(noise, kVoiceRate, 0, 127, 60, 0.0, 0.2, true));
        player.synth.noteOn(1, note, 0.7f);
        juce::AudioSampleBuffer out(2, kTotal);
        out.clear();
        for (int start = 0; start < kTotal; start += 500)
        {
            if (start == 2000)
                player.synth.noteOff(1, note, 0.0f, true);
            player.synth.renderNextBlock(out, juce::MidiBuffer(), start, std::min(500, kTotal - start));
        }
        return out;
    };
    for (const int note : { 41, 59, 61, 66, 79 })
    {
        const auto wide = renderWith(true, note);
        const auto narrow = renderWith(false, note);
        EXPECT_GT(narrow.getMagnitude(0, kTotal), 0.3f);
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(0, std::memcmp(wide.getReadPointer(c), narrow.getReadPointer(c),
                                     sizeof(float) * kTotal))
                << "note " << note << ", side " << c;
    }
    ZylSamplerVoice::setWideVectorStepAllowed(true);
}

TEST(ZylSamplerVoice, OutputDoesNotDependOnTheBlockSize)
{
    // A stereo noise loop through attack, sustain across several loop points and release, at a
    // pitch between frames: one long block and odd small blocks put the voice's internal
    // boundaries at different places and must render the same signal, on stereo and mono
    // outputs.
    const auto noise = stereoNoise(3001, 7);
    constexpr int kHeld = 9000;
    constexpr int kTotal = 20000;
    for (const int channels : { 2, 1 })
    {
        auto renderIn = [&](int blockSize)
        {
            OneVoice player(zyltest::makeSound(noise, kVoiceRate, 0, 127, 60, 0.01, 0.2, true));
            player.synth.noteOn(1, 63, 0.9f);
            juce::AudioSampleBuffer out(channels, kTotal);
            out.clear();
            for (int start = 0; start < kTotal; start += blockSize)
            {
                if (start <= kHeld && kHeld < start + blockSize)
                {
                    // The note off lands on a block start: split the block there.
                    player.synth.renderNextBlock(out, juce::MidiBuffer(), start, kHeld - start);
                    player.synth.noteOff(1, 63, 0.0f, true);
                    const int rest = std::min(start + blockSize, kTotal) - kHeld;
                    player.synth.renderNextBlock(out, juce::MidiBuffer(), kHeld, rest);
                    continue;
                }
                player.synth.renderNextBlock(out, juce::MidiBuffer(), start,
                                             std::min(blockSize, kTotal - start));
            }
            EXPECT_FALSE(player.voice->isVoiceActive());
            return out;
        };
        const auto whole = renderIn(kTotal);
        EXPECT_GT(whole.getMagnitude(0, 0, kHeld), 0.5f);
        EXPECT_EQ(whole.getMagnitude(0, kTotal - 100, 100), 0.0f);
        for (const int blockSize : { 7, 65, 512 })
        {
            const auto pieces = renderIn(blockSize);
            float worst = 0.0f;
            for (int c = 0; c < channels; ++c)
                for (int i = 0; i < kTotal; ++i)
                    worst = std::max(worst, std::abs(whole.getSample(c, i) - pieces.getSample(c, i)));
            EXPECT_LT(worst, 1e-5f) << channels << " channels, blocks of " << blockSize;
        }
    }
}
