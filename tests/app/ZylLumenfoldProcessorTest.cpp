// Checks in the manner of plug-in validators, on the whole product tree behind the processor:
// random automation in small sub-blocks, blocks larger than prepared, several rates, and a
// state that survives a save, a load into a fresh processor and a second save byte for byte,
// and a device restart after the player took its play head back.
#include "framework/ZylMessage.h"
#include "framework/ZylModuleContainer.h"
#include "tests/TestHelpers.h"
#include "tests/app/ZylLumenfoldTestFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace
{
bool allFinite(const juce::AudioBuffer<float>& audio)
{
    for (int c = 0; c < audio.getNumChannels(); ++c)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            if (!std::isfinite(audio.getSample(c, i)))
                return false;
    return true;
}

TEST(LumenfoldProcessor, RandomAutomationInSmallSubBlocksAndOversizedBlocksStayFinite)
{
    zyltest::LumenfoldTestFilter filter;
    filter.initialise();
    zyltest::drainMessageQueue();
    ASSERT_GT(filter.getNumParameters(), 0);

    juce::Random random(20261210);
    for (const double rate : { 44100.0, 48000.0, 96000.0 })
    {
        SCOPED_TRACE(rate);
        constexpr int kPrepared = 256;
        filter.prepareToPlay(rate, kPrepared);
        juce::AudioBuffer<float> audio(2, kPrepared * 4);
        juce::MidiBuffer midi;
        for (int block = 0; block < 40; ++block)
        {
            // Automation between 32-sample sub-blocks, as a host splits a block at its events.
            for (int sub = 0; sub < kPrepared / 32; ++sub)
            {
                const int index = random.nextInt(filter.getNumParameters());
                filter.setParameter(index, random.nextFloat());
                juce::AudioBuffer<float> part(audio.getArrayOfWritePointers(), 2, sub * 32, 32);
                midi.clear();
                if (random.nextInt(4) == 0)
                    midi.addEvent(juce::MidiMessage::noteOn(1, 36 + random.nextInt(60), 0.9f), 0);
                filter.processBlock(part, midi);
                ASSERT_TRUE(allFinite(part));
            }
            if (block % 8 == 0)
                zyltest::drainMessageQueue();
        }
        // A block four times the prepared size.
        midi.clear();
        midi.addEvent(juce::MidiMessage::noteOn(1, 60, 0.9f), 17);
        filter.processBlock(audio, midi);
        EXPECT_TRUE(allFinite(audio));
        filter.releaseResources();
        zyltest::drainMessageQueue();
    }
}

TEST(LumenfoldProcessor, TightHostAutomationBesideBlocksKeepsTheQueueWithinTheParameterCount)
{
    // A host setting every parameter over and over beside unpaced blocks, with no message
    // delivered meanwhile: each change used to queue a message, and the queue grew for ever.
    zyltest::LumenfoldTestFilter filter;
    filter.initialise();
    constexpr int kBlock = 256;
    filter.prepareToPlay(44100.0, kBlock);
    zyltest::drainMessageQueue();
    juce::AudioBuffer<float> audio(2, kBlock);
    juce::MidiBuffer midi;
    const int parameters = filter.getNumParameters();
    const int aliveBefore = ZylMessage::getNumAlive();
    int peak = 0;
    juce::Random random(29);
    for (int round = 0; round < 40; ++round)
    {
        for (int index = 0; index < parameters; ++index)
            filter.setParameter(index, random.nextFloat());
        midi.clear();
        midi.addEvent(juce::MidiMessage::noteOn(1, 36 + round, 0.9f), 0);
        filter.processBlock(audio, midi);
        peak = std::max(peak, ZylMessage::getNumAlive() - aliveBefore);
    }
    EXPECT_GT(peak, 0);
    EXPECT_LE(peak, parameters + 8) << parameters << " parameters";
    zyltest::drainMessageQueue();
    filter.releaseResources();
    zyltest::drainMessageQueue();
}

// A host's play head that counts the tree's questions; it answers a playing song at 120 bpm.
class CountingPlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        ++asked;
        PositionInfo info;
        info.setBpm(120.0);
        info.setTimeSignature(TimeSignature { 4, 4 });
        info.setPpqPosition(8.0);
        info.setIsPlaying(true);
        return info;
    }

    mutable int asked = 0;
};

TEST(LumenfoldProcessor, ADeviceRestartAfterTheBlocksNeverReachesThePlayHeadTheyWereLent)
{
    zyltest::LumenfoldTestFilter filter;
    filter.initialise();
    zyltest::drainMessageQueue();
    filter.setPlayConfigDetails(0, 2, 44100.0, 512);
    filter.prepareToPlay(44100.0, 512);
    juce::AudioBuffer<float> audio(2, 512);
    juce::MidiBuffer midi;

    // JUCE's AudioProcessorPlayer lends the processor a play head that lives on its callback's
    // stack, for that callback only.
    auto head = std::make_unique<CountingPlayHead>();
    for (int block = 0; block < 3; ++block)
    {
        filter.setPlayHead(head.get());
        {
            const juce::ScopedLock lock(filter.getCallbackLock());
            filter.processBlock(audio, midi);
        }
        filter.setPlayHead(nullptr);
    }
    EXPECT_GT(head->asked, 0);
    EXPECT_EQ(filter.getModuleContainer()->getPlayHead(), nullptr);

    // The restarts of a device (another type, device, rate or block size) prepare the tree
    // again outside any callback: the transport's first block runs on its own clock.
    const int asked = head->asked;
    for (const auto& [rate, size] : { std::pair { 44100.0, 512 }, std::pair { 48000.0, 128 } })
    {
        filter.releaseResources();
        filter.prepareToPlay(rate, size);
    }
    EXPECT_EQ(head->asked, asked);
    // With the head gone, as the player's stack frame is: the sanitizer build sees any read.
    head.reset();
    filter.releaseResources();
    filter.prepareToPlay(44100.0, 256);
    {
        const juce::ScopedLock lock(filter.getCallbackLock());
        filter.processBlock(audio, midi);
    }
    EXPECT_TRUE(allFinite(audio));
    filter.releaseResources();
    zyltest::drainMessageQueue();
}

TEST(LumenfoldProcessor, SavedStateLoadsIntoAFreshProcessorAndSavesAgainByteIdentical)
{
    juce::MemoryBlock first;
    {
        zyltest::LumenfoldTestFilter filter;
        filter.initialise();
        zyltest::drainMessageQueue();
        juce::Random random(7);
        for (int program : { 0, 5, 127 })
        {
            filter.setCurrentProgram(program);
            for (int i = 0; i < filter.getNumParameters(); ++i)
                filter.setParameter(i, random.nextFloat());
            filter.changeProgramName(program, "Saved " + juce::String(program));
            zyltest::drainMessageQueue();
        }
        filter.setCurrentProgram(5);
        zyltest::drainMessageQueue();
        filter.getStateInformation(first);
    }
    zyltest::drainMessageQueue();

    zyltest::LumenfoldTestFilter fresh;
    fresh.initialise();
    zyltest::drainMessageQueue();
    fresh.setStateInformation(first.getData(), static_cast<int>(first.getSize()));
    zyltest::drainMessageQueue();
    EXPECT_EQ(fresh.getCurrentProgram(), 5);
    EXPECT_EQ(fresh.getProgramName(127), "Saved 127");

    juce::MemoryBlock second;
    fresh.getStateInformation(second);
    EXPECT_EQ(first, second);
}

TEST(LumenfoldProcessor, AnEmptyOrForeignStateLoadsNothing)
{
    zyltest::LumenfoldTestFilter filter;
    filter.initialise();
    zyltest::drainMessageQueue();
    juce::MemoryBlock before;
    filter.getStateInformation(before);
    const juce::String foreign("<fxb><mod i=\"2\" n=\"another\" v=\"2.5.544\"/></fxb>");
    filter.setStateInformation(nullptr, 0);
    filter.setStateInformation(foreign.toRawUTF8(), static_cast<int>(foreign.getNumBytesAsUTF8()));
    zyltest::drainMessageQueue();
    juce::MemoryBlock after;
    filter.getStateInformation(after);
    EXPECT_EQ(before, after);
}
} // namespace
