#include "space/ZylCell.h"
#include "space/ZylCellStates.h"
#include "space/ZylKeyDomain.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylRectangleTile.h"
#include "space/ZylScaleDomain.h"
#include "space/ZylScaleNoteTable.h"
#include "space/ZylSpace.h"
#include "tests/TestAllocationCounter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{
// Cells A (60), B (64), C (67), a hidden filler H (62) and N without a note, side by side.
struct Layer : ::testing::Test
{
    Layer()
    {
        const int notes[] = { 60, 64, 67, 62, ZylCell::kNoNote };
        double x = 0;
        for (int n : notes)
        {
            owned.push_back(std::make_unique<ZylCell>(std::make_unique<ZylRectangleTile>(x, 0, x + 26, 26), n));
            x += 28;
        }
        owned[3]->setHidden(true);
    }

    ZylCell* cell(char name) const
    {
        const std::string names = "ABCHN";
        return owned[names.find(name)].get();
    }

    std::vector<ZylCell*> cells(const std::string& names) const
    {
        std::vector<ZylCell*> out;
        for (char c : names)
            out.push_back(c == '0' ? nullptr : cell(c));
        return out;
    }

    // The set's cells as their names, in set order.
    std::string names(const ZylCellSet& set) const
    {
        std::string out;
        for (const ZylCell* c : set.getCells())
            for (char n : std::string("ABCHN"))
                if (cell(n) == c)
                    out += n;
        return out;
    }

    std::vector<std::unique_ptr<ZylCell>> owned;
    ZylCellStates states;
};

TEST_F(Layer, StartsAsAFreshLayer)
{
    EXPECT_TRUE(states.isPlayOnSelect());
    EXPECT_TRUE(states.isLatch());
    EXPECT_FALSE(states.isScaleFilterOn());
    EXPECT_TRUE(states.isClearSelectionOnUnplayable());
    for (ZylCellSet* set : { &states.getPressed(), &states.getSelected(), &states.getSounding(),
                             &states.getActiveSelected(), &states.getActiveSounding(), &states.getDirty() })
    {
        EXPECT_TRUE(set->getCells().empty());
        EXPECT_FLOAT_EQ(set->getVelocity(), 0.8f);
    }
}

TEST_F(Layer, TriggerFollowsLatchAndPlayability)
{
    struct Case
    {
        const char* what;
        bool latch;
        std::string triggers; // '0' triggers a null cell
        std::string sounding;
    };
    const Case cases[] = {
        { "latch keeps only the newest", true, "AB", "B" },
        { "without latch both sound", false, "AB", "AB" },
        { "latch releases even for an unplayable cell", true, "AH", "" },
        { "a cell without a note never sounds", false, "AN", "A" },
        { "a sounding cell is not added twice", false, "AA", "A" },
        { "a null cell changes nothing, not even with latch", true, "A0", "A" },
    };
    for (const auto& c : cases)
    {
        ZylCellStates s;
        s.setLatch(c.latch);
        for (ZylCell* t : cells(c.triggers))
            s.trigger(t, 0.5f);
        EXPECT_EQ(names(s.getSounding()), c.sounding) << c.what;
    }
}

TEST_F(Layer, PressTriggersWithTheVelocityOfTheLatestTrigger)
{
    states.press(cell('A'), true);
    EXPECT_EQ(names(states.getSelected()), "A");
    EXPECT_EQ(names(states.getSounding()), "A");
    EXPECT_FLOAT_EQ(states.getSounding().getVelocity(), 0.8f);

    states.trigger(cell('B'), 0.3f);
    states.press(cell('C'), true);
    EXPECT_EQ(names(states.getSelected()), "C");
    EXPECT_EQ(names(states.getSounding()), "C"); // latch released A and B
    EXPECT_FLOAT_EQ(states.getSounding().getVelocity(), 0.3f);
    EXPECT_EQ(names(states.getPressed()), "AC");
}

TEST_F(Layer, PressRules)
{
    struct Case
    {
        const char* what;
        char pressed;
        bool allowTrigger;
        bool playOnSelect;
        bool clearOnUnplayable;
        std::string selected;
        std::string sounding;
        std::string dirty;
    };
    // Every case starts with A pressed, selected and sounding, latch off, and dirty drained.
    const Case cases[] = {
        { "a playable cell replaces the selection and sounds", 'B', true, true, true, "B", "B", "AB" },
        { "no trigger allowed: selected only", 'B', false, true, true, "B", "", "AB" },
        { "play on select off: selected only, A keeps sounding", 'B', true, false, true, "B", "A", "AB" },
        { "a hidden cell clears the selection", 'H', true, true, true, "", "", "AH" },
        { "a hidden cell keeps the selection without the clear rule", 'H', true, true, false, "A", "A", "H" },
        { "a cell without a note clears the selection", 'N', true, true, true, "", "", "AN" },
    };
    for (const auto& c : cases)
    {
        ZylCellStates s;
        s.setLatch(false);
        s.press(cell('A'), true);
        s.unpress(cell('A'));
        s.getDirty().clear();
        s.setPlayOnSelect(c.playOnSelect);
        s.setClearSelectionOnUnplayable(c.clearOnUnplayable);

        s.press(cell(c.pressed), c.allowTrigger);

        EXPECT_EQ(names(s.getPressed()), std::string(1, c.pressed)) << c.what;
        EXPECT_EQ(names(s.getSelected()), c.selected) << c.what;
        EXPECT_EQ(names(s.getSounding()), c.sounding) << c.what;
        EXPECT_EQ(names(s.getDirty()), c.dirty) << c.what;
    }
}

TEST_F(Layer, DeselectReleasesOnlyWithPlayOnSelectAndNoLatch)
{
    struct Case
    {
        bool playOnSelect;
        bool latch;
        bool stillSounding;
    };
    const Case cases[] = { { true, false, false }, { true, true, true }, { false, false, true }, { false, true, true } };
    for (const auto& c : cases)
    {
        ZylCellStates s;
        s.setPlayOnSelect(c.playOnSelect);
        s.setLatch(c.latch);
        s.select(cell('A'));
        s.trigger(cell('A'), 0.8f);
        s.deselect(cell('A'));
        EXPECT_FALSE(s.isSelected(cell('A')));
        EXPECT_EQ(s.isSounding(cell('A')), c.stillSounding)
            << "play on select " << c.playOnSelect << ", latch " << c.latch;
    }
}

TEST_F(Layer, TriggerSelectedUnderLatchLeavesTheLastSelectedCell)
{
    for (bool latch : { false, true })
    {
        ZylCellStates s;
        s.setLatch(latch);
        s.select(cell('A'));
        s.select(cell('B'));
        s.triggerSelected(0.6f);
        EXPECT_EQ(names(s.getSounding()), latch ? "B" : "AB");
        EXPECT_FLOAT_EQ(s.getSounding().getVelocity(), 0.6f);
        s.releaseAll();
        EXPECT_TRUE(s.getSounding().getCells().empty());
    }
}

TEST_F(Layer, ResetKeepsLatchedCellsAndMarksNothingDirty)
{
    for (bool latch : { true, false })
    {
        ZylCellStates s;
        s.setLatch(latch);
        s.press(cell('A'), true);
        const auto dirtyTime = s.getDirty().getTime();
        s.reset();
        EXPECT_TRUE(s.getPressed().getCells().empty());
        EXPECT_TRUE(s.getSelected().getCells().empty());
        EXPECT_EQ(names(s.getSounding()), latch ? "A" : "");
        EXPECT_EQ(s.getDirty().getTime(), dirtyTime);
    }
}

TEST_F(Layer, ReplaceRuleReportsOnlyRealChangesAndMarksOldAndNewCells)
{
    struct Case
    {
        const char* what;
        std::string before;
        std::string after;
        bool changed;
        std::string dirty;
    };
    const Case cases[] = {
        { "another order is no change", "AB", "BA", false, "AB" },
        { "a repeat and a null are no cells", "AB", "BA0B", false, "AB" },
        { "a subset is a change", "AB", "A", true, "AB" },
        { "a superset is a change", "A", "AB", true, "AB" },
        { "emptying is a change", "AB", "", true, "AB" },
        { "empty to empty is no change", "", "", false, "" },
        { "disjoint sets", "AB", "C", true, "ABC" },
    };
    for (const auto& c : cases)
    {
        ZylCellStates s;
        s.setActiveSounding(cells(c.before));
        s.getDirty().clear();
        EXPECT_EQ(s.setActiveSounding(cells(c.after)), c.changed) << c.what;
        EXPECT_EQ(names(s.getDirty()), c.dirty) << c.what;
    }

    // The other four sets follow the same rule, each on its own set.
    states.setPressed(cells("A"));
    states.setSelected(cells("B"));
    states.setSounding(cells("C"));
    states.setActiveSelected(cells("AB"));
    EXPECT_EQ(names(states.getPressed()), "A");
    EXPECT_EQ(names(states.getSelected()), "B");
    EXPECT_EQ(names(states.getSounding()), "C");
    EXPECT_EQ(names(states.getActiveSelected()), "AB");
    EXPECT_TRUE(states.getActiveSounding().getCells().empty());
}

TEST_F(Layer, ASetterGivenItsOwnListChangesNothing)
{
    using Getter = ZylCellSet& (ZylCellStates::*)();
    using Setter = bool (ZylCellStates::*)(const std::vector<ZylCell*>&);
    const std::pair<Getter, Setter> layers[] = {
        { &ZylCellStates::getActiveSounding, &ZylCellStates::setActiveSounding },
        { &ZylCellStates::getActiveSelected, &ZylCellStates::setActiveSelected },
        { &ZylCellStates::getPressed, &ZylCellStates::setPressed },
        { &ZylCellStates::getSelected, &ZylCellStates::setSelected },
        { &ZylCellStates::getSounding, &ZylCellStates::setSounding },
    };
    for (const auto& [get, set] : layers)
    {
        ZylCellStates s;
        (s.*set)(cells("BA"));
        s.getDirty().clear();
        const auto stamp = (s.*get)().getTime();
        EXPECT_FALSE((s.*set)((s.*get)().getCells()));
        EXPECT_EQ(names((s.*get)()), "BA");
        EXPECT_EQ((s.*get)().getTime(), stamp);
        EXPECT_TRUE(s.getDirty().getCells().empty());
    }
}

TEST_F(Layer, ClearRuleReportsAndMarksOnlyWhatWasThere)
{
    EXPECT_FALSE(states.clearActiveSounding());
    EXPECT_EQ(states.getDirty().getTime(), 0);

    states.setActiveSelected(cells("AB"));
    states.getDirty().clear();
    EXPECT_TRUE(states.clearActiveSelected());
    EXPECT_EQ(names(states.getDirty()), "AB");

    states.setPressed(cells("A"));
    states.setSelected(cells("B"));
    states.setSounding(cells("C"));
    states.setActiveSounding(cells("H"));
    states.setActiveSelected(cells("N"));
    states.getDirty().clear();
    states.clearAll();
    for (ZylCellSet* set : { &states.getPressed(), &states.getSelected(), &states.getSounding(),
                             &states.getActiveSounding(), &states.getActiveSelected() })
        EXPECT_TRUE(set->getCells().empty());
    EXPECT_EQ(names(states.getDirty()), "ABCHN");
}

TEST_F(Layer, ScaleFilterDecidesWhatCanPlay)
{
    ZylScaleDomain scales(nullptr);
    ZylKeyDomain keys(nullptr);
    const ZylScaleNoteTable table(&scales, &keys);
    const auto* major = dynamic_cast<const ZylScaleValue*>(scales.findByName(L"Major"));
    const auto* keyOfC = dynamic_cast<const ZylKeyValue*>(keys.findByName(L"C"));
    const auto* keyOfD = dynamic_cast<const ZylKeyValue*>(keys.findByName(L"D"));
    ASSERT_TRUE(major != nullptr && keyOfC != nullptr && keyOfD != nullptr);

    struct Case
    {
        const char* what;
        bool filter;
        const ZylScaleNoteTable* table;
        const ZylScaleValue* scale;
        const ZylKeyValue* key;
        std::string playable; // of the cells A B C H N
    };
    const Case cases[] = {
        { "filter off: every playable cell", false, nullptr, nullptr, nullptr, "ABC" },
        { "filter on without a table", true, nullptr, major, keyOfC, "" },
        { "filter on without a scale", true, &table, nullptr, keyOfC, "" },
        { "filter on without a key", true, &table, major, nullptr, "" },
        { "C major holds C, E and G; never a hidden cell", true, &table, major, keyOfC, "ABC" },
        { "D major has no C natural", true, &table, major, keyOfD, "BC" },
    };
    for (const auto& c : cases)
    {
        ZylCellStates s;
        s.setScaleFilterOn(c.filter);
        s.setScaleTable(c.table);
        s.setScale(c.scale);
        s.setKey(c.key);
        std::string playable;
        for (char n : std::string("ABCHN"))
            if (s.canPlay(cell(n)))
                playable += n;
        EXPECT_EQ(playable, c.playable) << c.what;
        EXPECT_FALSE(s.canPlay(nullptr)) << c.what;
    }

    // Pressing a cell outside the scale clears the selection, yet the cell is pressed and dirty.
    states.setScaleTable(&table);
    states.setScale(major);
    states.setKey(keyOfD);
    states.setScaleFilterOn(true);
    states.press(cell('B'), true);
    states.getDirty().clear();
    states.press(cell('A'), true);
    EXPECT_TRUE(states.getSelected().getCells().empty());
    EXPECT_EQ(names(states.getSounding()), "B") << "latch holds the chord of the last playable press";
    EXPECT_EQ(names(states.getPressed()), "BA");
    EXPECT_EQ(names(states.getDirty()), "BA");
}

struct FixedColours : ZylCellColourProvider
{
    juce::Colour getSelectedCellColour(const ZylCell*) override { return juce::Colours::grey; }
    juce::Colour getSoundingCellColour(const ZylCell*) override { return juce::Colours::red; }
    juce::Colour getSelectedSoundingCellColour(const ZylCell*) override { return juce::Colours::pink; }
};

TEST(ZylLiveSpace, HasAPrimaryLayerAndALimeSecondaryLayer)
{
    ZylLiveSpace live;
    ASSERT_EQ(live.getStates().size(), 2u);
    EXPECT_EQ(live.getPrimaryStates(), live.getStates()[0].get());
    EXPECT_EQ(live.getSecondaryStates(), live.getStates()[1].get());
    EXPECT_EQ(live.getSpace(), nullptr);

    FixedColours view;
    juce::Colour colour;
    live.getPrimaryStates()->getSoundingColour(colour, nullptr, &view);
    EXPECT_EQ(colour, juce::Colours::red);
    live.getSecondaryStates()->getSoundingColour(colour, nullptr, &view);
    EXPECT_EQ(colour, juce::Colours::lime);
    live.getSecondaryStates()->getSelectedColour(colour, nullptr, &view);
    EXPECT_EQ(colour, juce::Colours::grey);
    live.getSecondaryStates()->getSelectedSoundingColour(colour, nullptr, &view);
    EXPECT_EQ(colour, juce::Colours::pink);

    colour = juce::Colours::blue;
    live.getPrimaryStates()->getSoundingColour(colour, nullptr, nullptr);
    EXPECT_EQ(colour, juce::Colours::blue);
}
TEST(ZylLiveSpace, ItsLayersHoldEveryCellOfTheirSpaceWithoutAllocating)
{
    ZylSpace piano;
    piano.buildPiano();
    std::vector<ZylCell*> all;
    for (const auto& cell : piano.getCells())
        all.push_back(cell.get());
    ZylLiveSpace live;
    live.setSpace(&piano);
    const juce::ScopedLock lock(live.getLock());
    const zyltest::ScopedAllocationCounter counter;
    for (auto* layer : { live.getPrimaryStates(), live.getSecondaryStates() })
    {
        layer->setLatch(false);
        layer->setActiveSounding(all);
        layer->setActiveSelected(all);
        for (auto* cell : all)
        {
            layer->press(cell, true);
            layer->trigger(cell, 0.5f);
        }
        layer->setSounding(all);
        EXPECT_EQ(layer->getDirty().getCells().size(), all.size());
        layer->clearAll();
        layer->setActiveSounding(all);
    }
    EXPECT_EQ(counter.getAllocations(), 0);
    EXPECT_EQ(counter.getFrees(), 0);
}
} // namespace
