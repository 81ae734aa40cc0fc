// The MIDI path of one audio block: the MIDI input module playing a built-in demo track into the
// host MIDI cable (thru copy and keyboard state included), then the MIDI output module routing
// it to the synthesiser's cable (or to a port, by name) with its channel remapped. A block must
// not allocate. Arguments: the demo track, and 0 for the synthesiser or 1 for a port
// destination (a port that is not open: the name lookup runs, nothing is sent).
#include "bench/BenchHeap.h"
#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylMidiKeyboardCable.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "modules/ZylMidiFromFileDomain.h"
#include "modules/ZylMidiInputDomainSet.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylMidiOutputModule.h"
#include "modules/ZylMidiToDeviceDomain.h"
#include "modules/ZylTransportDomainSet.h"
#include "modules/ZylTransportModule.h"
#include "modules/ZylTransportStateDomain.h"
#include "resources/ZylEmbeddedArchive.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
constexpr int kBlock = 512;
constexpr double kRate = 48000.0;

void select(ZylParameter* parameter, int index)
{
    parameter->setValueObject(parameter->getDomain()->getValues()[static_cast<size_t>(index)],
                              kCauseUser, false, false);
}

void BM_MidiInputOutputBlock(benchmark::State& state)
{
    ZylMidiCable host;
    ZylMidiCable thru;
    ZylMidiCable synth;
    ZylMidiKeyboardCable keyboard;
    ZylModuleContainer container;
    ZylTransportModule transport(&container);
    transport.initialise();
    transport.stopTimer();
    ZylMidiInputGroupModule inputGroup(&container, nullptr);
    inputGroup.initialise();
    ZylMidiOutputGroupModule outputGroup(&container, nullptr);
    outputGroup.initialise();
    auto* input = inputGroup.getInputModule(0);
    auto* output = outputGroup.getOutputModule(0);

    inputGroup.getDomainSet()->getTrackDomain()->setTrackNames(
        { L"1", L"2", L"3", L"4", L"5", L"6" }, {});
    auto archive = ZylEmbeddedArchive::find("demotracks");
    if (auto stream = archive.createStream())
        input->getSequencer().addMidiFilesFromZip(*stream);

    for (auto* cable : { &host, &thru, &synth })
    {
        cable->setBuffer(std::make_unique<juce::MidiBuffer>());
        cable->getBuffer()->ensureSize(4096);
    }
    keyboard.setBuffer(std::make_unique<juce::MidiKeyboardState>());
    input->getMidiOutPin()->connect(&host);
    input->getKeyboardPin()->connect(&keyboard);
    input->getMidiThruPin()->connect(&thru);
    dynamic_cast<ZylPin<ZylMidiCable>*>(output->getPins()[0])->connect(&host);
    dynamic_cast<ZylPin<ZylMidiCable>*>(output->getPins()[2])->connect(&synth);

    transport.prepareToPlay(kRate, kBlock);
    inputGroup.prepareToPlay(kRate, kBlock);
    outputGroup.prepareToPlay(kRate, kBlock);
    input->activate();
    select(input->getDeviceParameter(), ZylMidiInputModule::kSourceTrack);
    select(input->getTrackParameter(), static_cast<int>(state.range(0)));
    if (state.range(1) == 0)
    {
        select(output->getDeviceParameter(), ZylMidiOutputModule::kDestinationSynth);
    }
    else
    {
        auto* ports = dynamic_cast<ZylMidiToDeviceDomain*>(output->getDeviceParameter()->getDomain());
        ports->setDeviceNames({ L"Bench port" });
        select(output->getDeviceParameter(), ZylMidiToDeviceDomain::kNumFixedValues);
    }
    select(output->getChannelParameter(), 3);
    transport.getStateParameter()->setValueObject(
        transport.getDomainSet()->getStateDomain()->getPlaying(), kCauseUser, false, false);
    transport.processBlock(kBlock); // publishes the position the track plays from

    int events = 0;
    const auto runBlock = [&] {
        input->process(kBlock);
        output->process(kBlock);
        events += synth.getBuffer()->getNumEvents();
    };
    runBlock();
    const auto before = benchAllocationCount();
    for (auto _ : state)
        runBlock();
    const auto allocations = benchAllocationCount() - before;
    state.counters["allocs_per_block"] = benchmark::Counter(
        static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    state.counters["events"] = static_cast<double>(events);
    if (allocations != 0)
        state.SkipWithError("the block allocated");
    input->deactivate();
}
BENCHMARK(BM_MidiInputOutputBlock)
    ->Args({ 0, 0 })
    ->Args({ 5, 0 })
    ->Args({ 0, 1 })
    ->Unit(benchmark::kMicrosecond);
} // namespace
