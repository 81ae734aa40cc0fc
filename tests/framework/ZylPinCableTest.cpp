#include "framework/ZylAudioCable.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylMidiKeyboardCable.h"
#include "framework/ZylPin.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct Tracked
{
    explicit Tracked(int& deletionCount) : deletions(deletionCount) {}
    ~Tracked() { ++deletions; }
    int& deletions;
};

struct NoteOffCounter : juce::MidiKeyboardStateListener
{
    void handleNoteOn(juce::MidiKeyboardState*, int, int, float) override {}
    void handleNoteOff(juce::MidiKeyboardState*, int channel, int note, float) override
    {
        offs.push_back({ channel, note });
    }
    std::vector<std::pair<int, int>> offs;
};
} // namespace

TEST(ZylPin, ConnectAppendsAndDisconnectRemovesEveryOccurrence)
{
    ZylPin<ZylMidiCable> pin;
    ZylMidiCable a;
    ZylMidiCable b;
    ZylMidiCable never;
    pin.connect(&a);
    pin.connect(&b);
    pin.connect(&a);
    EXPECT_EQ(pin.getCables(), (std::vector<ZylCableBase*>{ &a, &b, &a }));
    EXPECT_EQ(pin.getFirstCable(), &a);

    pin.disconnect(&never);
    EXPECT_EQ(pin.getCables().size(), 3u);
    pin.disconnect(&a);
    EXPECT_EQ(pin.getCables(), (std::vector<ZylCableBase*>{ &b }));
}

TEST(ZylPin, KindIsRecognisedAndFlagsAreKept)
{
    std::unique_ptr<ZylPinBase> pin = std::make_unique<ZylPin<ZylAudioCable>>(false, true);
    EXPECT_NE(dynamic_cast<ZylPin<ZylAudioCable>*>(pin.get()), nullptr);
    EXPECT_EQ(dynamic_cast<ZylPin<ZylMidiCable>*>(pin.get()), nullptr);
    EXPECT_FALSE(pin->isClearedEachBlock());
    EXPECT_TRUE(pin->isClearedOnReset());
    EXPECT_EQ(static_cast<ZylPin<ZylAudioCable>*>(pin.get())->getFirstCable(), nullptr);
}

// Cables without a buffer (and a null entry) are passed over: clearing goes on to the cables
// after them.
TEST(ZylCable, CablesWithoutABufferIgnoreClear)
{
    ZylAudioCable audio;
    ZylMidiCable midi;
    ZylMidiKeyboardCable keyboard;
    ZylMidiCable filled;
    juce::MidiBuffer events;
    events.addEvent(juce::MidiMessage::noteOn(1, 60, 0.5f), 0);
    filled.setBuffer(&events, false);

    ZylPinBase pin;
    pin.connect(&audio);
    pin.connect(nullptr);
    pin.connect(&midi);
    pin.connect(&keyboard);
    pin.connect(&filled);
    pin.clearCables();
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(filled.getBuffer(), &events);
}

TEST(ZylCable, OwnedBufferIsFreedWhenReplacedOrDetachedAndHostBuffersNever)
{
    int deletions = 0;
    {
        ZylCable<Tracked> cable;
        Tracked host(deletions);
        cable.setBuffer(std::make_unique<Tracked>(deletions));
        EXPECT_TRUE(cable.ownsBuffer());
        cable.setBuffer(nullptr, false);
        EXPECT_EQ(deletions, 1);

        cable.setBuffer(&host, false);
        cable.setBuffer(nullptr, false);
        EXPECT_EQ(deletions, 1);

        auto* own = new Tracked(deletions);
        cable.setBuffer(own, true);
        cable.setBuffer(own, true); // handed in again: kept
        EXPECT_EQ(deletions, 1);
        EXPECT_EQ(cable.getBuffer(), own);
    }
    EXPECT_EQ(deletions, 3); // the owned one with the cable, the host one on its own
}

TEST(ZylCable, ClearingEmptiesEachKindOfBuffer)
{
    ZylAudioCable audio;
    juce::AudioSampleBuffer samples(2, 16);
    samples.setSample(1, 7, 0.5f);
    audio.setBuffer(&samples, false);

    ZylMidiCable midi;
    juce::MidiBuffer events;
    events.addEvent(juce::MidiMessage::noteOn(1, 60, 0.5f), 0);
    events.addEvent(juce::MidiMessage::noteOff(1, 60), 9);
    midi.setBuffer(&events, false);

    ZylPinBase pin;
    pin.connect(&audio);
    pin.connect(&midi);
    pin.connect(&midi);
    pin.clearCables();
    EXPECT_EQ(samples.getMagnitude(0, 16), 0.0f);
    EXPECT_TRUE(events.isEmpty());
}

TEST(ZylCable, ClearingAKeyboardSwitchesEveryNoteOffAndTellsTheListeners)
{
    ZylMidiKeyboardCable cable;
    auto* state = new juce::MidiKeyboardState();
    cable.setBuffer(state, true);
    NoteOffCounter listener;
    state->noteOn(1, 60, 0.8f);
    state->noteOn(16, 72, 0.8f);
    state->addListener(&listener);

    cable.clear();
    EXPECT_FALSE(state->isNoteOnForChannels(0xffff, 60));
    EXPECT_FALSE(state->isNoteOnForChannels(0xffff, 72));
    EXPECT_EQ(listener.offs, (std::vector<std::pair<int, int>>{ { 1, 60 }, { 16, 72 } }));
    state->removeListener(&listener);
}
