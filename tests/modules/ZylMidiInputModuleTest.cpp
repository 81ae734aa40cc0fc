#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylMidiKeyboardCable.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "modules/ZylMidiBufferOperations.h"
#include "modules/ZylMidiInputDeviceManager.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylTransportDomainSet.h"
#include "modules/ZylTransportModule.h"
#include "modules/ZylTransportStateDomain.h"
#include "tests/TestHelpers.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"
#include "tests/modules/ZylMidiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace
{
constexpr double kRate = 48000.0;
constexpr int kBlock = 512;

struct MidiInput : ::testing::Test
{
    MidiInput()
    {
        backend.inputNames = { "Port A", "Port B" };
        transport = std::make_unique<ZylTransportModule>(&container);
        transport->initialise();
        transport->stopTimer();
        group = std::make_unique<ZylMidiInputGroupModule>(&container, &backend);
        group->initialise();
        input = group->getInputModule(0);
        input->getMidiOutPin()->connect(&hostCable);
        input->getKeyboardPin()->connect(&keyboardCable);
        input->getMidiThruPin()->connect(&thruCable);
        hostCable.setBuffer(std::make_unique<juce::MidiBuffer>());
        keyboardCable.setBuffer(std::make_unique<juce::MidiKeyboardState>());
        thruCable.setBuffer(std::make_unique<juce::MidiBuffer>());
        transport->prepareToPlay(kRate, kBlock);
        group->prepareToPlay(kRate, kBlock);
        input->activate();
        zyltest::drainMessageQueue();
    }

    ~MidiInput() override
    {
        input->deactivate();
        input->getMidiOutPin()->disconnect(&hostCable);
        input->getKeyboardPin()->disconnect(&keyboardCable);
        input->getMidiThruPin()->disconnect(&thruCable);
        group.reset();
        transport.reset();
        zyltest::drainMessageQueue();
    }

    static void select(ZylParameter* parameter, int index)
    {
        parameter->setValueObject(parameter->getDomain()->getValues()[static_cast<size_t>(index)],
                                  kCauseUser, false, true);
        zyltest::drainMessageQueue();
    }

    void setTransportState(ZylValue* (ZylTransportStateDomain::*which)() const noexcept)
    {
        auto* states = transport->getDomainSet()->getStateDomain();
        transport->getStateParameter()->setValueObject((states->*which)(), kCauseUser, false, true);
        zyltest::drainMessageQueue();
    }

    juce::MidiBuffer& host() { return *hostCable.getBuffer(); }

    void block()
    {
        const juce::ScopedLock lock(container.getCallbackLock());
        input->process(kBlock);
    }

    ZylFakeMidiPortBackend backend;
    ZylModuleContainer container;
    std::unique_ptr<ZylTransportModule> transport;
    std::unique_ptr<ZylMidiInputGroupModule> group;
    ZylMidiInputModule* input = nullptr;
    ZylMidiCable hostCable;
    ZylMidiKeyboardCable keyboardCable;
    ZylMidiCable thruCable;
};
} // namespace

TEST(ZylMidiBufferOperations, CopiesFilterRemapAndDropLateEvents)
{
    juce::MidiBuffer src;
    src.addEvent(juce::MidiMessage::noteOn(3, 60, (juce::uint8) 90), 0);
    src.addEvent(juce::MidiMessage::noteOn(5, 62, (juce::uint8) 90), 10);
    src.addEvent(juce::MidiMessage::midiClock(), 20);
    src.addEvent(juce::MidiMessage::noteOff(3, 60), 511);
    src.addEvent(juce::MidiMessage::noteOff(5, 62), 512);

    juce::MidiBuffer onChannel;
    copyMidiOnChannel(src, onChannel, 3, 512);
    auto events = zyltest::eventsOf(onChannel);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_TRUE(events[0].second.isNoteOn() && events[0].second.getChannel() == 3);
    EXPECT_TRUE(events[1].second.isMidiClock());
    EXPECT_EQ(events[1].first, 20);
    EXPECT_TRUE(events[2].second.isNoteOff() && events[2].first == 511);

    juce::MidiBuffer toChannel;
    toChannel.addEvent(juce::MidiMessage::midiStart(), 0); // dst is appended to, not cleared
    copyMidiToChannel(src, toChannel, 16, 512);
    events = zyltest::eventsOf(toChannel);
    ASSERT_EQ(events.size(), 5u);
    EXPECT_TRUE(events[0].second.isMidiStart());
    EXPECT_EQ(events[1].second.getChannel(), 16);
    EXPECT_EQ(events[2].second.getChannel(), 16);
    EXPECT_EQ(events[2].second.getNoteNumber(), 62);
    EXPECT_TRUE(events[3].second.isMidiClock());
    EXPECT_EQ(events[4].second.getChannel(), 16);

    juce::MidiBuffer off;
    addAllNotesOff(off);
    events = zyltest::eventsOf(off);
    ASSERT_EQ(events.size(), 16u);
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_TRUE(events[static_cast<size_t>(i)].second.isAllNotesOff());
        EXPECT_EQ(events[static_cast<size_t>(i)].second.getChannel(), i + 1);
        EXPECT_EQ(events[static_cast<size_t>(i)].first, 0);
    }
}

TEST(ZylMidiBufferOperations, CopiesLeaveTheBytesAddEventWouldLeaveEqualPositionsInOrder)
{
    // Dense input: several events at each position, a long system exclusive among them.
    juce::MidiBuffer src;
    const juce::uint8 sysex[] = { 0xF0, 0x7D, 1, 2, 3, 4, 5, 0xF7 };
    for (int i = 0; i < 600; ++i)
    {
        const int channel = 1 + i % 4;
        const int position = i / 3;
        if (i % 97 == 0)
            src.addEvent(sysex, static_cast<int>(sizeof(sysex)), position);
        src.addEvent(i % 2 == 0 ? juce::MidiMessage::noteOn(channel, i % 128, (juce::uint8) 90)
                                : juce::MidiMessage::noteOff(channel, i % 128),
                     position);
    }
    const auto reference = [&src](juce::MidiBuffer dst, int from, int to, int delta,
                                  const std::function<bool(juce::MidiMessage&)>& keep) {
        for (const auto metadata : src)
        {
            auto message = metadata.getMessage();
            if (metadata.samplePosition >= from && metadata.samplePosition < to && keep(message))
                dst.addEvent(message, metadata.samplePosition + delta);
        }
        return dst;
    };
    const auto onChannel3 = [](juce::MidiMessage& m) { return m.isSysEx() || m.getChannel() == 3; };
    const auto toChannel9 = [](juce::MidiMessage& m) {
        if (!m.isSysEx())
            m.setChannel(9);
        return true;
    };
    const auto all = [](juce::MidiMessage&) { return true; };

    juce::MidiBuffer empty;
    juce::MidiBuffer earlier; // dst already holds events at and before the copied ones
    earlier.addEvent(juce::MidiMessage::midiStart(), 0);
    earlier.addEvent(juce::MidiMessage::midiClock(), 40);
    juce::MidiBuffer later = earlier; // and after them
    later.addEvent(juce::MidiMessage::midiStop(), 150);

    for (const auto* start : { &empty, &earlier, &later })
    {
        SCOPED_TRACE(start->getNumEvents());
        juce::MidiBuffer dst = *start;
        copyMidiOnChannel(src, dst, 3, 180);
        EXPECT_EQ(dst.data, reference(*start, 0, 180, 0, onChannel3).data);

        dst = *start;
        copyMidiToChannel(src, dst, 9, 200);
        EXPECT_EQ(dst.data, reference(*start, 0, 200, 0, toChannel9).data);

        dst = *start;
        copyMidiEvents(src, dst, 40, 120, -40);
        EXPECT_EQ(dst.data, reference(*start, 40, 120, -40, all).data);
    }
}

TEST_F(MidiInput, SourcesReplaceTheHostMidi)
{
    const auto fillHost = [this] {
        host().clear();
        host().addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8) 90), 0);
        host().addEvent(juce::MidiMessage::noteOn(3, 64, (juce::uint8) 90), 5);
        host().addEvent(juce::MidiMessage::midiClock(), 7);
    };

    select(input->getDeviceParameter(), ZylMidiInputModule::kSourceNone);
    fillHost();
    block();
    EXPECT_TRUE(host().isEmpty());
    EXPECT_TRUE(thruCable.getBuffer()->isEmpty());

    select(input->getDeviceParameter(), ZylMidiInputModule::kSourceHost);
    select(input->getChannelParameter(), 0);
    fillHost();
    block();
    EXPECT_EQ(zyltest::eventsOf(host()).size(), 3u);
    EXPECT_EQ(zyltest::eventsOf(*thruCable.getBuffer()).size(), 3u);

    select(input->getChannelParameter(), 3);
    fillHost();
    block();
    const auto events = zyltest::eventsOf(host());
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].second.getNoteNumber(), 64);
    EXPECT_TRUE(events[1].second.isMidiClock());
    EXPECT_EQ(input->getLastNote(), 64);
    EXPECT_EQ(input->getLastChannel(), 3);
    EXPECT_TRUE(input->isAnyNoteOn());
}

TEST_F(MidiInput, PortSourceTakesTheCurrentPortsMessages)
{
    group->getDeviceManager()->setMidiInputEnabled("Port A", true);
    group->refreshDeviceValues();
    zyltest::drainMessageQueue();
    select(input->getDeviceParameter(), ZylMidiInputModule::kFirstPortSource);
    block(); // makes the port current
    EXPECT_EQ(group->getDeviceManager()->getCurrentInputName(), "Port A");
    EXPECT_TRUE(backend.deliver("Port A", juce::MidiMessage::noteOn(2, 70, (juce::uint8) 100)));
    block();
    const auto events = zyltest::eventsOf(host());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].second.getNoteNumber(), 70);
}

TEST_F(MidiInput, BlockDoesNotWaitWhileTheMessageThreadClosesTheCurrentPort)
{
    auto* devices = group->getDeviceManager();
    devices->setMidiInputEnabled("Port A", true);
    group->refreshDeviceValues();
    zyltest::drainMessageQueue();
    select(input->getDeviceParameter(), ZylMidiInputModule::kFirstPortSource);
    block();
    ASSERT_NE(devices->getCurrentInput(), nullptr);

    zyltest::PortCloseHold hold(backend.onInputStop, [devices] { devices->setMidiInputEnabled("Port A", false); });
    const bool finished = zyltest::endsWhileCloseHeld(hold, [this] { block(); });
    hold.release();
    EXPECT_TRUE(finished) << "the block waited for the port to close";

    // The next block finds the port gone and makes nothing current.
    block();
    EXPECT_EQ(devices->getCurrentInput(), nullptr);
    EXPECT_TRUE(host().isEmpty());
}

TEST_F(MidiInput, BuiltInTrackPlaysOnlyWhileTheTransportPlays)
{
    juce::MidiMessageSequence track;
    track.addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8) 100), 0.0);
    track.addEvent(juce::MidiMessage::noteOff(1, 60), 96.0);
    juce::MidiFile file;
    file.setTicksPerQuarterNote(96);
    file.addTrack(track);
    juce::MemoryOutputStream bytes;
    file.writeTo(bytes, 0);
    juce::MemoryInputStream in(bytes.getData(), bytes.getDataSize(), false);
    ASSERT_TRUE(input->getSequencer().addMidiFile(in));
    select(input->getDeviceParameter(), ZylMidiInputModule::kSourceTrack);
    select(input->getTrackParameter(), 0);

    setTransportState(&ZylTransportStateDomain::getArmed);
    host().addEvent(juce::MidiMessage::noteOn(1, 50, (juce::uint8) 90), 0);
    block();
    EXPECT_TRUE(host().isEmpty());

    setTransportState(&ZylTransportStateDomain::getPlaying);
    {
        const juce::ScopedLock lock(container.getCallbackLock());
        transport->processBlock(kBlock); // publishes the position the track plays from
    }
    block();
    const auto events = zyltest::eventsOf(host());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(events[0].second.isNoteOn());
    EXPECT_EQ(events[0].second.getNoteNumber(), 60);
}

TEST_F(MidiInput, SongPositionAndClockMoveTheTransport)
{
    setTransportState(&ZylTransportStateDomain::getArmed);
    transport->setBpm(120.0f);
    input->setSongPosition(16);
    EXPECT_DOUBLE_EQ(transport->getSamplePosition(), 96000.0);
    EXPECT_EQ(input->getClockCount(), 96);

    input->setClockCount(0);
    transport->setSamplePosition(0.0);
    std::vector<double> positions;
    for (int i = 0; i < 12; ++i)
    {
        input->handleClockTick();
        positions.push_back(transport->getSamplePosition());
    }
    EXPECT_DOUBLE_EQ(positions[4], 0.0);
    EXPECT_DOUBLE_EQ(positions[5], 6000.0);
    EXPECT_DOUBLE_EQ(positions[10], 6000.0);
    EXPECT_DOUBLE_EQ(positions[11], 12000.0);

    // While Stopped, sync messages from the source are ignored.
    setTransportState(&ZylTransportStateDomain::getStopped);
    juce::MidiBuffer sync;
    sync.addEvent(juce::MidiMessage::songPositionPointer(32), 0);
    input->handleSyncMessages(sync, kBlock);
    EXPECT_EQ(input->getStoredSongPosition(), 16);
    setTransportState(&ZylTransportStateDomain::getArmed);
    input->handleSyncMessages(sync, kBlock);
    EXPECT_EQ(input->getStoredSongPosition(), 32);
}

TEST_F(MidiInput, HeldNoteStateCountsNoteZeroAndIgnoresZeroVelocity)
{
    select(input->getDeviceParameter(), ZylMidiInputModule::kSourceHost);
    host().addEvent(juce::MidiMessage::noteOn(1, 0, (juce::uint8) 90), 0);
    block();
    EXPECT_TRUE(input->isAnyNoteOn());
    EXPECT_EQ(input->getLastNote(), 0);

    host().clear();
    host().addEvent(juce::MidiMessage::noteOn(1, 40, (juce::uint8) 90), 0);
    block();
    EXPECT_EQ(input->getLastNote(), 40);
    input->handleNoteOn(keyboardCable.getBuffer(), 1, 41, 0.0f);
    EXPECT_EQ(input->getLastNote(), 40);
}

TEST_F(MidiInput, WholeStateCarriesTheOpenedPortsProgramsDoNot)
{
    group->getDeviceManager()->setMidiInputEnabled("Port B", true);
    EXPECT_EQ(group->createExtXml(true, 0), nullptr);
    auto ext = group->createExtXml(false, 0);
    ASSERT_NE(ext, nullptr);
    group->getDeviceManager()->disableAllInputs();

    juce::XmlElement wrapper("ext");
    wrapper.addChildElement(ext.release());
    group->restoreExtXml(wrapper, true, 0, false);
    EXPECT_FALSE(group->getDeviceManager()->isMidiInputEnabled("Port B"));
    group->restoreExtXml(wrapper, false, 0, false);
    EXPECT_TRUE(group->getDeviceManager()->isMidiInputEnabled("Port B"));
    zyltest::drainMessageQueue();
}

TEST_F(MidiInput, SourceChangeDropsStalePortInputAndClearsTheHeldNoteState)
{
    group->getDeviceManager()->setMidiInputEnabled("Port A", true);
    group->refreshDeviceValues();
    zyltest::drainMessageQueue();
    select(input->getDeviceParameter(), ZylMidiInputModule::kFirstPortSource);
    block();
    ASSERT_TRUE(backend.deliver("Port A", juce::MidiMessage::noteOn(1, 70, (juce::uint8) 100)));
    block();
    EXPECT_EQ(input->getLastNote(), 70);
    EXPECT_TRUE(input->isAnyNoteOn());

    select(input->getDeviceParameter(), ZylMidiInputModule::kSourceHost);
    EXPECT_EQ(input->getLastNote(), 0);
    EXPECT_FALSE(input->isAnyNoteOn());
    host().clear();
    block();
    // The port stays current while the host is the source; what it sends now is stale.
    ASSERT_TRUE(backend.deliver("Port A", juce::MidiMessage::noteOn(1, 71, (juce::uint8) 100)));
    select(input->getDeviceParameter(), ZylMidiInputModule::kFirstPortSource);
    block();
    EXPECT_TRUE(host().isEmpty());
}

TEST_F(MidiInput, StartReappliesTheStoredSongPositionAndStoppedIgnoresSync)
{
    transport->setBpm(120.0f);
    setTransportState(&ZylTransportStateDomain::getArmed);
    juce::MidiBuffer sync;
    sync.addEvent(juce::MidiMessage::songPositionPointer(8), 0);
    input->handleSyncMessages(sync, kBlock);
    EXPECT_DOUBLE_EQ(transport->getSamplePosition(), 48000.0);

    transport->setSamplePosition(1000.0);
    juce::MidiBuffer start;
    start.addEvent(juce::MidiMessage::midiStart(), 0);
    input->handleSyncMessages(start, kBlock);
    EXPECT_DOUBLE_EQ(transport->getSamplePosition(), 48000.0);
    zyltest::drainMessageQueue();
    EXPECT_EQ(transport->getStateParameter()->getValueObject(),
              transport->getDomainSet()->getStateDomain()->getPlaying());

    setTransportState(&ZylTransportStateDomain::getStopped);
    transport->setSamplePosition(1000.0);
    input->handleSyncMessages(start, kBlock);
    juce::MidiBuffer clocks;
    for (int i = 0; i < 6; ++i)
        clocks.addEvent(juce::MidiMessage::midiClock(), i);
    input->handleSyncMessages(clocks, kBlock);
    EXPECT_DOUBLE_EQ(transport->getSamplePosition(), 1000.0);
    zyltest::drainMessageQueue();
    EXPECT_EQ(transport->getStateParameter()->getValueObject(),
              transport->getDomainSet()->getStateDomain()->getStopped());
}

TEST_F(MidiInput, ClocksLeaveAHostDrivenTransportAlone)
{
    struct HostPlayHead : juce::AudioPlayHead
    {
        juce::Optional<PositionInfo> getPosition() const override
        {
            PositionInfo info;
            info.setBpm(120.0);
            info.setTimeSignature(TimeSignature { 4, 4 });
            info.setPpqPosition(0.0);
            info.setIsPlaying(false);
            return info;
        }
    } playHead;
    setTransportState(&ZylTransportStateDomain::getArmed);
    container.setPlayHead(&playHead);
    {
        const juce::ScopedLock lock(container.getCallbackLock());
        transport->processBlock(kBlock);
    }
    transport->setSamplePosition(0.0);
    input->setClockCount(0);
    for (int i = 0; i < 12; ++i)
        input->handleClockTick();
    EXPECT_EQ(input->getClockCount(), 12);
    EXPECT_DOUBLE_EQ(transport->getSamplePosition(), 0.0);
    container.setPlayHead(nullptr);
    zyltest::drainMessageQueue();
}
