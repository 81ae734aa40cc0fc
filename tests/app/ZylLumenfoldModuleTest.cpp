#include "app/ZylLumenfoldModule.h"
#include "framework/ZylDomain.h"
#include "framework/ZylFxFiles.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylProgramModule.h"
#include "framework/ZylValue.h"
#include "modules/ZylMidiFromFileDomain.h"
#include "modules/ZylMidiInputDomainSet.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylMidiOutputModule.h"
#include "modules/ZylSynthModule.h"
#include "modules/ZylTransportDomainSet.h"
#include "modules/ZylTransportModule.h"
#include "modules/ZylTransportStateDomain.h"
#include "resources/ZylEmbeddedArchive.h"
#include "space/ZylSpaceModule.h"
#include "ui/ZylHelpModule.h"
#include "tests/TestHelpers.h"
#include "tests/app/ZylLumenfoldTestFilter.h"
#include "tests/framework/ZylParameterTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace
{
struct Root : ::testing::Test
{
    Root()
    {
        filter.initialise();
        zyltest::drainMessageQueue();
    }

    ~Root() override
    {
        filter.releaseResources();
        zyltest::drainMessageQueue();
    }

    ZylLumenfoldModule& root() { return filter.root(); }
    ZylTransportModule& transport() { return *root().getTransportModule(); }
    ZylMidiInputModule& input() { return *root().getMidiInputGroupModule()->getInputModule(0); }
    ZylMidiOutputModule& output() { return *root().getMidiOutputGroupModule()->getOutputModule(0); }

    // Runs one block of n samples through the processor with buffers of its own; returns the
    // largest magnitude and checks that every sample is finite.
    float runBlock(int n, int channels = 2)
    {
        juce::AudioBuffer<float> audio(channels, n);
        audio.clear();
        juce::MidiBuffer midi;
        filter.processBlock(audio, midi);
        float largest = 0.0f;
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < n; ++i)
            {
                const float x = audio.getSample(c, i);
                EXPECT_TRUE(std::isfinite(x));
                largest = std::max(largest, std::abs(x));
            }
        return largest;
    }

    // (pin, cable) for every connection the root makes, in wiring order.
    std::vector<std::pair<ZylPinBase*, ZylCableBase*>> expectedConnections()
    {
        auto& r = root();
        auto& out = output();
        auto* synth = r.getSynthModule();
        auto* space = r.getSpaceModule();
        return {
            { input().getMidiOutPin(), &r.getHostMidiCable() },
            { input().getKeyboardPin(), &r.getKeyboardCable() },
            { input().getMidiThruPin(), &r.getThruCable() },
            { space->getKeyboardPin(), &r.getKeyboardCable() },
            { space->getMidiInPin(), &r.getThruCable() },
            { space->getMidiOutPin(), &r.getSpaceOutCable() },
            { out.getPins()[0], &r.getSpaceOutCable() },
            { out.getPins()[1], &r.getHostMidiCable() },
            { out.getPins()[2], &r.getSynthInCable() },
            { synth->getMidiInPin(), &r.getSynthInCable() },
            { synth->getAudioOutPin(), &r.getAudioCable() },
        };
    }

    static int countOf(const ZylPinBase* pin, const ZylCableBase* cable)
    {
        int n = 0;
        for (auto* c : pin->getCables())
            n += c == cable ? 1 : 0;
        return n;
    }

    zyltest::LumenfoldTestFilter filter;
};

TEST_F(Root, BuildsTheChildrenInOrderWithTheProductIdentity)
{
    auto& r = root();
    std::vector<std::int32_t> ids;
    for (auto* child : r.getChildren())
        ids.push_back(child->getId());
    EXPECT_EQ(ids, (std::vector<std::int32_t> { 1000, 2000, 3000, 3100, 8000, 9000, 10000 }));

    EXPECT_EQ(r.getId(), 2);
    EXPECT_EQ(filter.getModuleContainer()->getModule(2), &r);
    EXPECT_TRUE(r.getName().empty());
    EXPECT_EQ(r.getPluginName(), "lumenfold");
    EXPECT_EQ(filter.getName(), "lumenfold");
    EXPECT_EQ(static_cast<std::uint32_t>(r.getPluginId()), 0x51563032u); // "QV02"
    EXPECT_EQ(r.getVersionString(), "2.5.544");

    EXPECT_EQ(r.getProgramModule(), filter.getModuleContainer()->getModule(1000));
    EXPECT_EQ(r.getTransportModule(), filter.getModuleContainer()->getModule(2000));
    EXPECT_EQ(r.getMidiInputGroupModule(), filter.getModuleContainer()->getModule(3000));
    EXPECT_EQ(r.getMidiOutputGroupModule(), filter.getModuleContainer()->getModule(3100));
    EXPECT_EQ(r.getSynthModule(), filter.getModuleContainer()->getModule(8000));
    EXPECT_EQ(r.getHelpModule(), filter.getModuleContainer()->getModule(9000));
    EXPECT_EQ(r.getSpaceModule(), filter.getModuleContainer()->getModule(10000));
    EXPECT_EQ(r.getCurrentProgram(), 0);
}

TEST_F(Root, DemoTracksAreNamedAndLoadedInArchiveOrder)
{
    auto* tracks = root().getMidiInputGroupModule()->getDomainSet()->getTrackDomain();
    std::vector<std::wstring> names;
    for (auto* value : tracks->getValues())
        names.push_back(value->getName());
    EXPECT_EQ(names, ZylLumenfoldModule::getDemoTrackNames());
    EXPECT_EQ(names.front(), L"Gymnop\u00e9die no. 1");
    EXPECT_EQ(input().getSequencer().getFiles().size(), 6);
}

TEST_F(Root, EveryPinHoldsEachCableOnceAfterAnyNumberOfRestarts)
{
    struct Case
    {
        double rate;
        int block;
        bool prepareTwice; // a host may prepare again without releasing first
    };
    const Case cases[] = { { 44100.0, 512, false }, { 48000.0, 64, true },   { 96000.0, 1024, false },
                           { 22050.0, 32, false },  { 44100.0, 256, true },  { 88200.0, 480, false },
                           { 48000.0, 128, false }, { 32000.0, 100, false }, { 44100.0, 2048, true },
                           { 192000.0, 512, false } };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.block << " samples");
        filter.prepareToPlay(c.rate, c.block);
        if (c.prepareTwice)
            filter.prepareToPlay(c.rate, c.block);
        for (const auto& [pin, cable] : expectedConnections())
            EXPECT_EQ(countOf(pin, cable), 1);
        EXPECT_TRUE(input().isActive());
        EXPECT_TRUE(output().isActive());
        EXPECT_TRUE(root().getSynthModule()->isActive());
        EXPECT_TRUE(root().getSpaceModule()->isActive());
        EXPECT_EQ(transport().getSampleRate(), c.rate);
        for (int b = 0; b < 3; ++b)
            runBlock(c.block);

        filter.releaseResources();
        for (const auto& [pin, cable] : expectedConnections())
            EXPECT_EQ(countOf(pin, cable), 0);
        EXPECT_FALSE(input().isActive());
        EXPECT_FALSE(root().getSynthModule()->isActive());
    }
}

TEST_F(Root, HostBuffersRideOnTheCablesForOneBlockOnly)
{
    EXPECT_TRUE(root().getAudioCable().ownsBuffer());
    EXPECT_TRUE(root().getHostMidiCable().ownsBuffer());
    filter.prepareToPlay(44100.0, 512);
    // Released before the audio starts, so that no block frees them.
    EXPECT_EQ(root().getAudioCable().getBuffer(), nullptr);
    EXPECT_EQ(root().getHostMidiCable().getBuffer(), nullptr);
    runBlock(512);
    EXPECT_EQ(root().getAudioCable().getBuffer(), nullptr);
    EXPECT_EQ(root().getHostMidiCable().getBuffer(), nullptr);
    EXPECT_FALSE(root().getAudioCable().ownsBuffer());
    // The cables between the modules keep their own buffers.
    EXPECT_TRUE(root().getThruCable().ownsBuffer());
    EXPECT_TRUE(root().getSynthInCable().ownsBuffer());
    EXPECT_TRUE(root().getKeyboardCable().ownsBuffer());
}

TEST_F(Root, ABlockBeforePrepareOrAfterReleaseLeavesNoStaleSamples)
{
    for (const bool prepareFirst : { false, true })
    {
        if (prepareFirst)
        {
            filter.prepareToPlay(44100.0, 256);
            filter.releaseResources();
        }
        juce::AudioBuffer<float> audio(2, 256);
        for (int c = 0; c < 2; ++c)
            juce::FloatVectorOperations::fill(audio.getWritePointer(c), 0.75f, 256);
        juce::MidiBuffer midi;
        filter.processBlock(audio, midi);
        EXPECT_EQ(audio.getMagnitude(0, 256), 0.0f);
    }
}

TEST_F(Root, ClockRunsOnPastTwoToThe31Samples)
{
    filter.prepareToPlay(44100.0, 512);
    constexpr double kOldLimit = 2147483647.0;
    {
        const juce::ScopedLock lock(filter.getCallbackLock());
        transport().setSamplePosition(kOldLimit - 1000.0);
    }
    double previousPpq = -1.0;
    for (int b = 0; b < 8; ++b)
    {
        const double before = transport().getSamplePosition();
        runBlock(512);
        EXPECT_EQ(transport().getSamplePosition(), before + 512.0);
        EXPECT_GT(transport().getPosition().ppqPosition, previousPpq);
        previousPpq = transport().getPosition().ppqPosition;
    }
    EXPECT_GT(transport().getSamplePosition(), kOldLimit + 2000.0);
}

// A zip archive in memory whose first member holds bytes.
juce::MemoryBlock zipWith(const juce::String& name, const juce::MemoryBlock& bytes)
{
    juce::ZipFile::Builder builder;
    builder.addEntry(new juce::MemoryInputStream(bytes, true), 9, name,
                     juce::Time(2020, 0, 1, 0, 0));
    juce::MemoryOutputStream out;
    builder.writeToStream(out, nullptr);
    return out.getMemoryBlock();
}

TEST_F(Root, MissingOrDamagedBankStillSendsEveryValueSoTheClockTakesTheShownTempo)
{
    // The tempo parameter keeps its default of 120 while the clock starts at 90: only a value
    // message brings the two together.
    juce::MemoryBlock garbage("not a bank at all", 17);
    juce::MemoryBlock validHeaderBadChunk;
    {
        juce::MemoryBlock chunk("<fxb><mod i=\"2\" n=\"other\"/></fxb>", 33);
        validHeaderBadChunk = makeFxbFile(chunk, 0x51563032u);
    }
    const auto damaged = zipWith("factory.fxb", garbage);
    const auto wrongState = zipWith("factory.fxb", validHeaderBadChunk);
    const juce::MemoryBlock notAZip("PK\x03\x04 broken", 11);

    struct Case
    {
        const char* what;
        ZylEmbeddedArchive archive;
    };
    const Case cases[] = {
        { "no archive", ZylEmbeddedArchive() },
        { "not a zip", ZylEmbeddedArchive(notAZip.getData(), notAZip.getSize()) },
        { "damaged bank", ZylEmbeddedArchive(damaged.getData(), damaged.getSize()) },
        { "state of another program", ZylEmbeddedArchive(wrongState.getData(), wrongState.getSize()) },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        zyltest::LumenfoldTestFilter fresh;
        fresh.initialise();
        zyltest::drainMessageQueue();
        auto& clock = *fresh.root().getTransportModule();
        clock.setBpm(90.0f); // as it starts, before any value message

        EXPECT_FALSE(fresh.root().loadFactoryBankFrom(c.archive));
        zyltest::drainMessageQueue();
        EXPECT_EQ(clock.getPosition().bpm, 120.0);
        EXPECT_EQ(clock.getBpmParameter()->getValue(), 120.0f);
    }
}

TEST_F(Root, ATempoSetWhileStoppedReachesTheClock)
{
    // Stopped, the clock still takes every new tempo; setting the value a parameter already
    // holds posts nothing (and changes nothing).
    transport().getStateParameter()->setValueObject(
        transport().getDomainSet()->getStateDomain()->getStopped(), kCauseUser, false, true);
    zyltest::drainMessageQueue();
    filter.prepareToPlay(44100.0, 512);
    for (const float tempo : { 100.0f, 120.0f, 100.0f, 133.0f })
    {
        transport().getBpmParameter()->setValue(tempo, kCauseUser, false, true);
        zyltest::drainMessageQueue();
        runBlock(512);
        EXPECT_EQ(transport().getPosition().bpm, tempo);
        EXPECT_TRUE(transport().isStopped());
    }
}
} // namespace

namespace
{
TEST_F(Root, AStoredChordLoadsWhateverChordFilterTheProgramHadBefore)
{
    // The factory bank's first program filters triads; a saved program that allows every
    // chord and plays the unison must load as saved.
    auto* space = root().getSpaceModule();
    zyltest::selectByName(space->getChordFilterParameter(), L"All");
    zyltest::selectByName(space->getChordParameter(), L"U");
    juce::MemoryBlock saved;
    root().saveProgramToMemory(0, saved);

    zyltest::selectByName(space->getChordFilterParameter(), L"Triads");
    ASSERT_NE(space->getChordParameter()->getValueText(), L"U");
    ASSERT_TRUE(root().loadProgramFromMemory(0, saved.getData(), static_cast<juce::int64>(saved.getSize())));
    zyltest::drainMessageQueue();
    EXPECT_EQ(space->getChordFilterParameter()->getValueText(), L"All");
    EXPECT_EQ(space->getChordParameter()->getValueText(), L"U");
}
} // namespace

namespace
{
TEST_F(Root, AHostNoteCrossesTheWholeChainInItsOwnBlock)
{
    // Input, space, output and synth run in that order: a note from the host reaches the
    // chosen destination in the block it arrived in.
    struct Case
    {
        const wchar_t* destination;
        bool sounds;
        bool backToHost;
    };
    const Case cases[] = { { L"Built-in synth", true, false }, { L"VST host", false, true } };
    zyltest::selectByName(input().getDeviceParameter(), L"VST/AU host");
    filter.prepareToPlay(44100.0, 256);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(juce::String(c.destination));
        zyltest::selectByName(output().getDeviceParameter(), c.destination);
        for (int i = 0; i < 300; ++i)
            runBlock(256); // the reset the change asked for, and the last note's release

        juce::AudioBuffer<float> audio(2, 256);
        audio.clear();
        juce::MidiBuffer midi;
        midi.addEvent(juce::MidiMessage::noteOn(1, 60, 0.8f), 0);
        filter.processBlock(audio, midi);
        EXPECT_EQ(audio.getMagnitude(0, 256) > 0.001f, c.sounds);
        bool noteBack = false;
        for (const auto event : midi)
            noteBack = noteBack || (event.getMessage().isNoteOn() && event.getMessage().getNoteNumber() == 60);
        EXPECT_EQ(noteBack, c.backToHost);

        juce::MidiBuffer off;
        off.addEvent(juce::MidiMessage::noteOff(1, 60), 0);
        filter.processBlock(audio, off);
    }
}
} // namespace
