#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylMidiKeyboardCable.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylValue.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylTransportModule.h"
#include "space/ZylCell.h"
#include "space/ZylCellStates.h"
#include "space/ZylChordAssistDomain.h"
#include "space/ZylChordDomain.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceDomain.h"
#include "space/ZylSpaceDomainSet.h"
#include "space/ZylSpaceModule.h"
#include "tests/TestHelpers.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"
#include "tests/framework/ZylParameterTestSupport.h"
#include "tests/space/ZylSpaceTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <random>
#include <thread>
#include <array>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
constexpr double kRate = 44100.0;
constexpr int kBlock = 64;

struct Event
{
    bool on;
    int note;
    int channel;
    float velocity;
};

std::vector<Event> eventsOf(const juce::MidiBuffer& buffer)
{
    std::vector<Event> events;
    for (const auto metadata : buffer)
    {
        const auto message = metadata.getMessage();
        if (message.isNoteOnOrOff())
            events.push_back({ message.isNoteOn(), message.getNoteNumber(), message.getChannel(),
                               message.getFloatVelocity() });
    }
    return events;
}

std::vector<int> notesOf(const std::vector<Event>& events, bool on)
{
    std::vector<int> notes;
    for (const auto& event : events)
        if (event.on == on)
            notes.push_back(event.note);
    return notes;
}

std::set<ZylCell*> cellsOfNotes(const ZylSpace* space, std::initializer_list<int> notes)
{
    std::set<ZylCell*> cells;
    std::vector<ZylCell*> found;
    for (int note : notes)
    {
        space->getCellsForNote(note, found, false, nullptr);
        cells.insert(found.begin(), found.end());
    }
    return cells;
}

std::set<ZylCell*> asSet(const ZylCellSet& set)
{
    return { set.getCells().begin(), set.getCells().end() };
}

// A transport, a MIDI input group reading the host's MIDI and the space module, joined by the
// cables the root module lays: keyboard state and thru from the input module to the space
// module, and the space module's output.
struct SpaceModule : ::testing::Test
{
    using SpaceFactory = std::unique_ptr<ZylSpaceModule> (*)(ZylModuleContainer*);

    // make builds the space module (a plain one by default).
    explicit SpaceModule(SpaceFactory make = nullptr)
    {
        transport = std::make_unique<ZylTransportModule>(&container);
        transport->initialise();
        transport->stopTimer();
        group = std::make_unique<ZylMidiInputGroupModule>(&container, &backend);
        group->initialise();
        input = group->getInputModule(0);
        space = make != nullptr ? make(&container) : std::make_unique<ZylSpaceModule>(&container);
        space->initialise();

        hostCable.setBuffer(std::make_unique<juce::MidiBuffer>());
        keyboardCable.setBuffer(std::make_unique<juce::MidiKeyboardState>());
        thruCable.setBuffer(std::make_unique<juce::MidiBuffer>());
        outCable.setBuffer(std::make_unique<juce::MidiBuffer>());
        input->getMidiOutPin()->connect(&hostCable);
        input->getKeyboardPin()->connect(&keyboardCable);
        input->getMidiThruPin()->connect(&thruCable);
        space->getKeyboardPin()->connect(&keyboardCable);
        space->getMidiInPin()->connect(&thruCable);
        space->getMidiOutPin()->connect(&outCable);

        transport->prepareToPlay(kRate, kBlock);
        group->prepareToPlay(kRate, kBlock);
        space->prepareToPlay(kRate, kBlock);
        input->activate();
        select(input->getDeviceParameter(), ZylMidiInputModule::kSourceHost);
        // What a factory bank load does at start: every value once more.
        space->updateParameters();
        zyltest::drainMessageQueue();
        block();
        zyltest::selectByName(space->getChordParameter(), L"M");
        block();
    }

    ~SpaceModule() override
    {
        input->deactivate();
        space.reset();
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


    // One block of the chain with these host events; returns the space module's note events
    // and keeps the notes its output left on.
    std::vector<Event> block(std::vector<juce::MidiMessage> host = {})
    {
        hostCable.getBuffer()->clear();
        for (const auto& message : host)
            hostCable.getBuffer()->addEvent(message, 0);
        {
            const juce::ScopedLock lock(container.getCallbackLock());
            input->processBlock(kBlock);
            space->processBlock(kBlock);
        }
        auto events = eventsOf(*outCable.getBuffer());
        for (const auto& event : events)
        {
            if (event.on)
                sounding.insert(event.note);
            else
                sounding.erase(event.note);
        }
        return events;
    }

    ZylLiveSpace& grid() { return *space->getGridSpace(); }
    ZylLiveSpace& piano() { return *space->getPianoSpace(); }

    // What a view does under the live space's lock: the pointer arriving over the cell presses
    // (selects) it, the button triggers it, and its release stops everything unless latch holds
    // it.
    void press(ZylLiveSpace& live, ZylCell* cell) { zyltest::pressAndTrigger(live, cell); }

    void release(ZylLiveSpace& live)
    {
        const juce::ScopedLock lock(live.getLock());
        auto* states = live.getPrimaryStates();
        if (!states->isLatch())
            states->releaseAll();
    }

    ZylCell* gridCell(int note) { return zyltest::visibleCellOf(grid().getSpace(), note); }

    // The chords of a whole ranking of the root, in list order, as the module ranks them.
    std::vector<ZylChordValue*> ranking(ZylCell* root, int scoreMode)
    {
        const juce::ScopedLock gridLock(grid().getLock());
        const juce::ScopedLock chordLock(space->getChordParameter()->getLock());
        std::vector<ZylCellSet*> shapes;
        grid().getSpace()->findChordShapes(root, shapes, scoreMode, false, space.get(), space.get());
        std::vector<ZylChordValue*> chords;
        for (auto* shape : shapes)
            chords.push_back(shape->getChord());
        return chords;
    }

    ZylFakeMidiPortBackend backend;
    ZylModuleContainer container;
    std::unique_ptr<ZylTransportModule> transport;
    std::unique_ptr<ZylMidiInputGroupModule> group;
    ZylMidiInputModule* input = nullptr;
    std::unique_ptr<ZylSpaceModule> space;
    ZylMidiCable hostCable;
    ZylMidiKeyboardCable keyboardCable;
    ZylMidiCable thruCable;
    ZylMidiCable outCable;
    std::set<int> sounding;
};

juce::MidiMessage noteOn(int note)
{
    return juce::MidiMessage::noteOn(1, note, (juce::uint8) 100);
}

juce::MidiMessage noteOff(int note)
{
    return juce::MidiMessage::noteOff(1, note);
}
} // namespace

TEST_F(SpaceModule, ParametersTakeTenConsecutiveHostIndexesInEveryProgram)
{
    const wchar_t* names[] = { L"Space", L"Labels", L"Key",  L"Scale",    L"Chord",
                               L"Voicing", L"Assist", L"Trigger", L"On Click", L"Ch Filter" };
    const int first = space->getProgramSet(0)->getParameterById(0)->getAutomationIndex();
    for (int program : { 0, 127 })
    {
        auto* set = space->getProgramSet(program);
        for (int id = 0; id < ZylSpaceModule::kNumParameters; ++id)
        {
            auto* parameter = set->getParameterById(id);
            ASSERT_NE(parameter, nullptr);
            EXPECT_EQ(parameter->getAutomationIndex(), first + id);
            EXPECT_EQ(parameter->getName(), names[id]);
        }
    }
    // Each program filters its chord list through a view of its own.
    EXPECT_NE(space->getProgramSet(0)->getParameterById(4)->getDomain(),
              space->getProgramSet(1)->getParameterById(4)->getDomain());
    EXPECT_EQ(container.getModule(ZylSpaceModule::kModuleId), space.get());
}

TEST_F(SpaceModule, ReactionsFollowAssistTriggerAndTheKeys)
{
    auto* primary = grid().getPrimaryStates();
    zyltest::selectByName(space->getAssistParameter(), L"Ch Anywh");
    EXPECT_FALSE(primary->isScaleFilterOn());
    zyltest::selectByName(space->getAssistParameter(), L"Fit Best");
    EXPECT_TRUE(primary->isScaleFilterOn());
    EXPECT_FALSE(space->getChordParameter()->isEnabled());
    zyltest::selectByName(space->getAssistParameter(), L"Ch Root");
    EXPECT_TRUE(space->getChordParameter()->isEnabled());

    zyltest::selectByName(space->getTriggerParameter(), L"Midi Clk");
    EXPECT_TRUE(space->getOnClickParameter()->isEnabled());
    zyltest::selectByName(space->getTriggerParameter(), L"Midi Nte");
    EXPECT_FALSE(space->getOnClickParameter()->isEnabled());

    zyltest::selectByName(space->getScaleParameter(), L"Major");
    zyltest::selectByName(space->getKeyParameter(), L"C#");
    zyltest::selectByName(space->getAssistParameter(), L"Fit Rand");
    zyltest::selectByName(space->getChordFilterParameter(), L"Monads");
    EXPECT_EQ(space->getFilterKey(), "S01K01");
    EXPECT_EQ(space->getEnumeratorKey(), "A06F07");
    EXPECT_EQ(space->getNumChords(), 1);
    EXPECT_EQ(space->getChord(space->getNumChords()), nullptr);

    zyltest::selectByName(space->getOnClickParameter(), L"Tr & Hold");
    EXPECT_TRUE(primary->isLatch());
    EXPECT_FALSE(primary->isPlayOnSelect());
}

TEST_F(SpaceModule, ViewActivationMovesTheFocus)
{
    struct Case
    {
        int lowByte;
        bool piano;
    };
    for (const auto& c : { Case { kPianoViewIndex, true }, Case { kGridViewIndex, false },
                           Case { kPianoViewIndex, true }, Case { 3, false } })
    {
        space->receiveMessage(nullptr, kSpaceViewActivated + c.lowByte, 0);
        EXPECT_EQ(space->getFocusSpace(), c.piano ? &piano() : &grid()) << c.lowByte;
        EXPECT_EQ(space->getOtherSpace(), c.piano ? &grid() : &piano()) << c.lowByte;
    }
}

TEST_F(SpaceModule, FilterRejectsHiddenCellsAndNotesOutsideTheScale)
{
    zyltest::selectByName(space->getScaleParameter(), L"Major");
    const ZylCell* filler = nullptr;
    for (auto* value : space->getDomainSet()->getSpaceDomain()->getValues())
        if (auto* grid = dynamic_cast<ZylSpaceValue*>(value))
            for (const auto& cell : grid->getSpace()->getCells())
                if (filler == nullptr && cell->isHidden() && cell->getNote() == 60)
                    filler = cell.get();
    ASSERT_NE(filler, nullptr);
    EXPECT_TRUE(space->rejects(filler, nullptr));
    EXPECT_TRUE(space->rejects(nullptr, nullptr));
    EXPECT_FALSE(space->rejects(gridCell(60), nullptr));
    EXPECT_TRUE(space->rejects(gridCell(61), nullptr));
    EXPECT_EQ(space->getLastRootName(), L"");
}

TEST(ZylSpaceModuleVoicing, MovesNotesByOffsetsThenByAfterSortOffsets)
{
    struct Case
    {
        ZylIntVector offsets;
        std::unique_ptr<ZylIntVector> afterSort;
        ZylIntVector expected;
    };
    Case cases[] = {
        { { 12 }, nullptr, { 12, 4, 7 } },
        { { 12 }, std::make_unique<ZylIntVector>(ZylIntVector { 0, 12 }), { 4, 19, 12 } },
        { {}, std::make_unique<ZylIntVector>(), { 0, 4, 7 } },
        { { -12, 0, 0, 12, 24 }, nullptr, { -12, 4, 7 } },
    };
    for (const auto& c : cases)
    {
        ZylIntVector out;
        ZylSpaceModule::applyVoicing({ 0, 4, 7 }, c.offsets, c.afterSort.get(), out);
        EXPECT_EQ(out, c.expected);
    }
}

TEST_F(SpaceModule, ClickPlaysTheMajorTriadAndReleaseStopsIt)
{
    auto* root = gridCell(60);
    ASSERT_NE(root, nullptr);
    press(grid(), root);
    const auto on = block();
    EXPECT_EQ(notesOf(on, true), (std::vector<int> { 60, 64, 67 }));
    EXPECT_TRUE(notesOf(on, false).empty());
    for (const auto& event : on)
    {
        EXPECT_EQ(event.channel, 1);
        EXPECT_NEAR(event.velocity, 0.8f, 1.0f / 127.0f);
    }
    EXPECT_EQ(space->getLastChordName(), L"M");
    EXPECT_EQ(space->getLastRootName(), L"C");
    // The piano shows the same chord on its keys.
    EXPECT_EQ(asSet(piano().getPrimaryStates()->getActiveSounding()),
              cellsOfNotes(piano().getSpace(), { 60, 64, 67 }));

    EXPECT_TRUE(block().empty());

    release(grid());
    const auto off = block();
    EXPECT_EQ(notesOf(off, false), (std::vector<int> { 60, 64, 67 }));
    EXPECT_TRUE(notesOf(off, true).empty());
    EXPECT_TRUE(sounding.empty());
    EXPECT_EQ(space->getLastChordName(), L"M"); // the last chord outlives its sound
}

TEST_F(SpaceModule, VoicingChangeRetriggersAHeldChordOnlyWithTrClick)
{
    press(grid(), gridCell(60));
    block();
    zyltest::selectByName(space->getVoicingParameter(), L"1st inv");
    const auto events = block();
    // Each staying note is switched off and on again; 60 leaves and 72 comes.
    for (int note : { 64, 67 })
    {
        std::vector<bool> sequence;
        for (const auto& event : events)
            if (event.note == note)
                sequence.push_back(event.on);
        EXPECT_EQ(sequence, (std::vector<bool> { false, true })) << note;
    }
    EXPECT_EQ(sounding, (std::set<int> { 64, 67, 72 }));

    release(grid());
    block();
    zyltest::selectByName(space->getOnClickParameter(), L"Tr & Hold");
    press(grid(), gridCell(60));
    block();
    release(grid());
    block();
    EXPECT_EQ(sounding, (std::set<int> { 64, 67, 72 })); // latched
    zyltest::selectByName(space->getVoicingParameter(), L"Root");
    EXPECT_TRUE(block().empty());
    press(grid(), gridCell(62));
    block();
    EXPECT_EQ(sounding, (std::set<int> { 62, 66, 69 }));
}

TEST_F(SpaceModule, ChordFullPlacesNothingWhenANoteLeavesTheScale)
{
    zyltest::selectByName(space->getScaleParameter(), L"Major");
    zyltest::selectByName(space->getAssistParameter(), L"Ch Full");
    press(grid(), gridCell(62)); // D major needs F#
    EXPECT_TRUE(block().empty());
    EXPECT_TRUE(grid().getPrimaryStates()->getActiveSounding().getCells().empty());
    release(grid());
    block();
    press(grid(), gridCell(60));
    EXPECT_EQ(notesOf(block(), true), (std::vector<int> { 60, 64, 67 }));
}

TEST_F(SpaceModule, FitCyclStepsThroughTheRankingAndRestartsOnANewRoot)
{
    zyltest::selectByName(space->getSpaceParameter(), L"[1:2]");
    zyltest::selectByName(space->getAssistParameter(), L"Fit Cycl");
    auto* first = gridCell(60);
    auto* second = gridCell(65);
    const auto firstList = ranking(first, ZylSpace::kScoreByRank);
    const auto secondList = ranking(second, ZylSpace::kScoreByRank);
    ASSERT_GE(firstList.size(), 3u);
    ASSERT_FALSE(secondList.empty());

    for (size_t step = 0; step < 3; ++step)
    {
        press(grid(), first);
        block();
        EXPECT_EQ(space->getLastChord(), firstList[step]) << step;
        EXPECT_FALSE(sounding.empty());
        release(grid());
        block();
    }
    press(grid(), second);
    block();
    EXPECT_EQ(space->getLastChord(), secondList[0]);
    release(grid());
    block();
    EXPECT_TRUE(sounding.empty());
}

TEST_F(SpaceModule, FitBestAndASeededFitRandPlayTheFirstShape)
{
    zyltest::selectByName(space->getScaleParameter(), L"Major");
    auto* root = gridCell(60);
    struct Case
    {
        const wchar_t* assist;
    };
    for (const auto& c : { Case { L"Fit Best" }, Case { L"Fit Rand" } })
    {
        zyltest::selectByName(space->getAssistParameter(), c.assist);
        space->getChordCounter().setRandomState(0);
        space->getChordCounter().reset();
        const auto list = ranking(root, ZylSpace::kScoreByRank);
        ASSERT_FALSE(list.empty());
        press(grid(), root);
        block();
        EXPECT_EQ(space->getLastChord(), list[0]) << juce::String(c.assist);
        if (juce::String(c.assist) == "Fit Best")
        {
            EXPECT_EQ(space->getNextChord(), list[0]); // the preview shows what plays
        }
        release(grid());
        block();
    }
}

TEST_F(SpaceModule, MidiNoteTriggersPlayTheirNoteOrNothing)
{
    zyltest::selectByName(space->getChordParameter(), L"U");
    struct Case
    {
        const wchar_t* trigger;
        const wchar_t* scale;
        const wchar_t* key;
        int in;
        std::vector<int> played;
    };
    const Case cases[] = {
        { L"Midi Nte", L"Chroma", L"C", 0, {} },
        { L"Midi Nte", L"Chroma", L"C", 61, { 61 } },
        { L"Midi Mod", L"Major", L"D", 62, { 64 } },
        { L"Midi Mod", L"Major", L"D", 61, {} },
        { L"Midi Mod", L"Minor", L"A", 64, { 72 } },
    };
    for (const auto& c : cases)
    {
        zyltest::selectByName(space->getTriggerParameter(), c.trigger);
        zyltest::selectByName(space->getScaleParameter(), c.scale);
        zyltest::selectByName(space->getKeyParameter(), c.key);
        block();
        const auto on = block({ noteOn(c.in) });
        EXPECT_EQ(notesOf(on, true), c.played) << juce::String(c.trigger) << " " << c.in;
        const auto off = block({ noteOff(c.in) });
        EXPECT_EQ(notesOf(off, false), c.played) << juce::String(c.trigger) << " " << c.in;
        EXPECT_TRUE(sounding.empty());
    }
}

TEST_F(SpaceModule, MouseClickModeShowsIncomingNotesAndPassesThemThrough)
{
    zyltest::selectByName(space->getSpaceParameter(), L"[1:2]");
    block();
    const auto message = juce::MidiMessage::noteOn(1, 60, (juce::uint8) 90);
    block({ message });
    std::vector<juce::MidiMessage> passed;
    for (const auto metadata : *outCable.getBuffer())
        passed.push_back(metadata.getMessage());
    ASSERT_EQ(passed.size(), 1u);
    EXPECT_EQ(passed[0].getRawDataSize(), message.getRawDataSize());
    EXPECT_EQ(0, std::memcmp(passed[0].getRawData(), message.getRawData(),
                             static_cast<size_t>(message.getRawDataSize())));
    for (auto* live : { &grid(), &piano() })
        EXPECT_EQ(asSet(live->getSecondaryStates()->getActiveSounding()),
                  cellsOfNotes(live->getSpace(), { 60 }));
    EXPECT_GT(cellsOfNotes(grid().getSpace(), { 60 }).size(), 1u);

    // The note stays held: the layer is shown again after something else cleared it, and
    // follows a new layout of the space.
    {
        const juce::ScopedLock lock(grid().getLock());
        grid().getSecondaryStates()->clearActiveSounding();
    }
    block();
    EXPECT_EQ(asSet(grid().getSecondaryStates()->getActiveSounding()),
              cellsOfNotes(grid().getSpace(), { 60 }));
    zyltest::selectByName(space->getSpaceParameter(), L"[2:5]");
    block();
    for (auto* live : { &grid(), &piano() })
        EXPECT_EQ(asSet(live->getSecondaryStates()->getActiveSounding()),
                  cellsOfNotes(live->getSpace(), { 60 }));

    block({ juce::MidiMessage::noteOff(1, 60) });
    EXPECT_TRUE(grid().getSecondaryStates()->getActiveSounding().getCells().empty());
}

// A trigger mode changed between two blocks takes effect with its message, whatever the blocks
// kept of the parameters they read: the block before the message plays the old mode, the one
// after it the new mode.
TEST_F(SpaceModule, ATriggerChangedBetweenBlocksTakesEffectWithItsMessage)
{
    zyltest::selectByName(space->getChordParameter(), L"U");
    zyltest::selectByName(space->getScaleParameter(), L"Major");
    zyltest::selectByName(space->getKeyParameter(), L"D");
    block();
    EXPECT_EQ(notesOf(block({ noteOn(62) }), true), std::vector<int> { 62 });
    block({ noteOff(62) });

    auto* trigger = space->getTriggerParameter();
    trigger->setValueObject(trigger->getDomain()->findByName(L"Midi Mod"), kCauseUser, false, true);
    EXPECT_EQ(notesOf(block({ noteOn(62) }), true), std::vector<int> { 62 });
    block({ noteOff(62) });
    zyltest::drainMessageQueue();
    // Degree 2 of C major played as degree 2 of D major.
    EXPECT_EQ(notesOf(block({ noteOn(62) }), true), std::vector<int> { 64 });
    block({ noteOff(62) });
}

TEST_F(SpaceModule, FocusMoveSwitchesOffTheOldFocusAndThePianoPlaysOnTheGrid)
{
    press(grid(), gridCell(60));
    block();
    ASSERT_EQ(sounding, (std::set<int> { 60, 64, 67 }));

    space->receiveMessage(nullptr, kSpaceViewActivated + kPianoViewIndex, 0);
    const auto events = block();
    EXPECT_EQ(notesOf(events, false), (std::vector<int> { 60, 64, 67 }));
    EXPECT_TRUE(sounding.empty());
    EXPECT_EQ(space->getGridKeyboardState().isNoteOnForChannels(0xFFFF, 60), false);

    auto* key = zyltest::visibleCellOf(piano().getSpace(), 62);
    press(piano(), key);
    block();
    EXPECT_EQ(sounding, (std::set<int> { 62, 66, 69 }));
    // The grid shows the chord on every cell that carries one of its notes.
    EXPECT_EQ(asSet(grid().getPrimaryStates()->getActiveSounding()),
              cellsOfNotes(grid().getSpace(), { 62, 66, 69 }));
    release(piano());
    block();
    EXPECT_TRUE(sounding.empty());
}

TEST_F(SpaceModule, ProgramChangeWhileAChordSoundsLeavesNoNoteOn)
{
    zyltest::selectByName(space->getOnClickParameter(), L"Tr & Hold");
    press(grid(), gridCell(60));
    block();
    release(grid());
    block();
    ASSERT_EQ(sounding.size(), 3u);

    space->setCurrentProgram(1);
    zyltest::drainMessageQueue();
    for (int i = 0; i < 3; ++i)
    {
        block();
        zyltest::drainMessageQueue();
    }
    EXPECT_TRUE(sounding.empty());
    for (int note = 0; note < 128; ++note)
        EXPECT_FALSE(space->getGridKeyboardState().isNoteOnForChannels(0xFFFF, note)) << note;
}

TEST_F(SpaceModule, AChordClearedBetweenBlocksStopsInTheNextBlock)
{
    zyltest::selectByName(space->getOnClickParameter(), L"Tr & Hold");
    press(grid(), gridCell(60));
    block();
    release(grid());
    block();
    ASSERT_EQ(sounding.size(), 3u);
    {
        // What a change of "Trigger" does on the message thread.
        const juce::ScopedLock lock(grid().getLock());
        grid().getPrimaryStates()->clearActiveSelected();
        grid().getPrimaryStates()->clearActiveSounding();
    }
    EXPECT_EQ(notesOf(block(), false), (std::vector<int> { 60, 64, 67 }));
    EXPECT_TRUE(sounding.empty());
}

// Clicks and mode changes in the order a user makes them, on the grid and on the piano: a note
// may start only while the button is down, and nothing sounds or stays lit at the end. A change
// reaches the module as a message; the audio thread may run a block between the new value and
// the module's reaction to it.
TEST_F(SpaceModule, LeavingTriggerAndHoldReleasesTheLatchedCellsOnBothSpaces)
{
    enum class Act
    {
        Trigger,
        OnClick,
        Press,
        Release
    };
    enum class Timing
    {
        Settled, // the reaction runs, then blocks
        Unblocked, // the reaction runs, and the next step comes before any block
        BlockFirst // a block runs before the reaction, then more after it
    };
    struct Step
    {
        Act act;
        const wchar_t* value = nullptr;
        Timing timing = Timing::Settled;
    };
    struct Case
    {
        const char* name;
        std::vector<Step> steps;
    };
    const Step midiClickHold[] = { { Act::Trigger, L"Midi Clk" }, { Act::OnClick, L"Tr & Hold" },
                                   { Act::Press }, { Act::Release } };
    auto after = [&](std::vector<Step> last) {
        std::vector<Step> steps(std::begin(midiClickHold), std::end(midiClickHold));
        steps.insert(steps.end(), last.begin(), last.end());
        return steps;
    };
    const Case cases[] = {
        { "clicked cell held by the latch, then mouse trigger, then Trigger cell",
          after({ { Act::Trigger, L"Mouse Cl" }, { Act::OnClick, L"Tr Click" } }) },
        { "the same, each change seen by a block before the reaction",
          after({ { Act::Trigger, L"Mouse Cl", Timing::BlockFirst },
                  { Act::OnClick, L"Tr Click", Timing::BlockFirst } }) },
        { "the same, Trigger cell seen by a block before its reaction and after the mouse trigger's",
          after({ { Act::Trigger, L"Mouse Cl", Timing::Unblocked },
                  { Act::OnClick, L"Tr Click", Timing::BlockFirst } }) },
        { "latched chord, then Trigger cell",
          { { Act::OnClick, L"Tr & Hold" }, { Act::Press }, { Act::Release },
            { Act::OnClick, L"Tr Click" } } },
        { "Trigger cell while the button is down, released in the view after",
          { { Act::OnClick, L"Tr & Hold" }, { Act::Press }, { Act::OnClick, L"Tr Click" },
            { Act::Release } } },
    };
    for (const bool onPiano : { false, true })
    {
        auto& live = onPiano ? piano() : grid();
        auto* cell = zyltest::visibleCellOf(live.getSpace(), 60);
        ASSERT_NE(cell, nullptr);
        for (const auto& c : cases)
        {
            const auto where = std::string(c.name) + (onPiano ? " (piano)" : " (grid)");
            zyltest::selectByName(space->getTriggerParameter(), L"Mouse Cl");
            zyltest::selectByName(space->getOnClickParameter(), L"Tr Click");
            space->receiveMessage(nullptr, kSpaceViewActivated + (onPiano ? kPianoViewIndex : kGridViewIndex), 0);
            block();
            ASSERT_TRUE(sounding.empty()) << where;

            bool buttonDown = false;
            auto blockChecked = [&](size_t i) {
                const auto started = notesOf(block(), true);
                EXPECT_TRUE(buttonDown || started.empty()) << where << ", step " << i;
            };
            for (size_t i = 0; i < c.steps.size(); ++i)
            {
                const auto& step = c.steps[i];
                switch (step.act)
                {
                case Act::Trigger:
                case Act::OnClick:
                {
                    auto* parameter = step.act == Act::Trigger ? space->getTriggerParameter()
                                                               : space->getOnClickParameter();
                    auto* value = parameter->getDomain()->findByName(step.value);
                    ASSERT_NE(value, nullptr) << where;
                    parameter->setValueObject(value, kCauseUser, false, true);
                    if (step.timing == Timing::BlockFirst)
                        blockChecked(i);
                    zyltest::drainMessageQueue();
                    break;
                }
                case Act::Press:
                    press(live, cell);
                    buttonDown = true;
                    break;
                case Act::Release:
                    release(live);
                    buttonDown = false;
                    break;
                }
                if (step.timing == Timing::Unblocked)
                    continue;
                for (int b = 0; b < 3; ++b)
                {
                    blockChecked(i);
                    zyltest::drainMessageQueue();
                }
            }
            EXPECT_TRUE(sounding.empty()) << where;
            for (int note = 0; note < 128; ++note)
                EXPECT_FALSE(space->getGridKeyboardState().isNoteOnForChannels(0xFFFF, note)
                             || space->getPianoKeyboardState().isNoteOnForChannels(0xFFFF, note))
                    << where << ", note " << note;
            for (auto* each : { &grid(), &piano() })
                EXPECT_TRUE(each->getPrimaryStates()->getActiveSounding().getCells().empty()) << where;
            // The next case starts from a fresh selection.
            for (auto* each : { &grid(), &piano() })
            {
                const juce::ScopedLock lock(each->getLock());
                each->getPrimaryStates()->clearAll();
            }
            block();
        }
    }
}

TEST_F(SpaceModule, HeldMidiNotePlaysTheClickedOrTheHoveredCell)
{
    struct Case
    {
        const wchar_t* trigger;
        bool click; // otherwise the pointer only hovers over the cell
    };
    for (const auto& c : { Case { L"Midi Clk", true }, Case { L"Midi Hvr", false } })
    {
        zyltest::selectByName(space->getTriggerParameter(), c.trigger);
        block();
        auto* cell = gridCell(60);
        {
            const juce::ScopedLock lock(grid().getLock());
            grid().getPrimaryStates()->press(cell, false);
            if (c.click)
                grid().getPrimaryStates()->trigger(cell, ZylSpaceModule::kDefaultTriggerVelocity);
        }
        EXPECT_TRUE(block().empty()) << juce::String(c.trigger);
        // The preview shows what the selected cell would play.
        EXPECT_EQ(space->getNextChordName(), L"M");
        EXPECT_EQ(space->getNextRootName(), L"C");
        EXPECT_EQ(asSet(grid().getPrimaryStates()->getActiveSelected()),
                  cellsOfNotes(grid().getSpace(), { 60, 64, 67 }));

        const auto on = block({ juce::MidiMessage::noteOn(1, 50, (juce::uint8) 64) });
        EXPECT_EQ(notesOf(on, true), (std::vector<int> { 60, 64, 67 })) << juce::String(c.trigger);
        for (const auto& event : on)
            EXPECT_NEAR(event.velocity, 64.0f / 127.0f, 1.0f / 127.0f);
        EXPECT_TRUE(notesOf(block({ juce::MidiMessage::noteOff(1, 50) }), true).empty());
        EXPECT_TRUE(sounding.empty()) << juce::String(c.trigger);
        {
            const juce::ScopedLock lock(grid().getLock());
            grid().getPrimaryStates()->releaseAll();
        }
        block();
    }
}

// One thread runs blocks with random incoming notes while the message thread changes every space
// parameter, moves the focus and presses and releases cells through the live spaces. Run under
// the sanitizers, nothing may be reported; at the end no chord note is left on.
TEST_F(SpaceModule, BlocksSurviveParameterChangesAndPressesFromAnotherThread)
{
    std::atomic<bool> stopNotes { false };
    std::atomic<bool> stopBlocks { false };
    std::atomic<int> blocks { 0 };
    std::map<int, int> chordNotes; // written by the audio thread only, read after it ends

    std::thread audio([&] {
        std::mt19937 random(7);
        std::set<int> held;
        while (!stopBlocks.load())
        {
            hostCable.getBuffer()->clear();
            if (stopNotes.load())
            {
                for (int note : held)
                    hostCable.getBuffer()->addEvent(juce::MidiMessage::noteOff(2, note), 0);
                held.clear();
            }
            else if (random() % 4 == 0)
            {
                const int note = 36 + static_cast<int>(random() % 48);
                const bool on = held.count(note) == 0;
                hostCable.getBuffer()->addEvent(on ? juce::MidiMessage::noteOn(2, note, (juce::uint8) 90)
                                                   : juce::MidiMessage::noteOff(2, note),
                                                static_cast<int>(random() % kBlock));
                if (on)
                    held.insert(note);
                else
                    held.erase(note);
            }
            {
                const juce::ScopedLock lock(container.getCallbackLock());
                input->processBlock(kBlock);
                space->processBlock(kBlock);
                for (const auto metadata : *outCable.getBuffer())
                {
                    const auto message = metadata.getMessage();
                    if (message.isNoteOnOrOff() && message.getChannel() == 1)
                        chordNotes[message.getNoteNumber()] = message.isNoteOn() ? 1 : 0;
                }
            }
            blocks.fetch_add(1);
            std::this_thread::yield();
        }
    });

    ZylParameter* parameters[] = {
        space->getSpaceParameter(),   space->getLabelParameter(),   space->getKeyParameter(),
        space->getScaleParameter(),   space->getChordParameter(),   space->getVoicingParameter(),
        space->getAssistParameter(),  space->getTriggerParameter(), space->getOnClickParameter(),
        space->getChordFilterParameter(),
    };
    std::mt19937 random(11);
    // Both sides get their share: a few thousand changes and as many blocks, within seconds.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    for (int round = 0; (round < 3000 || blocks.load() < 3000) && std::chrono::steady_clock::now() < deadline;
         ++round)
    {
        if (round % 16 == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        auto* parameter = parameters[random() % std::size(parameters)];
        {
            const juce::ScopedLock lock(parameter->getLock());
            const auto& values = parameter->getDomain()->getValues();
            if (!values.empty())
                parameter->setValueObject(values[random() % values.size()], kCauseUser, false, true);
        }
        for (int press = 0; press < 3; ++press)
        {
            auto& live = random() % 2 == 0 ? grid() : piano();
            const juce::ScopedLock lock(live.getLock());
            auto* states = live.getPrimaryStates();
            const auto& cells = live.getSpace()->getCells();
            auto* cell = cells[random() % cells.size()].get();
            switch (random() % 4)
            {
            case 0: states->press(cell, true); break;
            case 1: states->trigger(cell, 0.5f); break;
            case 2: states->unpress(cell); break;
            default: states->releaseAll(); break;
            }
        }
        if (random() % 8 == 0)
            space->receiveMessage(nullptr,
                                  kSpaceViewActivated + (random() % 2 == 0 ? kPianoViewIndex : kGridViewIndex), 0);
        zyltest::drainMessageQueue();
    }

    // Wind down: mouse mode, nothing pressed, no incoming note; the blocks go on meanwhile.
    stopNotes.store(true);
    zyltest::selectByName(space->getTriggerParameter(), L"Mouse Cl");
    zyltest::selectByName(space->getOnClickParameter(), L"Tr Click");
    for (auto* live : { &grid(), &piano() })
    {
        const juce::ScopedLock lock(live->getLock());
        live->getPrimaryStates()->clearAll();
    }
    const int reached = blocks.load();
    while (blocks.load() < reached + 20)
    {
        zyltest::drainMessageQueue();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    stopBlocks.store(true);
    audio.join();
    EXPECT_GT(blocks.load(), 100);

    for (int i = 0; i < 3; ++i)
    {
        zyltest::drainMessageQueue();
        const juce::ScopedLock lock(container.getCallbackLock());
        space->processBlock(kBlock);
        for (const auto metadata : *outCable.getBuffer())
        {
            const auto message = metadata.getMessage();
            if (message.isNoteOnOrOff() && message.getChannel() == 1)
                chordNotes[message.getNoteNumber()] = message.isNoteOn() ? 1 : 0;
        }
    }
    for (const auto& [note, on] : chordNotes)
        EXPECT_EQ(on, 0) << note;
    for (int note = 0; note < 128; ++note)
    {
        EXPECT_FALSE(space->getGridKeyboardState().isNoteOnForChannels(0xFFFF, note)) << note;
        EXPECT_FALSE(space->getPianoKeyboardState().isNoteOnForChannels(0xFFFF, note)) << note;
    }
}

namespace
{
// A space module whose Assist parameter takes the next of two values every time the module
// looks it up, as if the message thread changed it between any two reads of a block. The
// module's reaction to the change is not run, as it is not until the message is delivered.
class AssistRaceSpaceModule : public ZylSpaceModule
{
public:
    using ZylSpaceModule::ZylSpaceModule;

    ZylParameter* getAssistParameter() const override
    {
        auto* parameter = ZylSpaceModule::getAssistParameter();
        if (parameter != nullptr && values[0] != nullptr)
            parameter->setValueObject(values[reads++ % 2], kCauseUser, false, false);
        return parameter;
    }

    ZylValue* values[2] = { nullptr, nullptr };
    mutable int reads = 0;
};

struct SpaceModuleAssistRace : SpaceModule
{
    SpaceModuleAssistRace()
        : SpaceModule([](ZylModuleContainer* owner) -> std::unique_ptr<ZylSpaceModule> {
              return std::make_unique<AssistRaceSpaceModule>(owner);
          })
    {
    }

    AssistRaceSpaceModule& raced() { return static_cast<AssistRaceSpaceModule&>(*space); }
};
} // namespace

TEST_F(SpaceModuleAssistRace, AChordIsDecidedUnderOneAssistWhenTheAssistChangesBetweenReads)
{
    zyltest::selectByName(space->getScaleParameter(), L"Major");
    zyltest::selectByName(space->getKeyParameter(), L"C");
    zyltest::selectByName(space->getAssistParameter(), L"Ch Anywh");
    // C minor: its E flat lies outside C major, so no fit assist ever picks it.
    zyltest::selectByName(space->getChordParameter(), L"m");
    auto* minor = space->getChordParameter()->getValueObject();
    block();
    ASSERT_EQ(space->getChordCounter().getValue(), -1);

    auto* assists = space->getDomainSet()->getChordAssistDomain();
    raced().values[0] = assists->getFitCyclValue();
    raced().values[1] = assists->getChAnywhValue();
    press(grid(), gridCell(60));
    block();
    raced().values[0] = nullptr;

    // "Fit Cycl" steps the counter and plays a fitted chord; "Ch Anywh" steps nothing and plays
    // the Chord parameter's chord. A step with the Chord parameter's chord is a mix of both.
    const bool stepped = space->getChordCounter().getValue() != -1;
    const bool chordParameters = space->getLastChord() == minor;
    EXPECT_NE(stepped, chordParameters);
    EXPECT_NE(space->getLastRoot(), nullptr);
}

