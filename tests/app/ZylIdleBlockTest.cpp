// What a block reads from the parameters is kept until the parameter epoch moves: a parameter
// changed between two blocks, its message still waiting, reaches the very next block in each
// module that reads parameters in its blocks, as a direct read would.
#include "app/ZylLumenfoldModule.h"
#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameter.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylMidiOutputModule.h"
#include "modules/ZylSynthModule.h"
#include "modules/ZylTransportDomainSet.h"
#include "modules/ZylTransportModule.h"
#include "modules/ZylTransportStateDomain.h"
#include "tests/TestHelpers.h"
#include "tests/app/ZylLumenfoldTestFilter.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
constexpr double kIdleTestRate = 44100.0;
constexpr int kIdleTestBlock = 512;

struct IdleTestTree
{
    zyltest::LumenfoldTestFilter filter;
    juce::AudioBuffer<float> audio { 2, kIdleTestBlock };
    juce::MidiBuffer midi;

    IdleTestTree()
    {
        filter.initialise();
        filter.prepareToPlay(kIdleTestRate, kIdleTestBlock);
        midi.ensureSize(4096);
        zyltest::drainMessageQueue();
        for (int i = 0; i < 4; ++i)
            block();
        zyltest::drainMessageQueue();
    }

    ~IdleTestTree()
    {
        filter.releaseResources();
        zyltest::drainMessageQueue();
    }

    ZylLumenfoldModule& root() const { return filter.root(); }
    ZylMidiInputModule& input() const { return *root().getMidiInputGroupModule()->getInputModule(0); }

    // One block with these host events; afterwards midi holds what the tree sent to the host.
    void block(const std::vector<juce::MidiMessage>& events = {})
    {
        midi.clear();
        for (const auto& event : events)
            midi.addEvent(event, 0);
        filter.processBlock(audio, midi);
    }

    bool hostGotNoteOn(int note) const
    {
        for (const auto metadata : midi)
            if (metadata.getMessage().isNoteOn() && metadata.getMessage().getNoteNumber() == note)
                return true;
        return false;
    }
};

// Sets the parameter to its value object and leaves the change message waiting.
void setLeavingTheMessage(ZylParameter* parameter, ZylValue* value)
{
    ASSERT_NE(parameter, nullptr);
    ASSERT_NE(value, nullptr);
    parameter->setValueObject(value, kCauseUser, false, true);
}

ZylValue* valueAt(ZylParameter* parameter, int index)
{
    return parameter->getDomain()->getValues()[static_cast<size_t>(index)];
}
} // namespace

TEST(IdleBlocks, AParameterChangedBetweenBlocksReachesTheNextBlockBeforeItsMessage)
{
    IdleTestTree tree;
    auto& input = tree.input();
    auto* output = tree.root().getMidiOutputGroupModule()->getOutputModule(0);
    auto* synth = tree.root().getSynthModule();
    auto* transport = tree.root().getTransportModule();
    const auto on = [](int number) { return juce::MidiMessage::noteOn(1, number, 0.8f); };
    const auto off = [](int number) { return juce::MidiMessage::noteOff(1, number); };

    // The MIDI input's source: the factory track source drops the host's notes, the host
    // source passes them.
    tree.block({ on(60) });
    ASSERT_FALSE(input.isAnyNoteOn());
    setLeavingTheMessage(input.getDeviceParameter(),
                         valueAt(input.getDeviceParameter(), ZylMidiInputModule::kSourceHost));
    tree.block({ on(60) });
    EXPECT_TRUE(input.isAnyNoteOn()) << "the input kept its old source";
    tree.block({ off(60) });
    zyltest::drainMessageQueue();

    // The MIDI output's destination: the note passed through reaches the host once the host
    // is the destination (the block of the change sends all-notes-off to the old one).
    output->setResetPending(false);
    tree.block({ on(62) });
    ASSERT_FALSE(tree.hostGotNoteOn(62));
    tree.block({ off(62) });
    setLeavingTheMessage(output->getDeviceParameter(),
                         valueAt(output->getDeviceParameter(), ZylMidiOutputModule::kDestinationHost));
    tree.block();
    tree.block({ on(62) });
    EXPECT_TRUE(tree.hostGotNoteOn(62)) << "the output kept its old destination";
    tree.block({ off(62) });
    zyltest::drainMessageQueue();

    // The synth's gain: the block ramps to the new gain and keeps it as the next start.
    const float before = synth->getPreviousGain();
    ASSERT_NE(before, 0.0f);
    setLeavingTheMessage(synth->getGainParameter(), valueAt(synth->getGainParameter(), 0));
    tree.block();
    EXPECT_EQ(synth->getPreviousGain(), 0.0f) << "the synth kept the gain " << before;
    zyltest::drainMessageQueue();

    // The transport's play state, as the block publishes it.
    juce::AudioPlayHead::CurrentPositionInfo info;
    int bar = 0;
    int beat = 0;
    bool hostUsed = false;
    transport->copyPosition(info, bar, beat, hostUsed);
    ASSERT_FALSE(info.isPlaying);
    setLeavingTheMessage(transport->getStateParameter(),
                         transport->getDomainSet()->getStateDomain()->getPlaying());
    tree.block();
    transport->copyPosition(info, bar, beat, hostUsed);
    EXPECT_TRUE(info.isPlaying) << "the transport kept its old play state";
    zyltest::drainMessageQueue();
}
