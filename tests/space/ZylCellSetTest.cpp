#include "space/ZylCell.h"
#include "space/ZylCellSet.h"
#include "space/ZylRectangleTile.h"

#include <gtest/gtest.h>
#include <juce_audio_basics/juce_audio_basics.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{
struct Cells
{
    explicit Cells(std::vector<int> notes)
    {
        double x = 0;
        for (int n : notes)
        {
            owned.push_back(std::make_unique<ZylCell>(std::make_unique<ZylRectangleTile>(x, 0, x + 26, 26), n));
            x += 28;
        }
    }
    ZylCell* operator[](size_t i) const { return owned[i].get(); }
    std::vector<std::unique_ptr<ZylCell>> owned;
};

ZylCellSet setOf(std::initializer_list<ZylCell*> cells)
{
    ZylCellSet s;
    for (auto* c : cells)
        s.add(c);
    return s;
}

// Records the keyboard state's note-on and note-off calls as "+60" / "-60" in call order.
struct KeyboardLog : juce::MidiKeyboardState::Listener
{
    explicit KeyboardLog(juce::MidiKeyboardState& k) : keyboard(k) { keyboard.addListener(this); }
    ~KeyboardLog() override { keyboard.removeListener(this); }
    void handleNoteOn(juce::MidiKeyboardState*, int channel, int note, float velocity) override
    {
        events.push_back("+" + std::to_string(note) + (channel != 1 ? "@" + std::to_string(channel) : ""));
        velocities.push_back(velocity);
    }
    void handleNoteOff(juce::MidiKeyboardState*, int channel, int note, float) override
    {
        events.push_back("-" + std::to_string(note) + (channel != 1 ? "@" + std::to_string(channel) : ""));
    }
    juce::MidiKeyboardState& keyboard;
    std::vector<std::string> events;
    std::vector<float> velocities;
};
} // namespace

TEST(ZylTimeStamp, TouchCountsUpAcknowledgesAndWrapsToZero)
{
    ZylTimeStamp stamp;
    EXPECT_FALSE(stamp.hasChanged());
    EXPECT_EQ(stamp.touch(), 1);
    EXPECT_TRUE(stamp.hasChanged());
    stamp.acknowledge();
    EXPECT_FALSE(stamp.hasChanged());
    EXPECT_EQ(stamp.getAcknowledged(), 1);

    struct StampAtTop : ZylTimeStamp
    {
        StampAtTop() { count = std::numeric_limits<std::int32_t>::max(); }
    } top;
    EXPECT_EQ(top.touch(), 0);
    EXPECT_EQ(top.getTime(), 0);
    EXPECT_FALSE(top.hasChanged()); // wrapped back onto the acknowledged 0
}

TEST(ZylCellSet, ListOperationsKeepOrderAndTouchOnlyOnChange)
{
    const Cells c({ 60, 62, 64 });
    ZylCell* A = c[0];
    ZylCell* B = c[1];
    ZylCell* C = c[2];

    struct Case
    {
        const char* name;
        std::vector<ZylCell*> start;
        std::function<void(ZylCellSet&)> op;
        std::vector<ZylCell*> expected;
        int touches;
    };
    const std::vector<Case> cases = {
        { "add new", { A }, [&](ZylCellSet& s) { s.add(B); }, { A, B }, 1 },
        { "add twice", {}, [&](ZylCellSet& s) { s.add(A); s.add(A); }, { A }, 1 },
        { "add null", { A }, [&](ZylCellSet& s) { s.add(nullptr); }, { A }, 0 },
        { "remove absent", { A }, [&](ZylCellSet& s) { s.remove(B); }, { A }, 0 },
        { "remove null", { A }, [&](ZylCellSet& s) { s.remove(nullptr); }, { A }, 0 },
        { "remove present", { A, B, C }, [&](ZylCellSet& s) { s.remove(B); }, { A, C }, 1 },
        { "remove last", { A }, [&](ZylCellSet& s) { s.remove(A); }, {}, 1 },
        { "clear empty", {}, [&](ZylCellSet& s) { s.clear(); }, {}, 0 },
        { "clear", { A, B }, [&](ZylCellSet& s) { s.clear(); }, {}, 1 },
        { "addAll", { B }, [&](ZylCellSet& s) { s.addAll(setOf({ A, B, C })); }, { B, A, C }, 1 },
        { "addAll nothing new", { A, B }, [&](ZylCellSet& s) { s.addAll(setOf({ B, A })); }, { A, B }, 0 },
        { "addAll itself", { A, B }, [&](ZylCellSet& s) { s.addAll(s); }, { A, B }, 0 },
        { "assign same order", { A, B }, [&](ZylCellSet& s) { s.assign(setOf({ A, B })); }, { A, B }, 0 },
        { "assign other order", { B, A }, [&](ZylCellSet& s) { s.assign(setOf({ A, B })); }, { A, B }, 1 },
        { "assign empty", { A }, [&](ZylCellSet& s) { s.assign(ZylCellSet()); }, {}, 1 },
        { "velocity unchanged", {}, [&](ZylCellSet& s) { s.setVelocity(0.8f); }, {}, 0 },
        { "velocity changed", {}, [&](ZylCellSet& s) { s.setVelocity(0.5f); }, {}, 1 },
        { "distance unchanged", {}, [&](ZylCellSet& s) { s.setAverageDistance(0.0); }, {}, 0 },
        { "distance changed", {}, [&](ZylCellSet& s) { s.setAverageDistance(18.5); }, {}, 1 },
        { "distance NaN", {}, [&](ZylCellSet& s) { s.setAverageDistance(std::nan("")); s.setAverageDistance(std::nan("")); }, {}, 2 },
        { "score and chord", {}, [&](ZylCellSet& s) { s.setScore(3.0); s.setChord(nullptr); }, {}, 0 },
    };

    for (const auto& k : cases)
    {
        ZylCellSet s;
        for (auto* cell : k.start)
            s.add(cell);
        const int before = s.getTime();
        k.op(s);
        EXPECT_EQ(s.getCells(), k.expected) << k.name;
        EXPECT_EQ(s.getTime() - before, k.touches) << k.name;
    }
}

TEST(ZylCellSet, ComparisonsIgnoreOrder)
{
    const Cells c({ 60, 62, 64 });
    const auto ab = setOf({ c[0], c[1] });
    const auto ba = setOf({ c[1], c[0] });
    const auto abc = setOf({ c[0], c[1], c[2] });
    const ZylCellSet empty;

    EXPECT_TRUE(ab.equals(ba));
    EXPECT_FALSE(ab.equals(abc));
    EXPECT_FALSE(abc.equals(ab));
    EXPECT_TRUE(empty.equals(ZylCellSet()));
    EXPECT_TRUE(abc.containsAll(ba));
    EXPECT_FALSE(ab.containsAll(abc));
    EXPECT_TRUE(empty.containsAll(empty));
    EXPECT_TRUE(ab.containsAll(empty));
    EXPECT_FALSE(ab.contains(nullptr));
}

TEST(ZylCellSet, NewSetHasItsDefaults)
{
    const ZylCellSet s;
    EXPECT_FLOAT_EQ(s.getVelocity(), 0.8f);
    EXPECT_EQ(s.getAverageDistance(), 0.0);
    EXPECT_EQ(s.getScore(), 0.0);
    EXPECT_EQ(s.getChord(), nullptr);
    EXPECT_EQ(s.getTime(), 0);
}

// Large sets answer membership from an index; random adds and removes, across the size where
// the index takes over and back below it, must agree with a plain reference set throughout.
TEST(ZylCellSet, LargeSetMembershipAgreesWithReferenceThroughAddsAndRemoves)
{
    std::vector<int> notes(600, 60);
    const Cells c(notes);
    std::mt19937 rng(7);
    std::uniform_int_distribution<size_t> pick(0, notes.size() - 1);

    ZylCellSet s;
    std::vector<ZylCell*> reference;
    for (int step = 0; step < 20000; ++step)
    {
        ZylCell* cell = c[pick(rng)];
        const bool present = std::find(reference.begin(), reference.end(), cell) != reference.end();
        ASSERT_EQ(s.contains(cell), present) << "step " << step;
        // Grow towards a few hundred cells, then shrink back to a handful, twice over.
        const bool growing = (step / 5000) % 2 == 0;
        if (growing ? (step % 4 != 0) : (step % 4 == 0))
        {
            s.add(cell);
            if (!present)
                reference.push_back(cell);
        }
        else
        {
            s.remove(cell);
            if (present)
                reference.erase(std::find(reference.begin(), reference.end(), cell));
        }
        ASSERT_EQ(s.getCells(), reference) << "step " << step;
    }

    for (size_t i = 0; i < notes.size(); ++i)
        ASSERT_EQ(s.contains(c[i]), std::find(reference.begin(), reference.end(), c[i]) != reference.end());

    ZylCellSet copy = s;
    s.clear();
    for (size_t i = 0; i < notes.size(); ++i)
        ASSERT_FALSE(s.contains(c[i]));
    EXPECT_EQ(copy.getCells(), reference);
    for (ZylCell* cell : reference)
        EXPECT_TRUE(copy.contains(cell));

    ZylCellSet assigned;
    assigned.assign(copy);
    EXPECT_TRUE(assigned.equals(copy));
    assigned.addAll(setOf({ c[0], c[1] }));
    EXPECT_TRUE(assigned.contains(c[0]) && assigned.contains(c[1]));
}

TEST(ZylCellSet, ApplyToKeyboardSwitchesNotesInAscendingOrder)
{
    const Cells c({ 67, 60, 64, -1, 60 });
    struct Case
    {
        const char* name;
        std::vector<int> onBefore; // channel 1
        bool retrigger;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        { "plain", { 60, 62 }, false, { "-62", "+64", "+67" } },
        { "retrigger", { 60, 62 }, true, { "-60", "+60", "-62", "+64", "+67" } },
        { "from silence", {}, false, { "+60", "+64", "+67" } },
        { "already equal", { 60, 64, 67 }, false, {} },
    };
    const auto chord = setOf({ c[0], c[1], c[2], c[3], c[4] });

    for (const auto& k : cases)
    {
        juce::MidiKeyboardState keyboard;
        for (int n : k.onBefore)
            keyboard.noteOn(1, n, 1.0f);
        keyboard.noteOn(2, 62, 1.0f);
        KeyboardLog log(keyboard);
        chord.applyToKeyboardWithVelocity(keyboard, 1, 0.25f, k.retrigger);
        EXPECT_EQ(log.events, k.events) << k.name;
        for (float v : log.velocities)
            EXPECT_FLOAT_EQ(v, 0.25f) << k.name;
        for (int n = 0; n < 128; ++n)
            EXPECT_EQ(keyboard.isNoteOn(1, n), n == 60 || n == 64 || n == 67) << k.name << " " << n;
        EXPECT_TRUE(keyboard.isNoteOn(2, 62)) << k.name;
    }
}

TEST(ZylCellSet, ApplyToKeyboardUsesTheSetsVelocityAndIgnoresChannelsOutOfRange)
{
    const Cells c({ 60 });
    auto s = setOf({ c[0] });
    s.setVelocity(0.5f);

    juce::MidiKeyboardState keyboard;
    keyboard.noteOn(1, 40, 1.0f);
    KeyboardLog log(keyboard);
    for (int channel : { 0, -3, 17, 40 })
        s.applyToKeyboard(keyboard, channel, true);
    EXPECT_TRUE(log.events.empty());

    s.applyToKeyboard(keyboard, 16, false);
    EXPECT_EQ(log.events, (std::vector<std::string> { "+60@16" }));
    ASSERT_EQ(log.velocities.size(), 1u);
    EXPECT_FLOAT_EQ(log.velocities[0], 0.5f);

    ZylCellSet().applyToKeyboard(keyboard, 1, false);
    EXPECT_FALSE(keyboard.isNoteOn(1, 40));
    EXPECT_TRUE(keyboard.isNoteOn(16, 60));
}
