#include "framework/ZylAudioCable.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylValue.h"
#include "modules/ZylGainDomain.h"
#include "modules/ZylSamplerVoice.h"
#include "modules/ZylSynth.h"
#include "modules/ZylSynthDomainSet.h"
#include "modules/ZylSynthModule.h"
#include "tests/TestHelpers.h"
#include "tests/modules/ZylSynthTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr int kSynthBlock = 512;

// One synth module with the shipped bank, built once for the suite (the tables are costly), with
// an audio and a MIDI cable plugged into its pins.
class SynthModule : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        container = std::make_unique<ZylModuleContainer>();
        module = std::make_unique<ZylSynthModule>(container.get());
        module->initialise();
        audio = std::make_unique<ZylAudioCable>();
        midi = std::make_unique<ZylMidiCable>();
        audio->setBuffer(std::make_unique<juce::AudioSampleBuffer>(2, kSynthBlock));
        midi->setBuffer(std::make_unique<juce::MidiBuffer>());
        module->getAudioOutPin()->connect(audio.get());
        module->getMidiInPin()->connect(midi.get());
    }

    static void TearDownTestSuite()
    {
        module.reset();
        container.reset();
        audio.reset();
        midi.reset();
    }

    void SetUp() override
    {
        module->getSynth()->allNotesOff(0, false);
        module->prepareToPlay(44100.0, kSynthBlock);
        setGainIndex(ZylGainDomain::kDefaultIndex);
        runBlock();
    }

    static ZylGainDomain* gainDomain() { return module->getDomainSet()->getGainDomain(); }

    static void setGainIndex(int index)
    {
        module->getGainParameter()->setValueObject(gainDomain()->getValues()[static_cast<size_t>(index)],
                                                   kCauseUser, false, true);
        zyltest::drainMessageQueue();
    }

    static juce::AudioSampleBuffer& output() { return *audio->getBuffer(); }

    // One block with the given events; the MIDI buffer is emptied afterwards, as its pin is
    // cleared every block.
    static void runBlock(const std::vector<juce::MidiMessage>& events = {})
    {
        for (const auto& event : events)
            midi->getBuffer()->addEvent(event, 0);
        module->processBlock(kSynthBlock);
        midi->getBuffer()->clear();
    }

    static int activeVoices()
    {
        int count = 0;
        for (int i = 0; i < module->getSynth()->getNumVoices(); ++i)
            count += module->getSynth()->getVoice(i)->isVoiceActive() ? 1 : 0;
        return count;
    }

    static bool isPlaying(int note)
    {
        for (int i = 0; i < module->getSynth()->getNumVoices(); ++i)
            if (module->getSynth()->getVoice(i)->getCurrentlyPlayingNote() == note)
                return true;
        return false;
    }

    static std::unique_ptr<ZylModuleContainer> container;
    static std::unique_ptr<ZylSynthModule> module;
    static std::unique_ptr<ZylAudioCable> audio;
    static std::unique_ptr<ZylMidiCable> midi;
};
std::unique_ptr<ZylModuleContainer> SynthModule::container;
std::unique_ptr<ZylSynthModule> SynthModule::module;
std::unique_ptr<ZylAudioCable> SynthModule::audio;
std::unique_ptr<ZylMidiCable> SynthModule::midi;

juce::MidiMessage noteOn(int note)
{
    return juce::MidiMessage::noteOn(1, note, static_cast<juce::uint8>(127));
}
} // namespace

TEST(ZylGainDomain, HoldsMinusInfinityThenHalfDecibelSteps)
{
    ZylSynthDomainSet set;
    auto* domain = set.getGainDomain();
    ASSERT_EQ(set.getDomains().size(), 1u);
    EXPECT_EQ(domain->getShortName(), L"Gain");
    EXPECT_EQ(domain->getName(), L"Synth Gain");
    EXPECT_EQ(domain->getDescription(), L"Output volume level of built-in test synth");
    EXPECT_EQ(domain->getControlType(), 1);
    const auto& values = domain->getValues();
    ASSERT_EQ(values.size(), 78u);
    EXPECT_EQ(values[0]->getName(), L"-oo dB");
    EXPECT_EQ(values[0]->getData(), 0.0);
    EXPECT_EQ(values[1]->getName(), L"-38.0 dB");
    EXPECT_EQ(values[2]->getName(), L"-37.5 dB");
    EXPECT_EQ(values[77]->getName(), L"0.0 dB");
    EXPECT_EQ(domain->getDefaultValue(), values[69]);
    EXPECT_EQ(values[69]->getName(), L"-4.0 dB");
    for (size_t i = 1; i < values.size(); ++i)
    {
        const double db = -38.0 + 0.5 * static_cast<double>(i - 1);
        EXPECT_DOUBLE_EQ(values[i]->getData(), std::pow(10.0, db / 20.0)) << i;
        EXPECT_EQ(values[i]->getId(), static_cast<int>(i));
        EXPECT_EQ(values[i]->getIndex(), static_cast<int>(i));
        EXPECT_NEAR(values[i]->getPosition(), static_cast<float>(i) / 78.0f, 1e-5f);
        EXPECT_EQ(values[i]->getLabel(), values[i]->getName());
    }
}

TEST_F(SynthModule, IsModule8000WithItsPinsAndOneGainParameterPerProgram)
{
    EXPECT_EQ(module->getId(), 8000);
    EXPECT_EQ(container->getModule(8000), module.get());
    EXPECT_EQ(module->getTransportModule(), nullptr);
    ASSERT_EQ(module->getPins().size(), 2u);
    EXPECT_FALSE(module->getAudioOutPin()->isClearedEachBlock());
    EXPECT_TRUE(module->getAudioOutPin()->isClearedOnReset());
    EXPECT_TRUE(module->getMidiInPin()->isClearedEachBlock());
    EXPECT_FALSE(module->getMidiInPin()->isClearedOnReset());

    auto* gain = module->getGainParameter();
    ASSERT_NE(gain, nullptr);
    EXPECT_EQ(gain->getName(), L"Gain");
    EXPECT_EQ(gain->getAutomationIndex(), 0);
    EXPECT_EQ(gain->getDomain(), gainDomain());
    for (auto* program : module->getPrograms())
        ASSERT_NE(program->getParameterById(0), nullptr);
    EXPECT_EQ(module->getSynth()->getNumSounds(), 10);
    EXPECT_EQ(module->getSynth()->getNumVoices(), 64);
}

TEST_F(SynthModule, EveryGainStepGivesItsFactorTimes065)
{
    const auto& values = gainDomain()->getValues();
    for (size_t i = 0; i < values.size(); ++i)
    {
        setGainIndex(static_cast<int>(i));
        EXPECT_FLOAT_EQ(module->getGain(), static_cast<float>(values[i]->getData()) * 0.65f) << i;
    }
    setGainIndex(0);
    EXPECT_EQ(module->getGain(), 0.0f);
    setGainIndex(77);
    EXPECT_FLOAT_EQ(module->getGain(), 0.65f);
    setGainIndex(ZylGainDomain::kDefaultIndex);
    EXPECT_NEAR(module->getGain(), 0.4101f, 1e-4f);
}

TEST_F(SynthModule, SilentBlocksCarryTheKeepAliveSample)
{
    // At "-oo dB" a sounding note renders silence too.
    setGainIndex(0);
    runBlock({ noteOn(60) });
    runBlock();
    EXPECT_EQ(output().getSample(0, 0), 0.0001f);
    output().setSample(0, 0, 0.0f);
    EXPECT_EQ(output().getMagnitude(0, kSynthBlock), 0.0f);

    // A block that sounds keeps its own first sample.
    setGainIndex(77);
    runBlock();
    runBlock();
    EXPECT_GT(output().getMagnitude(0, 0, kSynthBlock), 0.01f);
}

// Blocks without MIDI skip the voices while none sounds; a note started outside the blocks (the
// synthesiser's own noteOn, from any thread) still sounds from the next block on, and the
// synthesiser counts as silent again once its last voice has ended.
TEST_F(SynthModule, IdleBlocksSkipTheVoicesYetANoteFromOutsideSoundsInTheNextBlock)
{
    auto* synth = module->getSynth();
    runBlock();
    ASSERT_TRUE(synth->isSilent());
    EXPECT_EQ(output().getSample(0, 0), 0.0001f);

    synth->noteOn(1, 60, 1.0f);
    EXPECT_FALSE(synth->isSilent());
    runBlock();
    runBlock();
    EXPECT_GT(output().getMagnitude(0, 0, kSynthBlock), 0.01f);
    EXPECT_FALSE(synth->isSilent());

    // Released, the note fades over blocks that still render it, then the synth is silent.
    synth->allNotesOff(0, true);
    int blocks = 0;
    for (; blocks < 2000 && activeVoices() > 0; ++blocks)
    {
        EXPECT_FALSE(synth->isSilent()) << "block " << blocks;
        runBlock();
    }
    ASSERT_EQ(activeVoices(), 0);
    EXPECT_GT(blocks, 0);
    EXPECT_TRUE(synth->isSilent());
    runBlock();
    EXPECT_EQ(output().getSample(0, 0), 0.0001f);
    output().setSample(0, 0, 0.0f);
    EXPECT_EQ(output().getMagnitude(0, kSynthBlock), 0.0f);
}

TEST_F(SynthModule, GainChangeRampsAcrossTheNextBlock)
{
    // A constant sample at full level shows the ramp itself.
    juce::AudioSampleBuffer ones(1, 44100);
    juce::FloatVectorOperations::fill(ones.getWritePointer(0), 1.0f, ones.getNumSamples());
    const std::string xml = "<soundBank type=\"sampler\" attackTime=\"0\"><sounds>"
                            "<sound name=\"dc\" rootMidiNote=\"60\" firstMidiNote=\"0\" lastMidiNote=\"127\"/>"
                            "</sounds></soundBank>";
    const auto zip = zyltest::makeZip({ { "_metadata.xml", zyltest::textBlock(xml) },
                                        { "dc.wav", zyltest::makeWav(ones, 44100.0) } });
    juce::MemoryInputStream stream(zip, false);
    ZylSynth constant(stream);

    juce::AudioSampleBuffer buffer(2, kSynthBlock);
    juce::MidiBuffer events;
    events.addEvent(noteOn(60), 0);
    module->render(constant, buffer, events, 0.0f, 0.65f, false);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < kSynthBlock; ++i)
            EXPECT_NEAR(buffer.getSample(c, i), 0.65f * static_cast<float>(i) / kSynthBlock, 1e-5f) << i;

    // The module ramps from the gain of its previous block to the current one.
    setGainIndex(0);
    runBlock({ noteOn(69) });
    EXPECT_EQ(module->getPreviousGain(), 0.0f);
    setGainIndex(77);
    runBlock();
    EXPECT_FLOAT_EQ(module->getPreviousGain(), 0.65f);
    EXPECT_LT(output().getMagnitude(0, 0, 16), 0.02f);
    EXPECT_GT(output().getMagnitude(0, kSynthBlock - 64, 64), 0.1f);
}

TEST_F(SynthModule, TheSixtyFifthNoteStealsAVoice)
{
    std::vector<juce::MidiMessage> notes;
    for (int note = 3; note < 3 + 65; ++note)
        notes.push_back(noteOn(note));
    runBlock(notes);
    EXPECT_EQ(activeVoices(), 64);
    EXPECT_TRUE(isPlaying(67)); // the newest note sounds
    EXPECT_TRUE(isPlaying(3));  // the lowest note is protected
    EXPECT_FALSE(isPlaying(4)); // the oldest unprotected note gave its voice
}

TEST_F(SynthModule, SampleRateChangesStopNotesAndReachTheVoices)
{
    runBlock({ noteOn(60) });
    module->prepareToPlay(44100.0, 256);
    EXPECT_EQ(activeVoices(), 1);

    module->prepareToPlay(48000.0, kSynthBlock);
    EXPECT_EQ(activeVoices(), 0);
    for (int i = 0; i < module->getSynth()->getNumVoices(); ++i)
        EXPECT_EQ(module->getSynth()->getVoice(i)->getSampleRate(), 48000.0);
    EXPECT_EQ(module->getSynth()->getSampleRate(), 48000.0);
}

TEST_F(SynthModule, StopCutsNotesWhileAResetLetsThemFade)
{
    runBlock({ noteOn(60), noteOn(64) });
    module->releaseResources();
    EXPECT_EQ(activeVoices(), 0);

    runBlock({ noteOn(60), noteOn(64) });
    container->getResetParameter()->sendMessage(kResetCommand);
    zyltest::drainMessageQueue();
    ASSERT_TRUE(module->isResetPending());
    runBlock();
    EXPECT_FALSE(module->isResetPending());
    EXPECT_EQ(activeVoices(), 2);
    for (int i = 0; i < module->getSynth()->getNumVoices(); ++i)
    {
        if (auto* voice = dynamic_cast<ZylSamplerVoice*>(module->getSynth()->getVoice(i)); voice->isVoiceActive())
        {
            EXPECT_TRUE(voice->isInReleasePhase());
        }
    }
    // The release lasts 0.7 s of the table: note 64 reads its table (centred on 69) slower,
    // so it takes 0.7 * 2^(5/12) s, 81 blocks.
    for (int block = 0; block < 82; ++block)
        runBlock();
    EXPECT_EQ(activeVoices(), 0);
}

TEST_F(SynthModule, ABlockWithoutCablesRendersNothing)
{
    module->getAudioOutPin()->disconnect(audio.get());
    module->getMidiInPin()->disconnect(midi.get());
    setGainIndex(77);
    module->processBlock(kSynthBlock);
    EXPECT_FLOAT_EQ(module->getPreviousGain(), 0.65f);

    // Audio without MIDI: sounding notes play on.
    module->getAudioOutPin()->connect(audio.get());
    module->getSynth()->noteOn(1, 69, 1.0f);
    module->processBlock(kSynthBlock);
    EXPECT_GT(output().getMagnitude(0, 0, kSynthBlock), 0.01f);
    module->getMidiInPin()->connect(midi.get());
}
