#include "framework/ZylMessageCodes.h"
#include "space/ZylCell.h"
#include "space/ZylCellStates.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpace.h"
#include "tests/ui/ZylViewTestSupport.h"
#include "ui/ZylSpaceView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace
{
using View = zyltest::RecordingView<ZylSpaceView>;

// A 3 by 2 grid of 26-unit cells: notes 60 61 62 below, 65 66 67 above. Its bounds are
// (0, 0) to (79, 52): 80 by 53 units.
struct SmallGrid : ::testing::Test
{
    SmallGrid()
    {
        space.buildGrid(60, 127, 1, 5, 3, 2, 26, 26);
        live.setSpace(&space);
        view.setSpace(&live);
    }

    ZylCell* cellOf(int note) const
    {
        for (auto* cell : zyltest::shownCells(space))
            if (cell->getNote() == note)
                return cell;
        return nullptr;
    }

    ZylCell* hit(juce::Point<int> p)
    {
        double x = p.x, y = p.y;
        view.updateTransform();
        view.viewToModelPoint(x, y);
        return view.cellAt(x, y);
    }

    ZylCellStates& states() const { return *live.getPrimaryStates(); }

    ZylSpace space;
    ZylLiveSpace live;
    View view { nullptr };
};

TEST_F(SmallGrid, TransformFitsTheSpaceCentredWithTheModelYAxisUp)
{
    struct Case
    {
        int width, height;
        double margin;
        double scale, originX, originY; // where the model origin lands
    };
    const Case cases[] = {
        { 84, 57, 2.0, 1.0, 2.0, 55.0 },     // the size updateSize gives at zoom 100
        { 400, 57, 2.0, 1.0, 160.0, 55.0 },  // wide: the height decides, centred across
        { 84, 300, 2.0, 1.0, 2.0, 177.0 },   // tall: the width decides, centred down
        { 168, 114, 2.0, 2.0, 4.0, 110.0 },  // twice the size
        { 80, 53, 0.0, 1.0, 0.0, 53.0 },     // no margins
        { 85, 57, 2.0, 1.0, 2.0, 55.0 },     // an odd pixel over: the offset rounds down
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(juce::String(c.width) + "x" + juce::String(c.height));
        view.setHorizontalMargin(c.margin);
        view.setVerticalMargin(c.margin);
        view.setSize(c.width, c.height);
        view.updateTransform();

        double x = 0, y = 0;
        view.modelToViewPoint(x, y);
        EXPECT_DOUBLE_EQ(x, c.originX);
        EXPECT_DOUBLE_EQ(y, c.originY);
        double ux = 1, uy = 1;
        view.modelToViewPoint(ux, uy);
        EXPECT_NEAR(ux - x, c.scale, 1e-6);
        EXPECT_NEAR(y - uy, c.scale, 1e-6); // model y up, view y down

        view.viewToModelPoint(ux, uy);
        EXPECT_NEAR(ux, 1.0, 1e-6);
        EXPECT_NEAR(uy, 1.0, 1e-6);

        // A cell rectangle maps with its top first and comes back unchanged.
        double x1 = 0, y1 = 27, x2 = 25, y2 = 52;
        view.modelToViewRect(x1, y1, x2, y2);
        EXPECT_LT(y1, y2);
        view.viewToModelRect(x1, y1, x2, y2);
        EXPECT_NEAR(x1, 0, 1e-4);
        EXPECT_NEAR(y1, 27, 1e-4);
        EXPECT_NEAR(x2, 25, 1e-4);
        EXPECT_NEAR(y2, 52, 1e-4);
    }
}

TEST_F(SmallGrid, CellAtFindsEveryShownCellAtItsCentreAndNothingInTheGaps)
{
    for (auto size : { juce::Point<int>(84, 57), juce::Point<int>(300, 200), juce::Point<int>(60, 40) })
    {
        SCOPED_TRACE(size.toString());
        view.setSize(size.x, size.y);
        for (auto* cell : zyltest::shownCells(space))
            EXPECT_EQ(hit(zyltest::viewCentreOf(view, *cell)), cell) << "note " << cell->getNote();
    }
    view.setSize(84, 57);
    view.updateTransform();
    // The 2-unit gap between the columns of 60 and 61 (model x 26), the margin, far outside.
    for (auto p : { juce::Point<double>(26.5, 10), juce::Point<double>(-1.5, 10),
                    juce::Point<double>(500, 500) })
        EXPECT_EQ(view.cellAt(p.x, p.y), nullptr) << p.toString();
}

TEST_F(SmallGrid, HiddenCellsAndCellsWithoutANoteAreNeverHitNorDrawn)
{
    view.setSize(84, 57);
    auto* cell = cellOf(61);
    const auto centre = zyltest::viewCentreOf(view, *cell);
    cell->setHidden(true);
    EXPECT_EQ(hit(centre), nullptr);
    const auto hiddenImage = zyltest::renderView(view);
    EXPECT_EQ(hiddenImage.getPixelAt(centre.x, centre.y), juce::Colours::black);

    cell->setHidden(false);
    cell->setNote(ZylCell::kNoNote);
    EXPECT_EQ(hit(centre), nullptr);
    EXPECT_EQ(zyltest::renderView(view).getPixelAt(centre.x, centre.y), juce::Colours::black);

    cell->setNote(61);
    EXPECT_EQ(hit(centre), cell);
    EXPECT_NE(zyltest::renderView(view).getPixelAt(centre.x, centre.y), juce::Colours::black);
}

TEST(ZylSpaceViewLayouts, EveryTileOfEveryShownCellHitsItsCellAtSeveralSizes)
{
    struct Case
    {
        const char* name;
        void (*build)(ZylSpace&);
    };
    const Case cases[] = {
        { "4:7 rows", [](ZylSpace& s) { s.buildGrid(21, 112, 4, 7, 15, 14, 24, 20); } },
        { "1:2 rows", [](ZylSpace& s) { s.buildGrid(21, 108, 1, 2, 30, 20, 24, 20); } },
        { "octaves", [](ZylSpace& s) { s.buildGrid(12, 118, 1, 12, 12, 12, 30, 18); } },
        { "piano", [](ZylSpace& s) { s.buildPiano(); } },
    };
    for (const auto& c : cases)
    {
        ZylSpace space;
        c.build(space);
        ZylLiveSpace live;
        live.setSpace(&space);
        ZylSpaceView view(nullptr);
        view.setSpace(&live);
        for (double zoom : { 100.0, 250.0 })
        {
            view.setZoom(zoom);
            for (auto size : { view.getBounds().getBottomRight(), juce::Point<int>(700, 300) })
            {
                SCOPED_TRACE(juce::String(c.name) + " zoom " + juce::String(zoom) + " " + size.toString());
                view.setSize(size.x, size.y);
                view.updateTransform();
                for (auto* cell : zyltest::shownCells(space))
                    for (const auto& tile : cell->getTiles())
                    {
                        const auto& b = tile->getBounds();
                        double x = (b.x1 + b.x2) / 2.0, y = (b.y1 + b.y2) / 2.0;
                        view.modelToViewPoint(x, y);
                        // The pixel the pointer would report there.
                        x = std::floor(x);
                        y = std::floor(y);
                        view.viewToModelPoint(x, y);
                        EXPECT_EQ(view.cellAt(x, y), cell) << "note " << cell->getNote();
                    }
            }
        }
    }
}

TEST(ZylSpaceViewSize, UpdateSizeFollowsZoomMarginsAndSpace)
{
    struct Case
    {
        int tilesX, tilesY; // a grid of one cell of this tile size
        double zoom, margin;
        int width, height;
        float labelHeight, subLabelHeight;
    };
    const Case cases[] = {
        { 10, 6, 200.0, 2.0, 28, 20, 23.0f, 20.0f },
        { 10, 6, 100.0, 2.0, 14, 10, 11.5f, 10.0f },
        { 10, 6, 150.0, 0.5, 16, 10, 17.25f, 15.0f }, // (1 + 10) * 1.5 = 16.5 and 10.5, truncated
        { 80, 53, 50.0, 2.0, 42, 28, 5.75f, 5.0f },
    };
    for (const auto& c : cases)
    {
        ZylSpace space;
        space.buildGrid(60, 60, 1, 1, 1, 1, c.tilesX, c.tilesY);
        ZylLiveSpace live;
        live.setSpace(&space);
        ZylSpaceView view(nullptr);
        view.setHorizontalMargin(c.margin);
        view.setVerticalMargin(c.margin);
        view.setSpace(&live);
        view.setZoom(c.zoom);
        EXPECT_EQ(view.getWidth(), c.width);
        EXPECT_EQ(view.getHeight(), c.height);
        EXPECT_FLOAT_EQ(view.getLabelFont().getHeight(), c.labelHeight);
        EXPECT_TRUE(view.getLabelFont().isBold());
        EXPECT_FLOAT_EQ(view.getSubLabelFont().getHeight(), c.subLabelHeight);
        EXPECT_FALSE(view.getSubLabelFont().isBold());
    }
}

TEST(ZylSpaceViewWithoutSpace, DrawsNothingKeepsItsSizeHitsNothingAndIgnoresMessages)
{
    View view(nullptr);
    view.setBounds(5, 6, 70, 40);
    view.setZoom(300.0);
    EXPECT_EQ(view.getBounds(), juce::Rectangle<int>(5, 6, 70, 40));
    EXPECT_EQ(view.cellAt(10, 10), nullptr);
    EXPECT_EQ(view.getTrigger(), nullptr);
    for (int code : { 0x2608, 0x2708, 0x290A, 0x0102 })
        EXPECT_FALSE(view.handleMessage(nullptr, code, 0)) << code;
    const auto image = zyltest::renderView(view);
    EXPECT_EQ(image.getPixelAt(35, 20), juce::Colours::black);

    // Pressing still records the position.
    view.pointerDown(12, 13);
    EXPECT_EQ(view.getLastX(), 12);
    EXPECT_EQ(view.getLastY(), 13);
}

TEST_F(SmallGrid, PressTriggersReleaseReleasesUnlessLatchedAndOnlyDirtyCellsRepaint)
{
    view.setSize(84, 57);
    for (bool latch : { false, true })
    {
        SCOPED_TRACE(latch ? "latch" : "no latch");
        states().clearAll();
        states().getDirty().clear();
        states().setLatch(latch);
        view.repainted.clear();

        auto* cell = cellOf(66);
        const auto centre = zyltest::viewCentreOf(view, *cell);
        view.pointerDown(centre.x, centre.y);
        EXPECT_TRUE(view.isActive());
        EXPECT_TRUE(states().isSounding(cell));
        EXPECT_TRUE(view.wasRepainted(zyltest::viewBoundsOf(view, *cell).toNearestInt().reduced(1)));
        // The dirty set stays for the space module's answer to clear.
        EXPECT_TRUE(states().getDirty().contains(cell));

        view.pointerUp(centre.x, centre.y);
        EXPECT_EQ(states().isSounding(cell), latch);
    }

    // A press in a gap triggers nothing, records the position, and the release still releases.
    states().setLatch(false);
    auto* sounding = cellOf(60);
    states().trigger(sounding, 0.8f);
    view.pointerDown(1, 1);
    EXPECT_EQ(view.getLastX(), 1);
    EXPECT_TRUE(states().isSounding(sounding));
    view.pointerUp(1, 1);
    EXPECT_FALSE(states().isSounding(sounding));
}

TEST_F(SmallGrid, MovingPressesTheHoveredCellAndTriggersOnlyWithTheButtonDown)
{
    view.setSize(84, 57);
    states().setLatch(false);
    states().setPlayOnSelect(true);
    view.setActive(true);
    auto* a = cellOf(60);
    auto* b = cellOf(61);
    const auto pa = zyltest::viewCentreOf(view, *a);
    const auto pb = zyltest::viewCentreOf(view, *b);

    view.pointerMoved(pa.x, pa.y);
    EXPECT_EQ(view.getHoveredCell(), a);
    EXPECT_TRUE(states().isSelected(a));
    EXPECT_FALSE(states().isSounding(a));

    // Moving within the same cell changes nothing on the states; the same pixel not even the
    // recorded position.
    view.pointerMoved(pa.x + 1, pa.y);
    EXPECT_EQ(view.getHoveredCell(), a);
    EXPECT_EQ(view.getLastX(), pa.x + 1);

    view.pointerDragged(pb.x, pb.y);
    EXPECT_EQ(view.getHoveredCell(), b);
    EXPECT_FALSE(states().isPressed(a));
    EXPECT_TRUE(states().isSelected(b));
    EXPECT_TRUE(states().isSounding(b));
}

TEST_F(SmallGrid, LeavingResetsTheStatesAndRepaintsTheCellsItReset)
{
    view.setSize(84, 57);
    states().setLatch(false);
    auto* cell = cellOf(62);
    const auto centre = zyltest::viewCentreOf(view, *cell);
    view.pointerEntered();
    ASSERT_TRUE(view.isActive());
    view.pointerMoved(centre.x, centre.y);
    view.pointerDown(centre.x, centre.y);
    ASSERT_TRUE(states().isSounding(cell));
    states().getDirty().clear();
    view.repainted.clear();

    view.pointerExited();
    EXPECT_FALSE(states().isSelected(cell));
    EXPECT_FALSE(states().isPressed(cell));
    EXPECT_FALSE(states().isSounding(cell));
    EXPECT_EQ(view.getHoveredCell(), nullptr);
    EXPECT_TRUE(view.wasRepainted(zyltest::viewBoundsOf(view, *cell).toNearestInt()));

    // An inactive view ignores the pointer: nothing moves, nothing resets.
    view.setActive(false);
    view.pointerMoved(1, 2);
    EXPECT_NE(view.getLastX(), 1);
}

TEST_F(SmallGrid, SpaceBarPlaysAtThePointerWhileActiveAndIsConsumed)
{
    view.setSize(84, 57);
    states().setLatch(false);
    auto* cell = cellOf(65);
    view.pointer = zyltest::viewCentreOf(view, *cell);
    const juce::KeyPress spaceKey(juce::KeyPress::spaceKey);

    EXPECT_FALSE(view.keyPressed(spaceKey, &view)); // inactive: the key goes on
    EXPECT_FALSE(states().isSounding(cell));

    view.setActive(true);
    EXPECT_TRUE(view.keyPressed(spaceKey, &view));
    EXPECT_TRUE(view.isSpaceBarPressed());
    EXPECT_TRUE(states().isSounding(cell));
    EXPECT_TRUE(view.keyPressed(spaceKey, &view)); // auto-repeat: still consumed, no second press
    EXPECT_FALSE(view.keyPressed(juce::KeyPress('a'), &view));

    // With the space bar held, moving triggers newly visited cells as a drag does.
    auto* next = cellOf(66);
    const auto p = zyltest::viewCentreOf(view, *next);
    view.pointerMoved(p.x, p.y);
    EXPECT_TRUE(states().isSounding(next));

    // No key is down in a test: the key-state change is the space bar's release, which takes
    // effect when no press followed it within the repeat window.
    EXPECT_TRUE(view.keyStateChanged(false, &view));
    EXPECT_TRUE(view.isSpaceBarReleasePending());
    view.timerCallback();
    EXPECT_FALSE(view.isSpaceBarPressed());
    EXPECT_FALSE(states().isSounding(next));
    EXPECT_FALSE(view.keyStateChanged(false, &view)); // nothing of ours to release
}

// X delivers a held key's repeats as a release followed at once by a press. The chord started by
// the space bar sounds on through them, also with the pointer over a gap where a new press finds
// nothing to play; the real release stops it once the window has passed.
TEST_F(SmallGrid, SpaceBarRepeatsKeepTheChordUntilTheRealRelease)
{
    view.setSize(84, 57);
    states().setLatch(false);
    view.setActive(true);
    auto* cell = cellOf(65);
    const juce::KeyPress spaceKey(juce::KeyPress::spaceKey);
    view.pointer = zyltest::viewCentreOf(view, *cell);
    view.pointerMoved(view.pointer.x, view.pointer.y);
    ASSERT_TRUE(view.keyPressed(spaceKey, &view));
    ASSERT_TRUE(states().isSounding(cell));

    const juce::Point<int> gap(1, 1);
    ASSERT_EQ(hit(gap), nullptr);
    for (auto where : { view.pointer, gap, gap })
    {
        view.pointer = where;
        view.pointerMoved(where.x, where.y);
        EXPECT_TRUE(view.keyStateChanged(false, &view)); // the repeat's release, consumed
        EXPECT_TRUE(view.keyPressed(spaceKey, &view));   // and its press
        EXPECT_FALSE(view.isSpaceBarReleasePending());
        EXPECT_TRUE(view.isSpaceBarPressed());
        EXPECT_TRUE(states().isSounding(cell)) << where.toString();
    }

    // The real release: the message loop ends the window and the chord stops.
    EXPECT_TRUE(view.keyStateChanged(false, &view));
    EXPECT_TRUE(states().isSounding(cell));
    for (int waited = 0; waited < 2000 && view.isSpaceBarPressed(); waited += 10)
        juce::MessageManager::getInstance()->runDispatchLoopUntil(10);
    EXPECT_FALSE(view.isSpaceBarPressed());
    EXPECT_FALSE(states().isSounding(cell));

    // Leaving the view while a release waits ends the press at once and cancels the wait.
    view.pointer = zyltest::viewCentreOf(view, *cell);
    ASSERT_TRUE(view.keyPressed(spaceKey, &view));
    EXPECT_TRUE(view.keyStateChanged(false, &view));
    view.pointerExited();
    EXPECT_FALSE(view.isSpaceBarReleasePending());
    EXPECT_FALSE(view.isSpaceBarPressed());
}

TEST_F(SmallGrid, MessagesOfTheSpaceModuleRepaintResizeAndMoveTheFocus)
{
    view.setSize(84, 57);
    view.setViewIndex(10);

    // Cell states changed: the dirty cells of both layers are repainted and forgotten, and
    // nothing else is.
    auto* a = cellOf(60);
    auto* b = cellOf(67);
    auto* untouched = cellOf(62);
    const auto areaOf = [&](const ZylCell* cell) { return zyltest::viewBoundsOf(view, *cell).toNearestInt(); };
    live.getPrimaryStates()->setSelected({ a });
    live.getSecondaryStates()->setActiveSounding({ b });
    view.repainted.clear();
    EXPECT_TRUE(view.handleMessage(nullptr, kCellStatesChanged, 0));
    EXPECT_TRUE(live.getPrimaryStates()->getDirty().getCells().empty());
    EXPECT_TRUE(live.getSecondaryStates()->getDirty().getCells().empty());
    EXPECT_TRUE(view.wasRepainted(areaOf(a)));
    EXPECT_TRUE(view.wasRepainted(areaOf(b)));
    EXPECT_FALSE(view.wasRepainted(areaOf(untouched).reduced(4)));

    // A chord copied from the other space marks no cell dirty: the cells lit at the last message
    // and those lit now are repainted all the same.
    live.getSecondaryStates()->fillActiveSounding({ untouched });
    view.repainted.clear();
    EXPECT_TRUE(view.handleMessage(nullptr, kCellStatesChanged, 0));
    EXPECT_TRUE(view.wasRepainted(areaOf(b)));
    EXPECT_TRUE(view.wasRepainted(areaOf(untouched)));
    EXPECT_FALSE(view.wasRepainted(view.getLocalBounds()));

    // New layout: the view takes the size of the space again.
    view.setHorizontalMargin(10.0);
    EXPECT_TRUE(view.handleMessage(nullptr, kSpaceLayoutChanged, 0));
    EXPECT_EQ(view.getWidth(), 100);

    // Another view became active: this one lets go; its own announcement changes nothing.
    struct Case
    {
        int code;
        bool activeAfter;
    };
    for (const auto& c : { Case { kSpaceViewActivated + 10, true }, Case { kSpaceViewActivated + 9, false },
                           Case { kSpaceViewActivated + 0, false } })
    {
        view.setActive(true);
        EXPECT_TRUE(view.handleMessage(nullptr, c.code, 0));
        EXPECT_EQ(view.isActive(), c.activeAfter) << c.code;
    }
    // Anything else from anyone is not the view's business.
    EXPECT_FALSE(view.handleMessage(nullptr, kValueChanged | kCauseUser, 0));
}

TEST_F(SmallGrid, TheFirstLayerThatHoldsACellDecidesItsColour)
{
    view.setSize(84, 57);
    auto* cell = cellOf(61);
    auto& primary = *live.getPrimaryStates();
    auto& secondary = *live.getSecondaryStates();
    const auto centre = zyltest::viewCentreOf(view, *cell);

    const auto colourAtCentre = [&] { return zyltest::renderView(view).getPixelAt(centre.x, centre.y); };

    secondary.setActiveSounding({ cell });
    juce::Colour midiColour;
    secondary.getSoundingColour(midiColour, cell, &view); // the layer's own colour
    EXPECT_EQ(colourAtCentre(), midiColour);
    primary.setActiveSelected({ cell });
    EXPECT_EQ(colourAtCentre(), view.getSelectedCellColour(cell));
    primary.setActiveSounding({ cell });
    EXPECT_EQ(colourAtCentre(), view.getSelectedSoundingCellColour(cell));
}
} // namespace
