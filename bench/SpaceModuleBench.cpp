// The space module's block: idle, a trigger answered from the chord caches, a cold ranking, and
// the heaviest block the module meets. Allocations are counted over the timed loop and reported
// per iteration. The module's change message is left out of the count by unregistering the
// module from its own command parameter (with nobody listening nothing is posted); with a
// listener, a block that changed something posts one message, which is one allocation.

#include "bench/BenchFilter.h"
#include "bench/BenchHeap.h"
#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylMidiKeyboardCable.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "space/ZylCell.h"
#include "space/ZylCellStates.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceModule.h"
#include "tests/space/ZylSpaceTestSupport.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

#include <memory>

namespace
{
// A tenth of this period is the budget of the whole module chain's share.
constexpr int kBlock = 64;

// A space module alone in its container with its three cables, as the root module wires it.
struct SpaceRig
{
    SpaceRig()
    {
        module = std::make_unique<ZylSpaceModule>(&container);
        module->initialise();
        keyboardCable.setBuffer(std::make_unique<juce::MidiKeyboardState>());
        inCable.setBuffer(std::make_unique<juce::MidiBuffer>());
        outCable.setBuffer(std::make_unique<juce::MidiBuffer>());
        inCable.getBuffer()->ensureSize(4096);
        outCable.getBuffer()->ensureSize(4096);
        module->getKeyboardPin()->connect(&keyboardCable);
        module->getMidiInPin()->connect(&inCable);
        module->getMidiOutPin()->connect(&outCable);
        module->prepareToPlay(44100.0, kBlock);
        module->updateParameters();
        benchDeliverMessages();
        set(module->getChordParameter(), L"M");
        block();
        block();
        module->getCommandParameter()->removeSink(module.get());
    }

    ~SpaceRig()
    {
        module->getCommandParameter()->addSink(module.get());
        module.reset();
        benchDeliverMessages();
    }

    void set(ZylParameter* parameter, const wchar_t* name)
    {
        parameter->setValueObject(parameter->getDomain()->findByName(name), kCauseUser, false, true);
        benchDeliverMessages();
        block();
    }

    void block()
    {
        const juce::ScopedLock lock(container.getCallbackLock());
        module->processBlock(kBlock);
    }

    ZylLiveSpace& grid() { return *module->getGridSpace(); }

    ZylCell* gridCell(int note) { return zyltest::visibleCellOf(grid().getSpace(), note); }
    void trigger(ZylCell* cell) { zyltest::pressAndTrigger(grid(), cell); }

    void release()
    {
        const juce::ScopedLock lock(grid().getLock());
        grid().getPrimaryStates()->releaseAll();
    }

    ZylModuleContainer container;
    std::unique_ptr<ZylSpaceModule> module;
    ZylMidiKeyboardCable keyboardCable;
    ZylMidiCable inCable;
    ZylMidiCable outCable;
};

void reportAllocations(benchmark::State& state, std::int64_t before)
{
    state.counters["allocs/iter"] = benchmark::Counter(
        static_cast<double>(benchAllocationCount() - before) / static_cast<double>(state.iterations()));
}

// Nothing pressed, nothing incoming.
void spaceIdleBlock(benchmark::State& state)
{
    SpaceRig rig;
    const auto before = benchAllocationCount();
    for (auto _ : state)
        rig.block();
    reportAllocations(state, before);
}
BENCHMARK(spaceIdleBlock);

// A click on a cell whose chord the caches hold, and its release: two blocks per iteration.
void spaceWarmTrigger(benchmark::State& state)
{
    SpaceRig rig;
    auto* cell = rig.gridCell(60);
    rig.trigger(cell);
    rig.block();
    rig.release();
    rig.block();
    const auto before = benchAllocationCount();
    for (auto _ : state)
    {
        rig.trigger(cell);
        rig.block();
        rig.release();
        rig.block();
    }
    reportAllocations(state, before);
}
BENCHMARK(spaceWarmTrigger);

// "Fit Cycl" over every chord on "[1:2]" with empty caches: the trigger block ranks all chords
// on the root (the release block is timed too).
void spaceColdFitCycl(benchmark::State& state)
{
    SpaceRig rig;
    rig.set(rig.module->getSpaceParameter(), L"[1:2]");
    rig.set(rig.module->getAssistParameter(), L"Fit Cycl");
    rig.set(rig.module->getChordFilterParameter(), L"All");
    auto* cell = rig.gridCell(60);
    for (auto _ : state)
    {
        state.PauseTiming();
        {
            const juce::ScopedLock lock(rig.grid().getLock());
            rig.grid().getSpace()->flushCaches();
        }
        rig.trigger(cell);
        state.ResumeTiming();
        rig.block();
        rig.release();
        rig.block();
    }
}
BENCHMARK(spaceColdFitCycl)->Unit(benchmark::kMicrosecond);

// "Mouse Cl" on "[1:2]" with all 128 notes held at the input, a chord held on the grid and a
// parameter change in every block (so the chord and the preview are decided again and the chord
// retriggers), with the dirty cells never drained.
void spaceWorstBlock(benchmark::State& state)
{
    SpaceRig rig;
    rig.set(rig.module->getSpaceParameter(), L"[1:2]");
    for (int note = 0; note < 128; ++note)
        rig.keyboardCable.getBuffer()->noteOn(1, note, 0.5f);
    rig.trigger(rig.gridCell(60));
    rig.block();
    rig.block();
    const auto before = benchAllocationCount();
    for (auto _ : state)
    {
        rig.module->setChanged(true);
        rig.block();
    }
    reportAllocations(state, before);
}
BENCHMARK(spaceWorstBlock)->Unit(benchmark::kMicrosecond);
} // namespace
