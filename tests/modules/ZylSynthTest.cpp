#include "framework/ZylDebug.h"
#include "modules/ZylSamplerSound.h"
#include "modules/ZylSynth.h"
#include "resources/ZylEmbeddedArchive.h"
#include "tests/TestAllocationCounter.h"
#include "tests/modules/ZylSynthTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace
{
std::string wavetableBank(const std::string& wavetableAttributes, const std::string& harmonics,
                          const std::string& rootTag = "soundBank",
                          const std::string& type = "wavetable")
{
    return "<?xml version=\"1.0\"?>\n<" + rootTag + " type=\"" + type + "\"><wavetables><wavetable "
           + wavetableAttributes + "><harmonics>" + harmonics + "</harmonics></wavetable></wavetables></"
           + rootTag + ">";
}

std::unique_ptr<ZylSynth> synthFromZip(const juce::MemoryBlock& zip)
{
    juce::MemoryInputStream stream(zip, false);
    return std::make_unique<ZylSynth>(stream);
}

std::unique_ptr<ZylSynth> synthFromDescription(const std::string& xml)
{
    return synthFromZip(zyltest::makeZip({ { "_metadata.xml", zyltest::textBlock(xml) } }));
}

std::vector<int> centresOf(const ZylSynth& synth)
{
    std::vector<int> centres;
    for (int i = 0; i < synth.getNumSounds(); ++i)
        centres.push_back(static_cast<const ZylSamplerSound&>(*synth.getSound(i)).getMidiRootNote());
    return centres;
}

bool allSamplesFinite(const ZylSynth& synth)
{
    for (int i = 0; i < synth.getNumSounds(); ++i)
    {
        const auto& data = *static_cast<const ZylSamplerSound&>(*synth.getSound(i)).getAudioData();
        for (int c = 0; c < data.getNumChannels(); ++c)
            for (int k = 0; k < data.getNumSamples(); k += 97)
                if (!std::isfinite(data.getSample(c, k)))
                    return false;
    }
    return true;
}
} // namespace

TEST(ZylSynth, EmbeddedSoundBankDescription)
{
    const auto archive = ZylEmbeddedArchive::find("soundbank");
    ASSERT_FALSE(archive.isEmpty());
    juce::MemoryInputStream stream(archive.getData(), archive.getSize(), false);
    juce::ZipFile zip(stream);
    ASSERT_EQ(zip.getNumEntries(), 1);
    EXPECT_EQ(zip.getEntry(0)->filename, "_metadata.xml");

    juce::MemoryBlock text;
    ASSERT_TRUE(archive.readEntry("_metadata.xml", text));
    const auto root = juce::parseXML(text.toString());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getTagName(), "soundBank");
    EXPECT_EQ(root->getStringAttribute("type"), "wavetable");
    EXPECT_EQ(root->getStringAttribute("name"), "electro organ");
    EXPECT_EQ(root->getStringAttribute("attackTime"), "0.0005");
    EXPECT_EQ(root->getStringAttribute("releaseTime"), "0.7");
    const auto* wavetables = root->getChildByName("wavetables");
    ASSERT_NE(wavetables, nullptr);
    ASSERT_EQ(wavetables->getNumChildElements(), 1);
    const auto* wavetable = wavetables->getChildElement(0);
    EXPECT_EQ(wavetable->getIntAttribute("rootMidiNote"), 69);
    EXPECT_EQ(wavetable->getIntAttribute("numberOfHarmonics"), 7);
    EXPECT_EQ(wavetable->getStringAttribute("bandwidth"), "10");
    EXPECT_EQ(wavetable->getStringAttribute("bandwidthScale"), "1");
    EXPECT_EQ(wavetable->getStringAttribute("baseFunction"), "sine");
    const double amplitudes[] = { 1.0, 0.95, 0.90, 0.80, 0.65, 0.45, 0.15 };
    const auto* harmonics = wavetable->getChildByName("harmonics");
    ASSERT_NE(harmonics, nullptr);
    ASSERT_EQ(harmonics->getNumChildElements(), 7);
    for (int i = 0; i < 7; ++i)
    {
        EXPECT_EQ(harmonics->getChildElement(i)->getIntAttribute("number"), i);
        EXPECT_DOUBLE_EQ(harmonics->getChildElement(i)->getDoubleAttribute("amplitude"), amplitudes[i]);
    }
}

TEST(ZylSynth, EmbeddedArchiveLookupsReportWhatIsMissing)
{
    ZylDebugCapture capture;
    EXPECT_TRUE(ZylEmbeddedArchive::find("no such archive").isEmpty());
    juce::MemoryBlock out;
    EXPECT_FALSE(ZylEmbeddedArchive::find("soundbank").readEntry("missing.xml", out));
    EXPECT_FALSE(ZylEmbeddedArchive().readEntry(0, out));
    EXPECT_EQ(out.getSize(), 0u);
    EXPECT_EQ(capture.getLines().size(), 3u);

    // A damaged deflate stream is reported, not read as text.
    auto zip = zyltest::makeZip({ { "a.txt", zyltest::textBlock(std::string(2000, 'x') + "tail") } });
    auto* bytes = static_cast<char*>(zip.getData());
    for (size_t i = 40; i < 60; ++i)
        bytes[i] = static_cast<char>(0xff);
    EXPECT_FALSE(ZylEmbeddedArchive(zip.getData(), zip.getSize()).readEntry("a.txt", out));
}

TEST(ZylSynth, DamagedDescriptionsLoadSafely)
{
    struct Case
    {
        const char* what;
        std::string xml;
        std::vector<int> centres;
    };
    const std::string seven =
        "<harmonic number=\"1\" amplitude=\"1\"/><harmonic number=\"2\" amplitude=\"0.5\"/>";
    const std::vector<int> from117 { 117, 105, 93, 81, 69, 57, 45, 33, 21, 9 };
    const Case cases[] = {
        { "not xml", "<soundBank type=\"wavetable\"><wavetables", {} },
        { "other root", wavetableBank("rootMidiNote=\"117\" numberOfHarmonics=\"3\"", seven, "bank"), {} },
        { "root tag in capitals", wavetableBank("rootMidiNote=\"117\" numberOfHarmonics=\"3\"", seven, "SOUNDBANK"), from117 },
        { "type in capitals", wavetableBank("rootMidiNote=\"117\" numberOfHarmonics=\"3\"", seven, "soundBank", "Wavetable"), {} },
        { "zero harmonics", wavetableBank("rootMidiNote=\"117\" numberOfHarmonics=\"0\"", seven), {} },
        { "negative harmonic count", wavetableBank("rootMidiNote=\"117\" numberOfHarmonics=\"-5\"", seven), {} },
        { "huge harmonic count", wavetableBank("rootMidiNote=\"117\" numberOfHarmonics=\"2000000000\"", seven), from117 },
        { "negative bandwidth", wavetableBank("rootMidiNote=\"117\" numberOfHarmonics=\"3\" bandwidth=\"-50\"", seven), from117 },
        { "bandwidth not a number", wavetableBank("rootMidiNote=\"117\" numberOfHarmonics=\"3\" bandwidth=\"nan\" bandwidthScale=\"inf\"", seven), from117 },
        { "root above 127", wavetableBank("rootMidiNote=\"300\" numberOfHarmonics=\"3\"", seven), { 115, 103, 91, 79, 67, 55, 43, 31, 19, 7 } },
        { "negative root", wavetableBank("rootMidiNote=\"-40\" numberOfHarmonics=\"3\"", seven), { 0, 12, 24, 36, 48, 60, 72, 84, 96, 108 } },
        { "harmonics out of range only", wavetableBank("rootMidiNote=\"117\" numberOfHarmonics=\"3\"", "<harmonic number=\"3\" amplitude=\"1\"/><harmonic number=\"-1\" amplitude=\"1\"/>"), {} },
    };
    for (const auto& c : cases)
    {
        ZylDebugCapture capture;
        const auto synth = synthFromDescription(c.xml);
        EXPECT_EQ(centresOf(*synth), c.centres) << c.what;
        EXPECT_EQ(synth->getNumVoices(), ZylSynth::kNumVoices) << c.what;
        EXPECT_TRUE(allSamplesFinite(*synth)) << c.what;
        if (c.centres.empty())
        {
            EXPECT_FALSE(capture.getLines().empty()) << c.what;
        }
    }
}

TEST(ZylSynth, ArchivesWithoutADescriptionLoadNothing)
{
    const juce::MemoryBlock cases[] = {
        juce::MemoryBlock(),
        zyltest::textBlock("not a zip archive at all"),
        zyltest::makeZip({}),
    };
    for (const auto& zip : cases)
    {
        ZylDebugCapture capture;
        const auto synth = synthFromZip(zip);
        EXPECT_EQ(synth->getNumSounds(), 0);
        EXPECT_EQ(synth->getNumVoices(), ZylSynth::kNumVoices);
        EXPECT_FALSE(capture.getLines().empty());
    }
}

TEST(ZylSynth, BaseFunctionNameIsMatchedInAnyCase)
{
    // Harmonic 2 alone is cut from the top sound (117) of a sine bank; the square series keeps
    // its fundamental there, so "SQUARE" gives that sound back.
    const std::string harmonic2 = "<harmonic number=\"2\" amplitude=\"1\"/>";
    const auto sine = synthFromDescription(
        wavetableBank("rootMidiNote=\"117\" numberOfHarmonics=\"3\" baseFunction=\"Sine\"", harmonic2));
    EXPECT_EQ(centresOf(*sine).size(), 9u);
    const auto square = synthFromDescription(
        wavetableBank("rootMidiNote=\"117\" numberOfHarmonics=\"3\" baseFunction=\"SQUARE\"", harmonic2));
    EXPECT_EQ(centresOf(*square).size(), 10u);
}

TEST(ZylSynth, SamplerBankSkipsMissingAndUnreadableSamples)
{
    juce::AudioSampleBuffer tone(1, 4410);
    for (int i = 0; i < tone.getNumSamples(); ++i)
        tone.setSample(0, i, std::sin(i * 0.1f));
    const auto wav = zyltest::makeWav(tone, 44100.0);
    const std::string xml =
        "<soundBank type=\"sampler\" attackTime=\"0.01\" releaseTime=\"-3\" maxDuration=\"0.05\"><sounds>"
        "<sound name=\"one\" rootMidiNote=\"60\" firstMidiNote=\"-4\" lastMidiNote=\"200\"/>"
        "<other/>"
        "<sound name=\"broken\" rootMidiNote=\"62\"/>"
        "<sound name=\"absent\" rootMidiNote=\"64\"/>"
        "</sounds></soundBank>";
    ZylDebugCapture capture;
    const auto synth = synthFromZip(zyltest::makeZip({ { "_metadata.xml", zyltest::textBlock(xml) },
                                                       { "one.wav", wav },
                                                       { "broken.wav", zyltest::textBlock("RIFF....") } }));
    ASSERT_EQ(synth->getNumSounds(), 1);
    const auto& sound = static_cast<const ZylSamplerSound&>(*synth->getSound(0));
    EXPECT_EQ(sound.getName(), "one");
    EXPECT_FALSE(sound.isLooped());
    EXPECT_EQ(sound.getLength(), 2205); // maxDuration cuts the 0.1 s sample in half
    EXPECT_EQ(sound.getAttackSamples(), 441);
    EXPECT_EQ(sound.getReleaseSamples(), 0);
    EXPECT_TRUE(sound.getMidiNotes()[0]);
    EXPECT_TRUE(sound.getMidiNotes()[127]);
    EXPECT_EQ(capture.getLines().size(), 2u);
}

TEST(ZylSynth, TheSameDescriptionBuildsTheSameTables)
{
    const auto xml = wavetableBank("rootMidiNote=\"117\" numberOfHarmonics=\"3\"",
                                   "<harmonic number=\"1\" amplitude=\"1\"/><harmonic number=\"2\" amplitude=\"0.5\"/>");
    const auto first = synthFromDescription(xml);
    const auto second = synthFromDescription(xml);
    ASSERT_EQ(first->getNumSounds(), second->getNumSounds());
    for (int i = 0; i < first->getNumSounds(); ++i)
    {
        const auto& a = *static_cast<const ZylSamplerSound&>(*first->getSound(i)).getAudioData();
        const auto& b = *static_cast<const ZylSamplerSound&>(*second->getSound(i)).getAudioData();
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(std::memcmp(a.getReadPointer(c), b.getReadPointer(c),
                                  sizeof(float) * static_cast<size_t>(a.getNumSamples())), 0);
    }
}

namespace
{
// Two kinds of sound: kind 0 serves the notes below 96, kind 1 the notes from 96 up.
class StealTestSound : public juce::SynthesiserSound
{
public:
    explicit StealTestSound(int soundKind) : kind(soundKind) {}
    bool appliesToNote(int note) override { return (note >= 96) == (kind == 1); }
    bool appliesToChannel(int) override { return true; }
    const int kind;
};

// A voice for the kinds in its mask that sounds on after a note-off with a tail (a released
// voice) and stops only without one.
class StealTestVoice : public juce::SynthesiserVoice
{
public:
    explicit StealTestVoice(int kinds) : kindMask(kinds) {}
    bool canPlaySound(juce::SynthesiserSound* sound) override
    {
        auto* test = dynamic_cast<StealTestSound*>(sound);
        return test != nullptr && ((kindMask >> test->kind) & 1) != 0;
    }
    void startNote(int, float, juce::SynthesiserSound*, int) override {}
    void stopNote(float, bool allowTailOff) override
    {
        if (!allowTailOff)
            clearCurrentNote();
    }
    void pitchWheelMoved(int) override {}
    void controllerMoved(int, int) override {}
    void renderNextBlock(juce::AudioBuffer<float>&, int, int) override {}

private:
    const int kindMask;
};

class StealProbeSynth : public ZylSynth
{
public:
    explicit StealProbeSynth(juce::InputStream& archive) : ZylSynth(archive) {}
    juce::SynthesiserVoice* ours(juce::SynthesiserSound* sound, int note) const
    {
        return findVoiceToSteal(sound, 1, note);
    }
    juce::SynthesiserVoice* juces(juce::SynthesiserSound* sound, int note) const
    {
        return juce::Synthesiser::findVoiceToSteal(sound, 1, note);
    }
};

struct StealStep
{
    enum class Kind { on, off, offTail, sustain, sustainUp, sostenuto, sostenutoUp } kind;
    int note;
};

// A synth of test voices (kinds masks in order) in the state the steps leave.
std::unique_ptr<StealProbeSynth> stealSynth(const std::vector<int>& masks, const std::vector<StealStep>& steps)
{
    juce::MemoryInputStream nothing(nullptr, 0, false);
    auto synth = std::make_unique<StealProbeSynth>(nothing);
    synth->clearVoices();
    synth->clearSounds();
    for (const int mask : masks)
        synth->addVoice(new StealTestVoice(mask));
    synth->addSound(new StealTestSound(0));
    synth->addSound(new StealTestSound(1));
    for (const auto& step : steps)
    {
        switch (step.kind)
        {
            case StealStep::Kind::on: synth->noteOn(1, step.note, 0.8f); break;
            case StealStep::Kind::off: synth->noteOff(1, step.note, 0.0f, false); break;
            case StealStep::Kind::offTail: synth->noteOff(1, step.note, 0.0f, true); break;
            case StealStep::Kind::sustain: synth->handleSustainPedal(1, true); break;
            case StealStep::Kind::sustainUp: synth->handleSustainPedal(1, false); break;
            case StealStep::Kind::sostenuto: synth->handleSostenutoPedal(1, true); break;
            case StealStep::Kind::sostenutoUp: synth->handleSostenutoPedal(1, false); break;
        }
    }
    return synth;
}

// Whether every voice that could play the sound is busy, as when the synthesiser steals.
bool stealAllBusyFor(const juce::Synthesiser& synth, juce::SynthesiserSound* sound)
{
    for (int i = 0; i < synth.getNumVoices(); ++i)
        if (synth.getVoice(i)->canPlaySound(sound) && !synth.getVoice(i)->isVoiceActive())
            return false;
    return true;
}

TEST(ZylSynth, StealsTheVoiceJuceWouldStealWithoutAllocating)
{
    using S = StealStep::Kind;
    struct Case
    {
        const char* what;
        std::vector<int> masks;
        std::vector<StealStep> steps;
        int note;
        int voice; // JUCE's choice
    };
    const Case cases[] = {
        { "the oldest voice on the same note", { 3, 3, 3 }, { { S::on, 60 }, { S::on, 64 }, { S::on, 67 } }, 64, 1 },
        { "the oldest released voice", { 3, 3, 3, 3 },
          { { S::on, 60 }, { S::on, 62 }, { S::on, 64 }, { S::offTail, 62 }, { S::on, 67 } }, 70, 1 },
        { "the oldest key that is up", { 3, 3, 3, 3 },
          { { S::sustain, 0 }, { S::on, 60 }, { S::on, 62 }, { S::on, 64 }, { S::on, 67 }, { S::offTail, 62 } }, 70, 1 },
        { "the oldest voice between the lowest and the highest", { 3, 3, 3 },
          { { S::on, 64 }, { S::on, 60 }, { S::on, 67 } }, 70, 0 },
        { "only the lowest and the highest: the highest", { 3, 3 }, { { S::on, 60 }, { S::on, 67 } }, 70, 1 },
        { "one voice held", { 3 }, { { S::on, 60 } }, 62, 0 },
        { "only the voices that can play the sound", { 1, 3, 1, 3 },
          { { S::on, 100 }, { S::on, 101 }, { S::on, 60 }, { S::on, 61 } }, 102, 3 },
        { "a key up under the sostenuto pedal", { 3, 3, 3, 3 },
          { { S::on, 60 }, { S::on, 62 }, { S::sostenuto, 0 }, { S::offTail, 62 }, { S::on, 64 }, { S::on, 67 } }, 70, 1 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        auto synth = stealSynth(c.masks, c.steps);
        auto* sound = synth->getSound(c.note >= 96 ? 1 : 0).get();
        ASSERT_TRUE(stealAllBusyFor(*synth, sound));
        auto* expected = synth->juces(sound, c.note);
        ASSERT_NE(expected, nullptr);
        EXPECT_EQ(synth->ours(sound, c.note), expected);
        EXPECT_EQ(expected, synth->getVoice(c.voice));
    }

    // Random states: pedals, tails, repeated notes and steals of the synth's own.
    juce::Random random(2911);
    int compared = 0;
    for (int round = 0; round < 300; ++round)
    {
        std::vector<int> masks(static_cast<size_t>(1 + random.nextInt(10)));
        for (auto& mask : masks)
            mask = random.nextInt(4) == 0 ? 1 : 3;
        std::vector<StealStep> steps(static_cast<size_t>(random.nextInt(40)));
        for (auto& step : steps)
        {
            const int kind = random.nextInt(16);
            step.kind = kind < 8 ? S::on : kind < 10 ? S::off : kind < 13 ? S::offTail
                                           : static_cast<S>(static_cast<int>(S::sustain) + random.nextInt(4));
            step.note = 90 + random.nextInt(12);
        }
        auto synth = stealSynth(masks, steps);
        for (int note = 88; note < 104; ++note)
        {
            auto* sound = synth->getSound(note >= 96 ? 1 : 0).get();
            if (!stealAllBusyFor(*synth, sound))
                continue;
            ASSERT_EQ(synth->ours(sound, note), synth->juces(sound, note)) << "round " << round << ", note " << note;
            ++compared;
        }
    }
    EXPECT_GT(compared, 1000);

    // A steal on a full synth of the program's own voices allocates nothing.
    ZylSynth full;
    for (int note = 20; note < 20 + ZylSynth::kNumVoices + 8; ++note)
        full.noteOn(1, note, 0.8f);
    {
        const zyltest::ScopedAllocationCounter counter;
        full.noteOn(1, 110, 0.8f);
        full.noteOn(1, 111, 0.8f);
        EXPECT_EQ(counter.getAllocations(), 0);
        EXPECT_EQ(counter.getFrees(), 0);
    }
}
} // namespace

namespace
{
// Starts voices directly, in a chosen order and on chosen notes, so that any mix of keys, pedals
// and start times can be set up for the choice of the voice to steal.
class StealStateSynth : public ZylSynth
{
public:
    explicit StealStateSynth(juce::InputStream& archive) : ZylSynth(archive) {}
    void start(juce::SynthesiserVoice* voice, juce::SynthesiserSound* sound, int note)
    {
        startVoice(voice, sound, 1, note, 0.8f);
    }
    juce::SynthesiserVoice* steal(juce::SynthesiserSound* sound, int note) const
    {
        return findVoiceToSteal(sound, 1, note);
    }
};

// The choice written out plainly from the rule, every candidate tested against every other.
juce::SynthesiserVoice* stealByRule(const juce::Synthesiser& synth, juce::SynthesiserSound* sound, int note)
{
    std::vector<juce::SynthesiserVoice*> all; // voice order
    for (int i = 0; i < synth.getNumVoices(); ++i)
        if (synth.getVoice(i)->canPlaySound(sound))
            all.push_back(synth.getVoice(i));
    const auto noteOf = [&all](size_t i) { return all[i]->getCurrentlyPlayingNote(); };
    const auto held = [&all](size_t i) { return !all[i]->isPlayingButReleased(); };
    // The first held voice in voice order with the lowest (sign 1) or the highest (sign -1) note.
    const auto extreme = [&](size_t i, int sign) {
        if (!held(i))
            return false;
        for (size_t j = 0; j < all.size(); ++j)
            if (held(j) && (sign * noteOf(j) < sign * noteOf(i) || (noteOf(j) == noteOf(i) && j < i)))
                return false;
        return true;
    };
    const auto lowest = [&](size_t i) { return extreme(i, 1); };
    const auto highest = [&](size_t i) { return extreme(i, -1); };
    const auto spared = [&](size_t i) { return lowest(i) || highest(i); };
    const std::function<bool(size_t)> tiers[] = {
        [&](size_t i) { return noteOf(i) == note; },
        [&](size_t i) { return all[i]->isPlayingButReleased(); },
        [&](size_t i) { return !spared(i) && !all[i]->isKeyDown(); },
        [&](size_t i) { return !spared(i); },
        highest,
        lowest,
    };
    for (const auto& inTier : tiers)
        for (size_t i = 0; i < all.size(); ++i)
        {
            if (!inTier(i))
                continue;
            bool oldest = true;
            for (size_t j = 0; j < all.size(); ++j)
                oldest = oldest && !(j != i && inTier(j) && all[j]->wasStartedBefore(*all[i]));
            if (oldest)
                return all[i];
        }
    return nullptr;
}

TEST(ZylSynth, StealChoiceFollowsTheRuleOverRandomVoiceStates)
{
    struct Case
    {
        const char* what;
        int voices;
        int noteSpan;       // notes 60 to 60 + noteSpan - 1
        float keyUpChance;  // per voice
        float pedalChance;  // sustain and sostenuto, each
    };
    const Case cases[] = {
        { "one voice", 1, 3, 0.5f, 0.3f },
        { "two voices", 2, 3, 0.5f, 0.3f },
        { "every held voice on one note", 6, 1, 0.3f, 0.5f },
        { "few voices on few notes", 5, 2, 0.5f, 0.5f },
        { "keys down, no pedal", 16, 24, 0.0f, 0.0f },
        { "a full synth on many notes", ZylSynth::kNumVoices, 48, 0.5f, 0.3f },
        { "a full synth, nearly all released", ZylSynth::kNumVoices, 12, 0.95f, 0.02f },
        { "a full synth, keys up under the pedals", ZylSynth::kNumVoices, 24, 0.8f, 0.7f },
    };
    juce::Random random(4817);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        int compared = 0;
        for (int round = 0; round < 60; ++round)
        {
            juce::MemoryInputStream nothing(nullptr, 0, false);
            StealStateSynth synth(nothing);
            synth.clearVoices();
            synth.clearSounds();
            for (int v = 0; v < c.voices; ++v)
                synth.addVoice(new StealTestVoice(random.nextInt(4) == 0 ? 1 : 3));
            synth.addSound(new StealTestSound(0));
            synth.addSound(new StealTestSound(1));

            // Started in a random order, so that start order and voice order differ.
            std::vector<int> order(static_cast<size_t>(c.voices));
            for (int v = 0; v < c.voices; ++v)
                order[static_cast<size_t>(v)] = v;
            for (int v = c.voices - 1; v > 0; --v)
                std::swap(order[static_cast<size_t>(v)], order[static_cast<size_t>(random.nextInt(v + 1))]);
            for (const int v : order)
            {
                auto* voice = synth.getVoice(v);
                synth.start(voice, synth.getSound(0).get(), 60 + random.nextInt(c.noteSpan));
                voice->setKeyDown(random.nextFloat() >= c.keyUpChance);
                voice->setSustainPedalDown(random.nextFloat() < c.pedalChance);
                voice->setSostenutoPedalDown(random.nextFloat() < c.pedalChance);
            }

            for (int s = 0; s < 2; ++s)
            {
                auto* sound = synth.getSound(s).get();
                for (int note = 58; note < 62 + c.noteSpan; ++note)
                {
                    auto* expected = stealByRule(synth, sound, note);
                    if (expected == nullptr)
                        continue; // no voice can play the sound
                    ASSERT_EQ(synth.steal(sound, note), expected)
                        << "round " << round << ", sound " << s << ", note " << note;
                    ++compared;
                }
            }
        }
        EXPECT_GT(compared, 100);
    }
}
} // namespace
