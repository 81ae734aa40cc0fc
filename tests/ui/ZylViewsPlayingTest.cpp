#include "app/ZylLumenfoldModule.h"
#include "framework/ZylEditor.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylProgramModule.h"
#include "modules/ZylTransportModule.h"
#include "space/ZylCell.h"
#include "space/ZylCellLabelDomain.h"
#include "space/ZylCellStates.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceModule.h"
#include "tests/TestHelpers.h"
#include "tests/app/ZylLumenfoldTestFilter.h"
#include "tests/ui/ZylSnapshot.h"
#include "tests/ui/ZylUiTestSupport.h"
#include "tests/ui/ZylViewTestSupport.h"
#include "ui/ZylChordView.h"
#include "ui/ZylGridPanel.h"
#include "ui/ZylGridView.h"
#include "ui/ZylLookAndFeel.h"
#include "ui/ZylParamCombo.h"
#include "ui/ZylSpacePanel.h"
#include "ui/ZylSpacer.h"
#include "ui/ZylPianoPanel.h"
#include "ui/ZylPianoView.h"
#include "tests/framework/ZylParameterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <thread>
#include <vector>

namespace
{
// Records the codes its source posts.
struct CodeRecorder : ZylMessageSink
{
    void receiveMessage(void*, int code, int) override { codes.push_back(code); }
    std::vector<int> codes;
};

// A chord view that counts its refreshes.
struct CountingChordView : ZylChordView
{
    using ZylChordView::ZylChordView;
    void refresh() override
    {
        ++refreshes;
        ZylChordView::refresh();
    }
    int refreshes = 0;
};

// The whole product tree behind an editor, with the grid and piano panels and a chord view on
// it, prepared to play.
struct Playing : ::testing::Test
{
    static constexpr int kBlock = 512;

    Playing()
    {
        filter.initialise();
        filter.prepareToPlay(44100.0, kBlock);
        zyltest::drainMessageQueue();
        editor = std::make_unique<ZylEditor>(filter);
        gridPanel = std::make_unique<ZylGridPanel>(editor.get());
        pianoPanel = std::make_unique<ZylPianoPanel>(editor.get());
        chordView = std::make_unique<CountingChordView>(editor.get());
        gridPanel->setBounds(0, 0, 690, 430);
        pianoPanel->setBounds(0, 0, 690, 71);
        zyltest::selectByName(module().getSpaceParameter(), L"LH");
        zyltest::selectByName(module().getTriggerParameter(), L"Mouse Cl");
        zyltest::selectByName(module().getOnClickParameter(), L"Tr Click");
        zyltest::selectByName(module().getAssistParameter(), L"Ch Root");
        zyltest::selectByName(module().getKeyParameter(), L"C");
        zyltest::selectByName(module().getScaleParameter(), L"Chroma");
        zyltest::selectByName(module().getChordParameter(), L"M");
        blocks(2);
    }

    ~Playing() override
    {
        chordView.reset();
        pianoPanel.reset();
        gridPanel.reset();
        editor.reset();
        filter.releaseResources();
        zyltest::drainMessageQueue();
    }

    ZylSpaceModule& module()
    {
        return *dynamic_cast<ZylSpaceModule*>(filter.getModuleContainer()->getModule(ZylSpaceModule::kModuleId));
    }
    ZylGridView& grid() { return *gridPanel->getSpaceView(); }
    ZylPianoView& piano() { return *pianoPanel->getPianoView(); }


    // Audio blocks as the device would run them, then the messages they posted.
    void blocks(int n)
    {
        for (int i = 0; i < n; ++i)
        {
            juce::AudioBuffer<float> audio(2, kBlock);
            audio.clear();
            juce::MidiBuffer midi;
            filter.processBlock(audio, midi);
        }
        zyltest::drainMessageQueue();
    }

    // The pointer moves onto the grid cell and presses it, and the blocks that sound the chord
    // run; returns the point pressed, for the release.
    juce::Point<int> pressOnGrid(const ZylCell& cell)
    {
        const auto p = zyltest::uncoveredPointIn(grid(), cell);
        grid().pointerEntered();
        grid().pointerMoved(p.x, p.y);
        grid().pointerDown(p.x, p.y);
        blocks(2);
        return p;
    }

    static std::multiset<int> notesOf(const ZylCellSet& set)
    {
        std::multiset<int> notes;
        for (auto* cell : set.getCells())
            notes.insert(cell->getNote());
        return notes;
    }

    static std::set<int> distinctNotesOf(const ZylCellSet& set)
    {
        std::set<int> notes;
        for (auto* cell : set.getCells())
            notes.insert(cell->getNote());
        return notes;
    }

    zyltest::LumenfoldTestFilter filter;
    std::unique_ptr<ZylEditor> editor;
    std::unique_ptr<ZylGridPanel> gridPanel;
    std::unique_ptr<ZylPianoPanel> pianoPanel;
    std::unique_ptr<CountingChordView> chordView;
};

TEST_F(Playing, APressOnAGridCellLightsTheChordOnGridAndPianoAndNamesIt)
{
    auto* root = zyltest::shownCellOf(grid(), 60);
    ASSERT_NE(root, nullptr);
    const auto p = pressOnGrid(*root);

    auto& gridStates = *module().getGridSpace()->getPrimaryStates();
    auto& pianoStates = *module().getPianoSpace()->getPrimaryStates();
    EXPECT_EQ(notesOf(gridStates.getActiveSounding()), (std::multiset<int> { 60, 64, 67 }));
    EXPECT_EQ(distinctNotesOf(pianoStates.getActiveSounding()), (std::set<int> { 60, 64, 67 }));
    EXPECT_EQ(chordView->getLastRootName(), "C");
    EXPECT_EQ(chordView->getLastChordName(), "M");

    // What the eye sees: the chord's cells and keys in the sounding colours, the others not.
    const auto gridImage = zyltest::renderView(grid());
    const auto pianoImage = zyltest::renderView(piano());
    for (auto* cell : gridStates.getActiveSounding().getCells())
    {
        const auto q = zyltest::uncoveredPointIn(grid(), *cell);
        // The preview of the selected root is the same chord: its cells are selected too.
        const auto expected = gridStates.getActiveSelected().contains(cell)
                                  ? grid().getSelectedSoundingCellColour(cell)
                                  : grid().getSoundingCellColour(cell);
        EXPECT_TRUE(zyltest::coloursNear(gridImage.getPixelAt(q.x, q.y), expected)) << cell->getNote();
    }
    for (int note : { 60, 64, 67 })
    {
        auto* key = zyltest::shownCellOf(piano(), note);
        const auto q = zyltest::uncoveredPointIn(piano(), *key);
        EXPECT_TRUE(zyltest::coloursNear(pianoImage.getPixelAt(q.x, q.y), juce::Colours::orange.darker(0.1f), 4)
                    || zyltest::coloursNear(pianoImage.getPixelAt(q.x, q.y), juce::Colours::orange.brighter(0.3f), 4))
            << note;
    }
    const auto q = zyltest::uncoveredPointIn(piano(), *zyltest::shownCellOf(piano(), 62));
    EXPECT_FALSE(zyltest::coloursNear(pianoImage.getPixelAt(q.x, q.y), juce::Colours::orange.darker(0.1f), 20));

    // The release stops the chord; the chord view keeps the last one.
    grid().pointerUp(p.x, p.y);
    blocks(2);
    EXPECT_TRUE(gridStates.getActiveSounding().getCells().empty());
    EXPECT_TRUE(pianoStates.getActiveSounding().getCells().empty());
    EXPECT_EQ(chordView->getLastChordName(), "M");
}

TEST_F(Playing, HoverRuleFollowsTriggerAndOnClick)
{
    struct Case
    {
        const wchar_t* trigger;
        const wchar_t* onClick;
        bool activateOnHover;
    };
    const Case cases[] = {
        { L"Mouse Cl", L"Tr Click", true },  { L"Mouse Cl", L"Tr & Hold", false },
        { L"Midi Clk", L"Tr Click", true },  { L"Midi Clk", L"Tr & Hold", false },
        { L"Midi Hvr", L"Tr Click", true },  { L"Midi Hvr", L"Tr & Hold", true },
        { L"Midi Nte", L"Tr & Hold", true }, { L"Midi Mod", L"Tr & Hold", true },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(juce::String(c.trigger) + " / " + juce::String(c.onClick));
        zyltest::selectByName(module().getOnClickParameter(), c.onClick);
        zyltest::selectByName(module().getTriggerParameter(), c.trigger);
        EXPECT_EQ(grid().getActivateOnHover(), c.activateOnHover);
        EXPECT_EQ(piano().getActivateOnHover(), c.activateOnHover);

        // Without hover activation only a click takes the focus.
        grid().setActive(false);
        piano().setActive(false);
        grid().pointerEntered();
        EXPECT_EQ(grid().isActive(), c.activateOnHover);
        grid().pointerDown(1, 1);
        EXPECT_TRUE(grid().isActive());
        grid().pointerUp(1, 1);
        zyltest::drainMessageQueue();

        // "Tr & Hold" latches: the clicked cell sounds on after the release.
        auto* cell = zyltest::shownCellOf(grid(), 64);
        const auto p = zyltest::uncoveredPointIn(grid(), *cell);
        grid().pointerMoved(p.x, p.y);
        grid().pointerDown(p.x, p.y);
        grid().pointerUp(p.x, p.y);
        auto* states = module().getGridSpace()->getPrimaryStates();
        EXPECT_EQ(states->isSounding(cell), juce::String(c.onClick) == "Tr & Hold");
        grid().pointerExited();
        {
            const juce::ScopedLock sl(module().getGridSpace()->getLock());
            states->clearAll();
        }
    }
}

TEST_F(Playing, ViewsMadeAfterTheStateLoadFollowTheHoverRuleAtOnce)
{
    zyltest::selectByName(module().getOnClickParameter(), L"Tr & Hold");
    ZylGridPanel laterGrid(editor.get());
    ZylPianoPanel laterPiano(editor.get());
    EXPECT_FALSE(laterGrid.getSpaceView()->getActivateOnHover());
    EXPECT_FALSE(laterPiano.getPianoView()->getActivateOnHover());
}

TEST_F(Playing, AClickInTheInactiveViewPostsItsIndexAndTakesTheFocus)
{
    CodeRecorder recorder;
    module().getCommandParameter()->addSink(&recorder);

    auto* gridCell = zyltest::shownCellOf(grid(), 60);
    const auto g = zyltest::uncoveredPointIn(grid(), *gridCell);
    grid().pointerDown(g.x, g.y);
    grid().pointerUp(g.x, g.y);
    zyltest::drainMessageQueue();
    EXPECT_TRUE(grid().isActive());
    EXPECT_FALSE(piano().isActive());
    EXPECT_EQ(module().getFocusSpace(), module().getGridSpace());

    auto* key = zyltest::shownCellOf(piano(), 62);
    const auto k = zyltest::uncoveredPointIn(piano(), *key);
    piano().pointerDown(k.x, k.y);
    EXPECT_TRUE(module().getPianoSpace()->getPrimaryStates()->isSounding(key));
    zyltest::drainMessageQueue();
    EXPECT_TRUE(piano().isActive());
    EXPECT_FALSE(grid().isActive());
    EXPECT_EQ(module().getFocusSpace(), module().getPianoSpace());
    blocks(2);
    // The piano plays the chord of its key, and the grid mirrors it.
    EXPECT_EQ(distinctNotesOf(module().getPianoSpace()->getPrimaryStates()->getActiveSounding()),
              (std::set<int> { 62, 66, 69 }));
    EXPECT_EQ(distinctNotesOf(module().getGridSpace()->getPrimaryStates()->getActiveSounding()),
              (std::set<int> { 62, 66, 69 }));
    piano().pointerUp(k.x, k.y);

    module().getCommandParameter()->removeSink(&recorder);
    const std::vector<int> activations = [&] {
        std::vector<int> out;
        for (int code : recorder.codes)
            if (zylMessageEvent(code) == zylMessageEvent(kSpaceViewActivated))
                out.push_back(code);
        return out;
    }();
    EXPECT_EQ(activations, (std::vector<int> { 0x290A, 0x2909 }));
}

TEST_F(Playing, GridLabelsAndColoursFollowLabelsScaleAndKey)
{
    zyltest::selectByName(module().getLabelParameter(), L"Mid/Pc");
    auto* cell61 = zyltest::shownCellOf(grid(), 61);
    EXPECT_EQ(grid().getCellLabel(cell61, grid().isCellPlayable(cell61)), "61");
    EXPECT_EQ(grid().getCellSubLabel(cell61, grid().isCellPlayable(cell61)), "1");

    zyltest::selectByName(module().getLabelParameter(), L"Nte/Deg");
    auto* cell66 = zyltest::shownCellOf(grid(), 66);
    ASSERT_TRUE(grid().isCellPlayable(cell66));
    EXPECT_EQ(grid().getCellLabel(cell66, true), "F#4");

    // C major leaves 66 out: dark, no note name or degree; its number and pitch class stay.
    zyltest::selectByName(module().getScaleParameter(), L"Major");
    EXPECT_FALSE(grid().isCellPlayable(cell66));
    EXPECT_EQ(grid().getCellLabel(cell66, false), "");
    EXPECT_EQ(grid().getCellSubLabel(cell66, false), "");
    zyltest::selectByName(module().getLabelParameter(), L"Mid/Pc");
    EXPECT_EQ(grid().getCellLabel(cell66, false), "66");
    EXPECT_EQ(grid().getCellSubLabel(cell66, false), "6");

    // The fill beside the texts, which now show on the cell too.
    const auto image = zyltest::renderView(grid());
    const auto q = zyltest::viewBoundsOf(grid(), *cell66).toNearestInt().reduced(2).getCentre().withX(
        zyltest::viewBoundsOf(grid(), *cell66).toNearestInt().getX() + 2);
    EXPECT_TRUE(zyltest::coloursNear(image.getPixelAt(q.x, q.y), grid().getUnplayableCellColour(cell66), 3));
    // D major takes it in again.
    zyltest::selectByName(module().getKeyParameter(), L"D");
    EXPECT_TRUE(grid().isCellPlayable(cell66));
}

// In C major with Mid/Pc, a cell outside the scale reads its number and pitch class on its dark
// fill, in the label colours of a cell in the scale; with Nte/Deg it stays blank.
TEST_F(Playing, CellsOutsideTheScaleShowTheirNumberAndPitchClass)
{
    zyltest::selectByName(module().getScaleParameter(), L"Major");
    auto* outside = zyltest::shownCellOf(grid(), 61);
    auto* inside = zyltest::shownCellOf(grid(), 62);
    ASSERT_FALSE(grid().isCellPlayable(outside));
    ASSERT_TRUE(grid().isCellPlayable(inside));

    // Pixels of the cell's upper and lower halves far from its plain fill: the texts' strokes.
    const auto textPixels = [&](const ZylCell* cell, juce::Colour fill, bool upper) {
        const auto image = zyltest::renderView(grid());
        const auto box = zyltest::viewBoundsOf(grid(), *cell).toNearestInt().reduced(2);
        const auto half = upper ? box.withHeight(box.getHeight() / 2) : box.withTrimmedTop(box.getHeight() / 2);
        int count = 0;
        for (int y = half.getY(); y < half.getBottom(); ++y)
            for (int x = half.getX(); x < half.getRight(); ++x)
                if (!zyltest::coloursNear(image.getPixelAt(x, y), fill, 40))
                    ++count;
        return count;
    };
    const auto dark = grid().getUnplayableCellColour(outside);

    zyltest::selectByName(module().getLabelParameter(), L"Nte/Deg");
    EXPECT_EQ(textPixels(outside, dark, true), 0);
    EXPECT_EQ(textPixels(outside, dark, false), 0);

    zyltest::selectByName(module().getLabelParameter(), L"Mid/Pc");
    zyltest::maybeWriteSnapshot(grid(), grid().getWidth(), grid().getHeight(), "grid-view-mid-pc-c-major");
    EXPECT_GT(textPixels(outside, dark, true), 20); // "61"
    EXPECT_GT(textPixels(outside, dark, false), 2); // "1"
    // The texts are drawn in the label colour, black, on both kinds of cell.
    const auto image = zyltest::renderView(grid());
    const auto box = zyltest::viewBoundsOf(grid(), *outside).toNearestInt();
    float darkest = 1.0f;
    for (int y = box.getY(); y < box.getBottom(); ++y)
        for (int x = box.getX(); x < box.getRight(); ++x)
            darkest = std::min(darkest, image.getPixelAt(x, y).getBrightness());
    EXPECT_LT(darkest, 0.1f);
    EXPECT_LT(darkest, dark.getBrightness() - 0.15f);
}

// A grid view that lays its label texts out afresh on every paint, with Graphics::drawFittedText:
// the reference for the layouts the view keeps between paints.
struct FreshLabelsGridView : ZylGridView
{
    using ZylGridView::ZylGridView;
    void drawCellLabels(const ZylCell* cell, const ZylSpace*, juce::Graphics& g, bool playable) override
    {
        const auto box = zyltest::viewBoundsOf(*this, *cell);
        const double vx1 = box.getX(), vy1 = box.getY(), w = box.getWidth(), h = box.getHeight();
        const juce::Colour colours[] = { cell->isPlayable() ? getLabelColour(cell) : getUnplayableLabelColour(cell),
                                         cell->isPlayable() ? getSubLabelColour(cell) : getUnplayableSubLabelColour(cell) };
        g.setFont(getLabelFont());
        g.setColour(colours[0]);
        g.drawFittedText(getCellLabel(cell, playable), static_cast<int>(vx1), static_cast<int>(vy1 + 2.0) - 1,
                         static_cast<int>(w), static_cast<int>(h * 0.5), juce::Justification::centredBottom, 1, 0.7f);
        g.setFont(getSubLabelFont());
        g.setColour(colours[1]);
        g.drawFittedText(getCellSubLabel(cell, playable), static_cast<int>(vx1),
                         static_cast<int>(vy1) - static_cast<int>(-h * 0.5) + 1, static_cast<int>(w),
                         static_cast<int>(h * 0.5), juce::Justification::centredTop, 1, 0.7f);
    }
};

// Pixels whose channels differ by more than the tolerance.
int differingPixels(const juce::Image& a, const juce::Image& b, int tolerance = 0)
{
    if (a.getBounds() != b.getBounds())
        return a.getWidth() * a.getHeight() + 1;
    int count = 0;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            count += zyltest::coloursNear(a.getPixelAt(x, y), b.getPixelAt(x, y), tolerance) ? 0 : 1;
    return count;
}

// The kept label layouts draw what laying the texts out on every paint draws, through changes of
// labels, scale, key, zoom and space, and with a chord lit.
TEST_F(Playing, KeptLabelLayoutsPaintTheSamePixelsAsFreshOnes)
{
    FreshLabelsGridView fresh(editor.get());
    const auto compare = [&](const char* what) {
        SCOPED_TRACE(what);
        fresh.setZoom(grid().getZoom());
        ASSERT_EQ(fresh.getBounds().getWidth(), grid().getWidth());
        const auto reference = zyltest::renderView(fresh);
        EXPECT_EQ(differingPixels(zyltest::renderView(grid()), reference), 0); // layouts made
        EXPECT_EQ(differingPixels(zyltest::renderView(grid()), reference), 0); // layouts kept
    };
    compare("LH, chromatic, Nte/Mid");
    zyltest::selectByName(module().getLabelParameter(), L"Mid/Pc");
    compare("Mid/Pc");
    zyltest::selectByName(module().getScaleParameter(), L"Major");
    compare("C major");
    zyltest::selectByName(module().getLabelParameter(), L"Nte/Deg");
    compare("C major, Nte/Deg");
    zyltest::selectByName(module().getKeyParameter(), L"Db");
    compare("Db major");
    grid().setZoom(150.0);
    compare("zoom 150");
    grid().setZoom(100.0);
    zyltest::selectByName(module().getSpaceParameter(), L"Octaves");
    compare("octaves");
    zyltest::selectByName(module().getSpaceParameter(), L"LH");
    const auto p = pressOnGrid(*zyltest::shownCellOf(grid(), 62));
    compare("a chord lit");
    grid().pointerUp(p.x, p.y);
    blocks(2);
}

// The view repaints only what a press, a move, the space module's answers and a release
// changed; painting just those areas over the last picture gives the picture a whole paint
// gives, on the grid and on the piano that mirrors its chord, at two zooms and on small cells.
// Where a repaint's right edge meets a fill, JUCE draws the last column a shade or two off; on a
// grid with gaps between its cells the repaints end in the gaps, and the pictures are equal.
TEST_F(Playing, PartialRepaintsLeaveTheSamePixelsAsAWholePaint)
{
    zyltest::RecordingView<ZylGridView> gridView(editor.get());
    zyltest::RecordingView<ZylPianoView> pianoView(editor.get());
    zyltest::selectByName(module().getLabelParameter(), L"Mid/Pc");
    zyltest::selectByName(module().getScaleParameter(), L"Major");

    struct Screen
    {
        juce::Image image;
        void update(juce::Component& view, std::vector<juce::Rectangle<int>>& repainted)
        {
            juce::RectangleList<int> areas;
            for (auto r : repainted)
                areas.add(r);
            repainted.clear();
            areas.clipTo(view.getLocalBounds());
            if (areas.isEmpty())
                return;
            juce::Graphics g(image);
            g.reduceClipRegion(areas);
            g.fillAll(juce::Colours::black);
            view.paintEntireComponent(g, true);
        }
    };
    for (const auto* space : { L"LH", L"Octaves" })
        for (double zoom : { 100.0, 250.0 })
        {
            SCOPED_TRACE(juce::String(space) + " zoom " + juce::String(zoom));
            zyltest::selectByName(module().getSpaceParameter(), space);
            gridView.setZoom(zoom);
            Screen gridScreen { zyltest::renderView(gridView) };
            Screen pianoScreen { zyltest::renderView(pianoView) };
            gridView.repainted.clear();
            pianoView.repainted.clear();
            const int gridTolerance = juce::String(space) == "LH" ? 0 : 2;
            const auto expectWhole = [&](const char* after) {
                gridScreen.update(gridView, gridView.repainted);
                pianoScreen.update(pianoView, pianoView.repainted);
                EXPECT_EQ(differingPixels(gridScreen.image, zyltest::renderView(gridView), gridTolerance), 0) << after;
                EXPECT_EQ(differingPixels(pianoScreen.image, zyltest::renderView(pianoView), 2), 0) << after;
            };
            const auto p = zyltest::uncoveredPointIn(gridView, *zyltest::shownCellOf(gridView, 60));
            const auto q = zyltest::uncoveredPointIn(gridView, *zyltest::shownCellOf(gridView, 67));
            gridView.pointerEntered();
            gridView.pointerMoved(p.x, p.y);
            expectWhole("the move onto the cell");
            gridView.pointerDown(p.x, p.y);
            expectWhole("the press");
            blocks(2);
            expectWhole("the chord's blocks");
            gridView.pointerDragged(q.x, q.y);
            blocks(2);
            expectWhole("the drag onto another cell");
            gridView.pointerUp(q.x, q.y);
            expectWhole("the release");
            blocks(2);
            expectWhole("the release's blocks");
            gridView.pointerExited();
            blocks(1);
            expectWhole("leaving the view");
        }
}

// A space view that notes whether its live space's lock is held while it asks whether a cell is
// playable (which it does for every cell whose repaint area it works out) and while it asks for
// a repaint. The lock is tried from another thread: the message thread could always take it again.
template <class View>
struct LockProbeView : zyltest::RecordingView<View>
{
    using zyltest::RecordingView<View>::RecordingView;

    bool isCellPlayable(const ZylCell* cell) override
    {
        ++asked;
        askedUnderLock += lockHeld() ? 1 : 0;
        return View::isCellPlayable(cell);
    }

    bool lockHeld() const
    {
        bool held = false;
        std::thread([&] {
            const juce::ScopedTryLock attempt(this->getSpace()->getLock());
            held = !attempt.isLocked();
        }).join();
        return held;
    }

    int asked = 0;
    int askedUnderLock = 0;
    int repaintsUnderLock = 0;

protected:
    void repaintRegion(juce::Rectangle<int> area) override
    {
        repaintsUnderLock += lockHeld() ? 1 : 0;
        zyltest::RecordingView<View>::repaintRegion(area);
    }
};

// The audio thread takes the live space's lock for every block, so the views hold it only to
// copy the cell states: the repaint areas of a move, a press, a drag, a release and the space
// module's answers are worked out, and asked for, after it is released. On the grid whose
// cells touch, a repaint area is the costliest to find.
TEST_F(Playing, RepaintAreasAreWorkedOutWithoutTheLiveSpaceLock)
{
    LockProbeView<ZylGridView> gridView(editor.get());
    LockProbeView<ZylPianoView> pianoView(editor.get());
    zyltest::selectByName(module().getSpaceParameter(), L"Octaves");
    const auto p = zyltest::uncoveredPointIn(gridView, *zyltest::shownCellOf(gridView, 60));
    const auto q = zyltest::uncoveredPointIn(gridView, *zyltest::shownCellOf(gridView, 67));
    gridView.pointerEntered();
    gridView.pointerMoved(p.x, p.y);
    gridView.pointerDown(p.x, p.y);
    blocks(2);
    gridView.pointerDragged(q.x, q.y);
    blocks(2);
    gridView.pointerUp(q.x, q.y);
    blocks(2);
    EXPECT_GT(gridView.asked, 0);
    EXPECT_GT(pianoView.asked, 0);
    EXPECT_EQ(gridView.askedUnderLock, 0);
    EXPECT_EQ(pianoView.askedUnderLock, 0);
    EXPECT_FALSE(gridView.repainted.empty());
    EXPECT_FALSE(pianoView.repainted.empty());
    EXPECT_EQ(gridView.repaintsUnderLock, 0);
    EXPECT_EQ(pianoView.repaintsUnderLock, 0);
}

TEST_F(Playing, PianoKeysAreBlackIvoryOrGreyAndNeverOutlined)
{
    auto* c4 = zyltest::shownCellOf(piano(), 60);
    auto* cs4 = zyltest::shownCellOf(piano(), 61);
    const auto pc = zyltest::uncoveredPointIn(piano(), *c4);
    const auto pcs = zyltest::uncoveredPointIn(piano(), *cs4);

    auto image = zyltest::renderView(piano());
    const auto black = image.getPixelAt(pcs.x, pcs.y);
    const auto ivory = image.getPixelAt(pc.x, pc.y);
    EXPECT_LT(black.getBrightness(), 0.3f);
    EXPECT_GT(black.getBrightness(), 0.05f);
    EXPECT_GT(ivory.getBrightness(), 0.75f);
    EXPECT_GT(ivory.getRed(), ivory.getBlue()); // ivory, not grey

    zyltest::selectByName(module().getScaleParameter(), L"Major");
    image = zyltest::renderView(piano());
    EXPECT_EQ(image.getPixelAt(pcs.x, pcs.y), juce::Colour(0xff808080));

    // Selected but silent: white; sounding: orange; no outline in either case.
    {
        auto* live = module().getPianoSpace();
        const juce::ScopedLock sl(live->getLock());
        live->getPrimaryStates()->setActiveSelected({ c4 });
        live->getPrimaryStates()->setSelected({ c4 });
        live->getPrimaryStates()->setSounding({ c4 });
    }
    image = zyltest::renderView(piano());
    EXPECT_EQ(image.getPixelAt(pc.x, pc.y), juce::Colours::white);
    const auto edge = zyltest::viewBoundsOf(piano(), *c4);
    EXPECT_EQ(image.getPixelAt(juce::roundToInt(edge.getX()) + 1, pc.y), juce::Colours::white);
}

TEST_F(Playing, ChordViewHidesTheUnisonNameAndRefreshesOnProgramAndTransport)
{
    zyltest::selectByName(module().getChordFilterParameter(), L"All");
    zyltest::selectByName(module().getChordParameter(), L"U");
    const auto p = pressOnGrid(*zyltest::shownCellOf(grid(), 62));
    EXPECT_EQ(chordView->getLastRootName(), "D");
    EXPECT_EQ(chordView->getLastChordName(), "");
    EXPECT_EQ(chordView->getNextRootName(), "D");
    EXPECT_EQ(chordView->getNextChordName(), "");
    grid().pointerUp(p.x, p.y);
    blocks(1);

    const int before = chordView->refreshes;
    auto* program = dynamic_cast<ZylProgramModule*>(filter.getModuleContainer()->getModule(ZylProgramModule::kModuleId));
    ASSERT_NE(program, nullptr);
    program->getProgramParameter()->setValueObject(
        program->getProgramParameter()->getDomain()->getValues()[1], kCauseUser, false, true);
    zyltest::drainMessageQueue();
    EXPECT_GT(chordView->refreshes, before);

    auto* state = dynamic_cast<ZylTransportModule*>(filter.getModuleContainer()->getModule(ZylTransportModule::kModuleId))
                      ->getStateParameter();
    for (int code : { kBarChanged, kBeatChanged, kTransportTick })
        EXPECT_TRUE(chordView->handleMessage(state->asSender(), code, 0)) << code;
    EXPECT_FALSE(chordView->handleMessage(state->asSender(), kValueChanged | kCauseUser, 0));
}

// Counts the repaints asked of the component it is attached to.
struct RepaintCounter : juce::CachedComponentImage
{
    void paint(juce::Graphics&) override {}
    bool invalidateAll() override { ++repaints; return true; }
    bool invalidate(const juce::Rectangle<int>&) override { ++repaints; return true; }
    void releaseResources() override {}
    int repaints = 0;
};

TEST_F(Playing, ChordViewRepaintsOnlyWhenWhatItShowsChanges)
{
    auto* counter = new RepaintCounter();
    chordView->setVisible(true);
    chordView->setCachedComponentImage(counter);
    auto* state = dynamic_cast<ZylTransportModule*>(filter.getModuleContainer()->getModule(ZylTransportModule::kModuleId))
                      ->getStateParameter();
    const auto tickAll = [&] {
        for (int code : { kBarChanged, kBeatChanged, kTransportTick, kTransportTick })
            chordView->handleMessage(state->asSender(), code, 0);
    };

    const auto p = pressOnGrid(*zyltest::shownCellOf(grid(), 60));
    ASSERT_EQ(chordView->getLastRootName(), "C");
    EXPECT_GT(counter->repaints, 0);

    // The transport's ticks, beats and bars with the same chords: nothing to paint.
    counter->repaints = 0;
    tickAll();
    EXPECT_EQ(counter->repaints, 0);

    // Another chord is shown at once; the ticks after it paint nothing again.
    grid().pointerUp(p.x, p.y);
    blocks(1);
    pressOnGrid(*zyltest::shownCellOf(grid(), 62));
    EXPECT_EQ(chordView->getLastRootName(), "D");
    EXPECT_GT(counter->repaints, 0);
    counter->repaints = 0;
    tickAll();
    EXPECT_EQ(counter->repaints, 0);
    chordView->setCachedComponentImage(nullptr);
}

TEST_F(Playing, PanelsLayTheirViewportsOutAndRenderForReview)
{
    ZylLookAndFeel lookAndFeel;
    gridPanel->setLookAndFeel(&lookAndFeel);
    pianoPanel->setLookAndFeel(&lookAndFeel);

    // The grid fills the panel less 6 pixels and scrolls; the piano keeps its size, centred.
    EXPECT_EQ(gridPanel->getContent()->getBounds(), juce::Rectangle<int>(6, 6, 678, 418));
    const auto pianoBounds = pianoPanel->getContent()->getBounds();
    EXPECT_EQ(pianoBounds.getWidth(), std::min(piano().getWidth(), 684));
    EXPECT_EQ(pianoBounds.getHeight(), std::min(piano().getHeight(), 65));
    EXPECT_NEAR(pianoBounds.getCentreX(), 345, 1);
    EXPECT_NEAR(pianoBounds.getCentreY(), 35, 1);

    for (const auto* space : { L"LH", L"[1:2]" })
    {
        zyltest::selectByName(module().getSpaceParameter(), space);
        EXPECT_EQ(grid().getSpace()->getSpace()->getCells().size(),
                  module().getGridSpace()->getSpace()->getCells().size());
        zyltest::maybeWriteSnapshot(*gridPanel, 690, 430,
                                    juce::String("grid-panel-") + (space[0] == L'L' ? "lh-4-7" : "1-2"));
    }

    zyltest::selectByName(module().getSpaceParameter(), L"LH");
    zyltest::selectByName(module().getScaleParameter(), L"Major");
    zyltest::maybeWriteSnapshot(*gridPanel, 690, 430, "grid-panel-lh-4-7-c-major");
    zyltest::selectByName(module().getScaleParameter(), L"Chroma");
    const auto p = pressOnGrid(*zyltest::shownCellOf(grid(), 60));
    zyltest::maybeWriteSnapshot(*pianoPanel, 690, 71, "piano-panel-chord");
    // The keys three times larger, to judge their shapes.
    piano().setZoom(300.0);
    zyltest::maybeWriteSnapshot(piano(), piano().getWidth(), piano().getHeight(), "piano-view-chord-x3");
    piano().setZoom(100.0);
    zyltest::maybeWriteSnapshot(*gridPanel, 690, 430, "grid-panel-lh-4-7-chord");
    grid().pointerUp(p.x, p.y);
    blocks(1);

    gridPanel->setLookAndFeel(nullptr);
    pianoPanel->setLookAndFeel(nullptr);
}

// A grid larger than its panel opens on middle C, and again after every change of space: its
// cell's centre lies in the middle of the viewport as far as the view's edges allow.
TEST_F(Playing, TheGridScrollsToMiddleCWheneverItsSpaceChanges)
{
    for (const auto* space : { L"[1:2]", L"Balzano", L"LH", L"Balzano" })
    {
        zyltest::selectByName(module().getSpaceParameter(), space);
        const auto shown = gridPanel->getContent()->getViewArea();
        // The middle C cells in view, and how far the nearest is from the view area's middle.
        int inView = 0;
        double offCentre = 1e9;
        for (auto* cell : zyltest::shownCells(*grid().getSpace()->getSpace()))
        {
            if (cell->getNote() != 60)
                continue;
            const auto centre = zyltest::viewCentreOf(grid(), *cell);
            if (shown.contains(centre))
                ++inView;
            offCentre = std::min(offCentre, shown.getCentre().toDouble().getDistanceFrom(centre.toDouble()));
        }
        EXPECT_GT(inView, 0) << juce::String(space);
        // Centred unless an edge of the view stopped the scroll.
        const bool atAnEdge = shown.getX() == 0 || shown.getY() == 0 || shown.getRight() == grid().getWidth()
                              || shown.getBottom() == grid().getHeight();
        if (!atAnEdge)
        {
            EXPECT_LT(offCentre, 2.0) << juce::String(space);
        }
    }
    // "Balzano [4:3]" is taller than the panel, with middle C far from its top: the centring
    // scrolled it down.
    EXPECT_GT(grid().getHeight(), gridPanel->getContent()->getHeight());
    EXPECT_GT(gridPanel->getContent()->getViewPositionY(), 0);
}

TEST_F(Playing, SpacePanelFlowsTheTenCombosWithTheChordViewAfterScale)
{
    ZylLookAndFeel lookAndFeel;
    ZylSpacePanel panel(editor.get());
    panel.setLookAndFeel(&lookAndFeel);
    auto& m = module();
    // nullptr marks a spacer, the chord view its own row.
    const std::vector<ZylParameter*> parameters = {
        nullptr, m.getSpaceParameter(), m.getLabelParameter(), nullptr, m.getKeyParameter(),
        m.getScaleParameter(), nullptr, nullptr /* chord view */, nullptr, m.getChordFilterParameter(),
        m.getChordParameter(), m.getVoicingParameter(), nullptr, m.getTriggerParameter(),
        m.getOnClickParameter(), m.getAssistParameter(),
    };
    const auto& items = panel.getItems();
    ASSERT_EQ(items.size(), parameters.size());
    for (size_t i = 0; i < items.size(); ++i)
    {
        SCOPED_TRACE(i);
        if (i == 7)
            EXPECT_EQ(items[i], panel.getChordView());
        else if (parameters[i] == nullptr)
            EXPECT_NE(dynamic_cast<ZylSpacer*>(items[i]), nullptr);
        else
        {
            auto* combo = dynamic_cast<ZylParamCombo*>(items[i]);
            ASSERT_NE(combo, nullptr);
            EXPECT_EQ(combo->getParameter(), parameters[i]);
        }
    }
    EXPECT_EQ(panel.getChordView()->getPreferredWidth(), 240);
    EXPECT_EQ(panel.getChordView()->getPreferredHeight(), 23);
    EXPECT_NE(panel.getIcon(), nullptr);

    // The chord view shows what the grid plays.
    const auto p = pressOnGrid(*zyltest::shownCellOf(grid(), 60));
    EXPECT_EQ(panel.getChordView()->getLastChordName(), "M");
    EXPECT_EQ(panel.getChordView()->getNextRootName(), "C");
    EXPECT_EQ(panel.getChordView()->getNextChordName(), "M");
    zyltest::maybeWriteSnapshot(panel, panel.getPreferredWidth(), panel.getPreferredHeight(), "space-panel");
    grid().pointerUp(p.x, p.y);
    blocks(1);
    panel.setLookAndFeel(nullptr);
}

TEST(ZylChordViewLayout, ChordTypeMovesRightAfterATwoCharacterRoot)
{
    struct Case
    {
        const char* root;
        bool next;
        int x;
    };
    const Case cases[] = { { "F", false, 52 }, { "F#", false, 64 }, { "", false, 52 },
                           { "C", true, 166 }, { "Bb", true, 178 } };
    for (const auto& c : cases)
        EXPECT_EQ(ZylChordView::getChordTypeX(c.root, c.next), c.x) << c.root;
}
} // namespace
