// What a click on the grid costs the message thread: the view's answers to the press, to the
// space module's messages and to the release, and the painting of what they asked to repaint,
// as the window would paint it (the visible part of the grid only, the panel's grey behind).

#include "app/ZylLumenfoldModule.h"
#include "bench/BenchFilter.h"
#include "framework/ZylEditor.h"
#include "framework/ZylDomain.h"
#include "framework/ZylFilter.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "space/ZylCell.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceModule.h"
#include "ui/ZylGridView.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

namespace
{
constexpr int kPaintBlock = 512;
// The grid panel's viewport in the program's window.
constexpr int kViewportWidth = 678;
constexpr int kViewportHeight = 418;

// A grid view that keeps the areas it asked to repaint, for the bench to paint them.
class CollectingGridView : public ZylGridView
{
public:
    using ZylGridView::ZylGridView;
    juce::RectangleList<int> pending;

protected:
    void repaintRegion(juce::Rectangle<int> area) override { pending.add(area); }
};

// The product tree with the factory program (the Balzano grid in C major, or the named grid)
// and its grid view.
struct GridPaintRig
{
    explicit GridPaintRig(const wchar_t* spaceName = nullptr)
    {
        filter.initialise();
        filter.prepareToPlay(44100.0, kPaintBlock);
        benchDeliverMessages();
        if (spaceName != nullptr)
        {
            auto* module = dynamic_cast<ZylSpaceModule*>(filter.getModuleContainer()->getModule(ZylSpaceModule::kModuleId));
            auto* parameter = module->getSpaceParameter();
            parameter->setValueObject(parameter->getDomain()->findByName(spaceName), kCauseUser, false, true);
            benchDeliverMessages();
        }
        editor = std::make_unique<ZylEditor>(filter);
        view = std::make_unique<CollectingGridView>(editor.get());
        image = juce::Image(juce::Image::ARGB, view->getWidth(), view->getHeight(), true);
        root = nullptr;
        for (const auto& cell : view->getSpace()->getSpace()->getCells())
            if (cell->getNote() == 60 && !cell->isHidden())
                root = cell.get();
        view->updateTransform();
        double x = root->getCentreX(), y = root->getCentreY();
        view->modelToViewPoint(x, y);
        rootPoint = { juce::roundToInt(x), juce::roundToInt(y) };
        visible = juce::Rectangle<int>(kViewportWidth, kViewportHeight)
                      .withCentre(rootPoint)
                      .constrainedWithin(view->getLocalBounds());
        view->pointerEntered();
        view->pointerMoved(rootPoint.x, rootPoint.y);
        blocks();
        view->pending.add(view->getLocalBounds());
        paintPending();
    }

    ~GridPaintRig()
    {
        view.reset();
        editor.reset();
        filter.releaseResources();
        benchDeliverMessages();
    }

    void blocks(int n = 2)
    {
        for (int i = 0; i < n; ++i)
        {
            audio.clear();
            midi.clear();
            filter.processBlock(audio, midi);
        }
        benchDeliverMessages();
    }

    void paintPending()
    {
        view->pending.clipTo(visible);
        if (!view->pending.isEmpty())
        {
            juce::Graphics g(image);
            g.reduceClipRegion(view->pending);
            g.fillAll(juce::Colour(0xff555555));
            view->paintEntireComponent(g, false);
        }
        view->pending.clear();
    }

    BenchFilter filter;
    std::unique_ptr<ZylEditor> editor;
    std::unique_ptr<CollectingGridView> view;
    juce::Image image;
    ZylCell* root = nullptr;
    juce::Point<int> rootPoint;
    juce::Rectangle<int> visible;
    juce::AudioBuffer<float> audio { 2, kPaintBlock };
    juce::MidiBuffer midi;
};

// The whole visible grid painted once, as after a scroll or a change of scale.
void gridPaintVisible(benchmark::State& state)
{
    GridPaintRig rig;
    for (auto _ : state)
    {
        rig.view->pending.add(rig.visible);
        rig.paintPending();
    }
    const auto size = [](juce::Rectangle<int> r) { return juce::String(r.getWidth()) + "x" + juce::String(r.getHeight()); };
    const auto cells = static_cast<int>(rig.view->getSpace()->getSpace()->getCells().size());
    state.SetLabel((size(rig.view->getLocalBounds()) + " view, " + juce::String(cells) + " cells, "
                    + size(rig.visible) + " shown")
                       .toStdString());
}
BENCHMARK(gridPaintVisible)->Unit(benchmark::kMillisecond);

// A press on middle C and its release, each followed by the audio blocks that sound and stop
// the chord: the message thread's part (the view's answers and the paints) is timed, the blocks
// are not.
void gridPressAndRelease(benchmark::State& state)
{
    GridPaintRig rig;
    // The paint of the view's own answer, the two blocks untimed, and the view's answers to
    // their messages with their paint.
    const auto answer = [&] {
        rig.paintPending();
        state.PauseTiming();
        for (int i = 0; i < 2; ++i)
        {
            rig.audio.clear();
            rig.filter.processBlock(rig.audio, rig.midi);
        }
        state.ResumeTiming();
        benchDeliverMessages();
        rig.paintPending();
    };
    for (auto _ : state)
    {
        rig.view->pointerDown(rig.rootPoint.x, rig.rootPoint.y);
        answer();
        rig.view->pointerUp(rig.rootPoint.x, rig.rootPoint.y);
        answer();
    }
}
BENCHMARK(gridPressAndRelease)->Unit(benchmark::kMillisecond);

// A press on middle C and its release on the grid with one octave per row, whose cells touch:
// only the view's answers to the press, to the space module's messages and to the release are
// timed, not the blocks nor the paints.
void octavesPressAndReleaseAnswers(benchmark::State& state)
{
    GridPaintRig rig(L"Octaves");
    const auto blocksUntimed = [&] {
        state.PauseTiming();
        for (int i = 0; i < 2; ++i)
        {
            rig.audio.clear();
            rig.filter.processBlock(rig.audio, rig.midi);
        }
        state.ResumeTiming();
    };
    const auto paintUntimed = [&] {
        state.PauseTiming();
        rig.paintPending();
        state.ResumeTiming();
    };
    for (auto _ : state)
    {
        rig.view->pointerDown(rig.rootPoint.x, rig.rootPoint.y);
        paintUntimed();
        blocksUntimed();
        benchDeliverMessages();
        paintUntimed();

        rig.view->pointerUp(rig.rootPoint.x, rig.rootPoint.y);
        paintUntimed();
        blocksUntimed();
        benchDeliverMessages();
        paintUntimed();
    }
    const auto cells = static_cast<int>(rig.view->getSpace()->getSpace()->getCells().size());
    state.SetLabel((juce::String(cells) + " cells").toStdString());
}
BENCHMARK(octavesPressAndReleaseAnswers)->Unit(benchmark::kMicrosecond);
} // namespace
