#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "modules/ZylMidiOutputDeviceManager.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylMidiOutputModule.h"
#include "modules/ZylTransportModule.h"
#include "tests/TestHelpers.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"
#include "tests/modules/ZylMidiTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
constexpr int kOutputBlock = 512;

struct MidiOutput : ::testing::Test
{
    MidiOutput()
    {
        backend.outputNames = { "Out A" };
        transport = std::make_unique<ZylTransportModule>(&container);
        transport->initialise();
        transport->stopTimer();
        group = std::make_unique<ZylMidiOutputGroupModule>(&container, &backend);
        group->initialise();
        output = group->getOutputModule(0);
        for (auto* cable : { &inCable, &hostCable, &synthCable })
            cable->setBuffer(std::make_unique<juce::MidiBuffer>());
        pin(0)->connect(&inCable);
        pin(1)->connect(&hostCable);
        pin(2)->connect(&synthCable);
        transport->prepareToPlay(48000.0, kOutputBlock);
        group->prepareToPlay(48000.0, kOutputBlock);
        zyltest::drainMessageQueue();
    }

    ~MidiOutput() override
    {
        pin(0)->disconnect(&inCable);
        pin(1)->disconnect(&hostCable);
        pin(2)->disconnect(&synthCable);
        group.reset();
        transport.reset();
        zyltest::drainMessageQueue();
    }

    ZylPin<ZylMidiCable>* pin(int index) const
    {
        return dynamic_cast<ZylPin<ZylMidiCable>*>(output->getPins()[static_cast<size_t>(index)]);
    }

    static void select(ZylParameter* parameter, int index)
    {
        parameter->setValueObject(parameter->getDomain()->getValues()[static_cast<size_t>(index)],
                                  kCauseUser, false, true);
        zyltest::drainMessageQueue();
    }

    // Lists exactly the named ports, opens them all and sends to the first.
    void sendToFirstOfOpenPorts(const juce::StringArray& names)
    {
        backend.outputNames = names;
        for (const auto& name : names)
            group->getDeviceManager()->setMidiOutputEnabled(name, true);
        group->refreshDeviceValues();
        zyltest::drainMessageQueue();
        select(output->getDeviceParameter(), ZylMidiOutputModule::kFirstPortDestination);
    }

    // One block with the given input events; the module's reset flag is left to the test.
    void block(std::vector<std::pair<int, juce::MidiMessage>> input = {})
    {
        inCable.getBuffer()->clear();
        for (const auto& [position, message] : input)
            inCable.getBuffer()->addEvent(message, position);
        const juce::ScopedLock lock(container.getCallbackLock());
        output->process(kOutputBlock);
    }

    juce::MidiBuffer& host() { return *hostCable.getBuffer(); }
    juce::MidiBuffer& synth() { return *synthCable.getBuffer(); }

    ZylFakeMidiPortBackend backend;
    ZylModuleContainer container;
    std::unique_ptr<ZylTransportModule> transport;
    std::unique_ptr<ZylMidiOutputGroupModule> group;
    ZylMidiOutputModule* output = nullptr;
    ZylMidiCable inCable;
    ZylMidiCable hostCable;
    ZylMidiCable synthCable;
};

juce::MidiMessage noteOn(int channel, int note)
{
    return juce::MidiMessage::noteOn(channel, note, (juce::uint8) 100);
}

// Closes an output port on another thread and keeps that close, with the device manager's lock
// taken, half-way until release().
struct OutputPortCloseHold : zyltest::PortCloseHold
{
    OutputPortCloseHold(ZylFakeMidiPortBackend& ports, ZylMidiOutputDeviceManager& devices,
                        const juce::String& name)
        : PortCloseHold(ports.onOutputClose, [&devices, name] { devices.setMidiOutputEnabled(name, false); })
    {
    }
};
} // namespace

TEST_F(MidiOutput, LateEventsStayPendingAndChannelsAreRemapped)
{
    select(output->getDeviceParameter(), ZylMidiOutputModule::kDestinationSynth);
    select(output->getChannelParameter(), 9);
    output->setResetPending(false);
    block({ { 3, noteOn(1, 60) }, { 700, noteOn(1, 62) } });
    auto events = zyltest::eventsOf(synth());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].first, 3);
    EXPECT_EQ(events[0].second.getChannel(), 10);
    EXPECT_TRUE(host().isEmpty());

    block();
    events = zyltest::eventsOf(synth());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].first, 188);
    EXPECT_EQ(events[0].second.getNoteNumber(), 62);
    EXPECT_EQ(events[0].second.getChannel(), 10);
}

TEST_F(MidiOutput, ChangeSendsAllNotesOffToTheOldDestinationOnly)
{
    select(output->getDeviceParameter(), ZylMidiOutputModule::kDestinationSynth);
    select(output->getChannelParameter(), 2);
    output->setResetPending(false);
    block({ { 0, noteOn(1, 60) } });
    EXPECT_EQ(zyltest::eventsOf(synth()).size(), 1u);

    select(output->getDeviceParameter(), ZylMidiOutputModule::kDestinationHost);
    output->setResetPending(false);
    block({ { 0, noteOn(1, 61) } });
    const auto events = zyltest::eventsOf(synth());
    ASSERT_EQ(events.size(), 16u);
    for (const auto& event : events)
    {
        EXPECT_TRUE(event.second.isAllNotesOff());
        EXPECT_EQ(event.second.getChannel(), 3);
    }
    EXPECT_TRUE(host().isEmpty());

    block({ { 0, noteOn(1, 62) } });
    EXPECT_TRUE(synth().isEmpty());
    ASSERT_EQ(zyltest::eventsOf(host()).size(), 1u);
    EXPECT_EQ(zyltest::eventsOf(host())[0].second.getNoteNumber(), 62);

    select(output->getDeviceParameter(), ZylMidiOutputModule::kDestinationNone);
    output->setResetPending(false);
    block({ { 0, noteOn(1, 63) } }); // all-notes-off to the host
    block({ { 0, noteOn(1, 64) } });
    EXPECT_TRUE(host().isEmpty());
    EXPECT_TRUE(synth().isEmpty());
}

TEST_F(MidiOutput, PendingResetSendsAllNotesOffAndKeepsFutureEvents)
{
    select(output->getDeviceParameter(), ZylMidiOutputModule::kDestinationHost);
    select(output->getChannelParameter(), 0);
    output->setResetPending(false);
    block();
    output->setResetPending(true);
    block({ { 5, noteOn(1, 60) }, { 600, noteOn(1, 61) } });
    EXPECT_FALSE(output->isResetPending());
    const auto events = zyltest::eventsOf(host());
    ASSERT_EQ(events.size(), 16u);
    for (const auto& event : events)
    {
        EXPECT_TRUE(event.second.isAllNotesOff());
        EXPECT_EQ(event.second.getChannel(), 1);
    }
    block();
    ASSERT_EQ(zyltest::eventsOf(host()).size(), 1u);
    EXPECT_EQ(zyltest::eventsOf(host())[0].first, 88);
}

TEST_F(MidiOutput, PortDestinationSendsTheWholeBlockAtOnce)
{
    sendToFirstOfOpenPorts({ "Out A" });
    select(output->getChannelParameter(), 0);
    output->setResetPending(false);
    block({ { 0, noteOn(1, 60) }, { 400, noteOn(4, 61) } });
    const auto sent = backend.sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].port, "Out A");
    EXPECT_EQ(sent[1].message.getNoteNumber(), 61);
    EXPECT_EQ(sent[1].message.getChannel(), 1);
    EXPECT_TRUE(host().isEmpty());
    EXPECT_TRUE(synth().isEmpty());

    auto ext = group->createExtXml(false, 0);
    ASSERT_NE(ext, nullptr);
    EXPECT_EQ(group->createExtXml(true, 0), nullptr);
}

// A block on another thread while the close is held; false when it did not end within seconds.
static bool outputBlockEndsWhileHeld(MidiOutput& test, OutputPortCloseHold& hold,
                                     std::vector<std::pair<int, juce::MidiMessage>> input = {})
{
    return zyltest::endsWhileCloseHeld(hold, [&test, &input] { test.block(input); });
}

TEST_F(MidiOutput, BlockDoesNotWaitWhileTheMessageThreadClosesThePort)
{
    sendToFirstOfOpenPorts({ "Out A" });
    auto* devices = group->getDeviceManager();
    output->setResetPending(false);
    block();

    OutputPortCloseHold hold(backend, *devices, "Out A");
    EXPECT_TRUE(outputBlockEndsWhileHeld(*this, hold, { { 0, noteOn(1, 60) } }))
        << "the block waited for the port to close";
    hold.release();
    block(); // what was held back finds the port gone
    EXPECT_TRUE(backend.sent().empty());
    EXPECT_EQ(backend.openOutputCount(), 0);
}

TEST_F(MidiOutput, EventsHeldBackWhileThePortsAreBusyReachThePortLaterInOrder)
{
    sendToFirstOfOpenPorts({ "Out A", "Out B" });
    auto* devices = group->getDeviceManager();
    select(output->getChannelParameter(), 2);
    output->setResetPending(false);
    block();

    {
        OutputPortCloseHold hold(backend, *devices, "Out B");
        ASSERT_TRUE(outputBlockEndsWhileHeld(*this, hold, { { 0, noteOn(1, 60) }, { 100, noteOn(1, 61) } }));
        ASSERT_TRUE(outputBlockEndsWhileHeld(*this, hold));
        ASSERT_TRUE(outputBlockEndsWhileHeld(*this, hold, { { 5, juce::MidiMessage::noteOff(1, 60) } }));
        EXPECT_TRUE(backend.sent().empty());
    }
    block({ { 0, noteOn(1, 62) } });
    const auto sent = backend.sent();
    ASSERT_EQ(sent.size(), 4u);
    const int notes[] = { 60, 61, 60, 62 };
    for (size_t i = 0; i < sent.size(); ++i)
    {
        EXPECT_EQ(sent[i].port, "Out A");
        EXPECT_EQ(sent[i].message.getNoteNumber(), notes[i]);
        EXPECT_EQ(sent[i].message.getChannel(), 3);
        EXPECT_EQ(sent[i].message.isNoteOff(), i == 2);
    }
}

TEST_F(MidiOutput, PortLeftWhileTheLockIsBusyStillGetsItsAllNotesOff)
{
    sendToFirstOfOpenPorts({ "Out A", "Out B" });
    auto* devices = group->getDeviceManager();
    output->setResetPending(false);
    block({ { 0, noteOn(1, 60) } });
    ASSERT_EQ(backend.sent().size(), 1u);

    {
        OutputPortCloseHold hold(backend, *devices, "Out B");
        select(output->getDeviceParameter(), ZylMidiOutputModule::kDestinationSynth);
        output->setResetPending(false);
        ASSERT_TRUE(outputBlockEndsWhileHeld(*this, hold, { { 0, noteOn(1, 61) } }));
        EXPECT_TRUE(synth().isEmpty());
        ASSERT_TRUE(outputBlockEndsWhileHeld(*this, hold, { { 0, noteOn(1, 62) } }));
        EXPECT_EQ(zyltest::eventsOf(synth()).size(), 1u); // the new destination needs no port
    }
    block();
    const auto sent = backend.sent();
    ASSERT_EQ(sent.size(), 17u);
    for (size_t i = 1; i < sent.size(); ++i)
    {
        EXPECT_EQ(sent[i].port, "Out A");
        EXPECT_TRUE(sent[i].message.isAllNotesOff());
    }
}

TEST_F(MidiOutput, HeldBackEventsBeyondTheRoomLeftBecomeSustainOffAndAllNotesOff)
{
    sendToFirstOfOpenPorts({ "Out A", "Out B" });
    auto* devices = group->getDeviceManager();
    select(output->getChannelParameter(), 4);
    output->setResetPending(false);
    block();

    // The pedal goes down among the dropped events: all-notes-off alone would leave the notes
    // it holds sounding on the receiver.
    std::vector<std::pair<int, juce::MidiMessage>> dense;
    dense.emplace_back(0, juce::MidiMessage::controllerEvent(1, 64, 127));
    for (int i = 0; i < 300; ++i)
        dense.emplace_back(i, noteOn(1, i % 128));
    {
        OutputPortCloseHold hold(backend, *devices, "Out B");
        ASSERT_TRUE(outputBlockEndsWhileHeld(*this, hold, dense));
        ASSERT_TRUE(outputBlockEndsWhileHeld(*this, hold, dense));
    }
    block({ { 0, noteOn(1, 70) } });
    const auto sent = backend.sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_TRUE(sent[0].message.isSustainPedalOff());
    EXPECT_EQ(sent[0].message.getChannel(), 5);
    EXPECT_TRUE(sent[1].message.isAllNotesOff());
    EXPECT_EQ(sent[1].message.getChannel(), 5);
    EXPECT_EQ(sent[2].message.getNoteNumber(), 70);
}
