#include "modules/ZylRandomSequence.h"
#include "modules/ZylSamplerSound.h"
#include "modules/ZylSamplerVoice.h"
#include "modules/ZylSynth.h"
#include "modules/ZylWavetable.h"
#include "tests/modules/ZylSynthTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace
{
std::vector<int> centresOf(const std::vector<ZylSamplerSound::Ptr>& sounds)
{
    std::vector<int> centres;
    for (const auto& sound : sounds)
        centres.push_back(sound->getMidiRootNote());
    return centres;
}

const ZylSamplerSound& soundAt(const juce::Synthesiser& synth, int index)
{
    return static_cast<const ZylSamplerSound&>(*synth.getSound(index));
}

// The shipped bank, built once for the suite: its tables are costly.
class ShippedBank : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { synth = std::make_unique<ZylSynth>(); }
    static void TearDownTestSuite() { synth.reset(); }

    // Renders one held note of the shipped bank at 44100 Hz.
    static juce::AudioSampleBuffer renderNote(int note, int frames)
    {
        synth->allNotesOff(0, false);
        synth->noteOn(1, note, 1.0f);
        juce::AudioSampleBuffer out(2, frames);
        out.clear();
        synth->renderNextBlock(out, juce::MidiBuffer(), 0, frames);
        synth->allNotesOff(0, false);
        return out;
    }

    static std::unique_ptr<ZylSynth> synth;
};
std::unique_ptr<ZylSynth> ShippedBank::synth;
} // namespace

TEST(ZylRandomSequence, GivesTheClassicRuntimeSequenceFromSeedOne)
{
    ZylRandomSequence sequence;
    const int expected[] = { 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464 };
    for (const int value : expected)
        EXPECT_EQ(sequence.next(), value);
}

TEST_F(ShippedBank, HoldsTenLoopedSoundsAroundNote69And64Voices)
{
    EXPECT_EQ(synth->getNumVoices(), ZylSynth::kNumVoices);
    ASSERT_EQ(synth->getNumSounds(), 10);
    const int centres[] = { 69, 81, 93, 105, 117, 57, 45, 33, 21, 9 };
    for (int i = 0; i < 10; ++i)
    {
        const auto& sound = soundAt(*synth, i);
        EXPECT_EQ(sound.getMidiRootNote(), centres[i]);
        EXPECT_TRUE(sound.isLooped());
        EXPECT_EQ(sound.getLength(), ZylWavetable::kTableSize);
        EXPECT_EQ(sound.getAudioData()->getNumChannels(), 2);
        EXPECT_EQ(sound.getAttackSamples(), 22);
        EXPECT_EQ(sound.getReleaseSamples(), 30870);
        // Right is left rotated by half a table.
        const auto& data = *sound.getAudioData();
        EXPECT_EQ(data.getSample(1, 0), data.getSample(0, ZylWavetable::kTableSize / 2));
        EXPECT_NEAR(data.getMagnitude(0, 0, ZylWavetable::kTableSize), 0.7071f, 1e-3f);
    }
    // Notes 0 to 2 and 123 to 127 have no sound.
    for (int note = 0; note < 128; ++note)
    {
        bool served = false;
        for (int i = 0; i < synth->getNumSounds(); ++i)
            served = served || synth->getSound(i)->appliesToNote(note);
        EXPECT_EQ(served, note >= 3 && note <= 122) << note;
    }
}

// Sampled values of every shipped table (left channel). The tables come from the fixed phase sequence, so these are the
// same on every platform and build, up to a few steps of the 16-bit samples.
TEST_F(ShippedBank, TablesMatchTheirFingerprint)
{
    const int places[] = { 0, 1, 4095, 65536, 131071, 200003, 262143 };
    // Printed by ShippedBank.PrintFingerprint (ZYL_PRINT_FINGERPRINT=1).
    // clang-format off
    const float fingerprint[10][7] = {
        { 0.007843018f, 0.017791748f, 0.061431885f, -0.065093994f, 0.191833496f, -0.206237793f, -0.006072998f },
        { 0.076507568f, 0.035858154f, 0.136383057f, 0.285858154f, 0.054473877f, -0.071380615f, 0.124633789f },
        { 0.158081055f, 0.132720947f, 0.387054443f, 0.341308594f, 0.323242188f, 0.095275879f, 0.032714844f },
        { 0.050323486f, 0.174377441f, 0.100891113f, -0.097351074f, -0.193359375f, 0.068267822f, -0.091186523f },
        { 0.034088135f, 0.320037842f, 0.138336182f, -0.001129150f, 0.015075684f, 0.011413574f, -0.283416748f },
        { 0.042846680f, 0.028472900f, -0.312072754f, -0.023345947f, 0.038269043f, 0.244537354f, 0.055908203f },
        { 0.213470459f, 0.196838379f, 0.037353516f, -0.160919189f, 0.251312256f, -0.081939697f, 0.229736328f },
        { -0.027862549f, -0.032348633f, -0.019317627f, -0.144958496f, -0.122711182f, -0.169494629f, -0.023406982f },
        { 0.081939697f, 0.081817627f, 0.054901123f, -0.038146973f, -0.136016846f, -0.136016846f, 0.082061768f },
        { 0.090118408f, 0.089782715f, 0.034423828f, -0.390197754f, -0.152069092f, 0.204895020f, 0.090454102f },
    };
    // clang-format on
    ASSERT_EQ(synth->getNumSounds(), 10);
    for (int s = 0; s < 10; ++s)
        for (int p = 0; p < 7; ++p)
            EXPECT_NEAR(soundAt(*synth, s).getAudioData()->getSample(0, places[p]), fingerprint[s][p],
                        4.0f / 32768.0f)
                << "sound " << s << " frame " << places[p];
}

TEST_F(ShippedBank, PrintFingerprint)
{
    if (std::getenv("ZYL_PRINT_FINGERPRINT") == nullptr)
        GTEST_SKIP() << "set ZYL_PRINT_FINGERPRINT to print the table";
    const int places[] = { 0, 1, 4095, 65536, 131071, 200003, 262143 };
    for (int s = 0; s < synth->getNumSounds(); ++s)
    {
        juce::String line("        { ");
        for (int p = 0; p < 7; ++p)
            line << juce::String(soundAt(*synth, s).getAudioData()->getSample(0, places[p]), 9) << "f"
                 << (p < 6 ? ", " : " },");
        std::printf("%s\n", line.toRawUTF8());
    }
}

TEST_F(ShippedBank, NotesSoundAtTheirPitch)
{
    struct Case
    {
        int note;
        double frequency;
    };
    // 69 and 81 play their own tables at their own pitch, 70 the 69 table a semitone up.
    const Case cases[] = { { 69, 440.0 }, { 81, 880.0 }, { 70, 466.1638 }, { 57, 220.0 } };
    for (const auto& c : cases)
    {
        const auto out = renderNote(c.note, 32768);
        const double measured = zyltest::estimateFrequency(out, 0, 44100.0, c.frequency / 1.4, c.frequency * 1.4);
        EXPECT_NEAR(measured, c.frequency, c.frequency * 0.003) << c.note;
    }
}

TEST_F(ShippedBank, LoopPointJoinsWithoutAClick)
{
    // Note 70 reads the 69 table at a fractional rate, so the loop point falls between frames.
    // The largest step between output samples across the loop point is no larger than the
    // largest step elsewhere.
    const auto& table = soundAt(*synth, 0);
    const double ratio = std::pow(2.0, 1.0 / 12.0);
    const int samplesToLoop = static_cast<int>(std::ceil(table.getLength() / ratio));
    const auto out = renderNote(70, samplesToLoop + 2000);

    auto largestStep = [&](int from, int to) {
        float largest = 0.0f;
        for (int i = from; i < to; ++i)
            largest = std::max(largest, std::abs(out.getSample(0, i + 1) - out.getSample(0, i)));
        return largest;
    };
    const float acrossLoop = largestStep(samplesToLoop - 8, samplesToLoop + 8);
    const float elsewhere = largestStep(1000, samplesToLoop - 100);
    EXPECT_LE(acrossLoop, elsewhere);
    EXPECT_GT(acrossLoop, 0.0f);
}

TEST(ZylWavetable, NyquistCutKeepsTheMultiplesBelowTheLimit)
{
    struct Case
    {
        float frequency;
        size_t kept;
    };
    const float limit = 44100.0f * 0.4999f;
    const Case cases[] = { { 440.0f, 7 }, { 4000.0f, 5 }, { 11000.0f, 2 }, { 22045.0f, 1 }, { 30000.0f, 0 } };
    for (const auto& c : cases)
    {
        std::vector<float> spectrum(7, 1.0f);
        ZylWavetable::limitToNyquist(spectrum, c.frequency, limit);
        EXPECT_EQ(spectrum.size(), c.kept) << c.frequency;
    }
}

TEST(ZylWavetable, BaseFunctionSeriesCarryTheHarmonicsOnTheirMultiples)
{
    constexpr float pi = juce::MathConstants<float>::pi;
    std::vector<float> out;
    ZylWavetable::applyBaseFunction({ 9.0f }, out, ZylWavetable::kSquare);
    ASSERT_EQ(out.size(), 128u);
    EXPECT_FLOAT_EQ(out[1], 4.0f / pi);
    EXPECT_FLOAT_EQ(out[2], 0.0f);
    EXPECT_FLOAT_EQ(out[3], 4.0f / (3.0f * pi));

    ZylWavetable::applyBaseFunction({}, out, ZylWavetable::kTriangle);
    EXPECT_FLOAT_EQ(out[1], 8.0f / (pi * pi));
    EXPECT_FLOAT_EQ(out[3], -8.0f / (9.0f * pi * pi));

    ZylWavetable::applyBaseFunction({}, out, ZylWavetable::kSawtooth);
    EXPECT_FLOAT_EQ(out[2], -1.0f / (2.0f * pi));

    // Harmonic 1 (amplitude 0.5) places the series, halved, on the multiples of 2; harmonic 0
    // is not used.
    ZylWavetable::applyBaseFunction({ 7.0f, 0.5f }, out, ZylWavetable::kSquare);
    EXPECT_FLOAT_EQ(out[1], 4.0f / pi);
    EXPECT_FLOAT_EQ(out[2], 0.5f * 4.0f / pi);
    EXPECT_FLOAT_EQ(out[6], 0.5f * 4.0f / (3.0f * pi));
    EXPECT_FLOAT_EQ(out[127], 4.0f / (127.0f * pi));
}

TEST(ZylWavetable, SoundsFromRootZeroAndSpectraCutToNothing)
{
    ZylRandomSequence phases;
    ZylWavetable rootZero(phases);
    rootZero.setRootMidiNote(0);
    rootZero.setHarmonics({ 0.0f, 1.0f });
    std::vector<ZylSamplerSound::Ptr> sounds;
    rootZero.createSounds(sounds);
    // The sound on 120 would hold only harmonic 1, which passes the limit on note 125.
    EXPECT_EQ(centresOf(sounds), (std::vector<int> { 0, 12, 24, 36, 48, 60, 72, 84, 96, 108 }));
    for (int note = 0; note < 128; ++note)
        EXPECT_EQ(sounds.front()->appliesToNote(note), note <= 5) << note;

    // Only harmonic 2 sounds. On the root sound (117) it would pass the limit on the sound's
    // top note (122), so that sound is cut to silence and left out; the octave below keeps it.
    ZylWavetable high(phases);
    high.setRootMidiNote(117);
    high.setHarmonics({ 0.0f, 0.0f, 1.0f });
    sounds.clear();
    high.createSounds(sounds);
    EXPECT_EQ(centresOf(sounds), (std::vector<int> { 105, 93, 81, 69, 57, 45, 33, 21, 9 }));

    // No harmonics: no sound at all.
    ZylWavetable none(phases);
    none.setRootMidiNote(60);
    sounds.clear();
    none.createSounds(sounds);
    EXPECT_TRUE(sounds.empty());
}
