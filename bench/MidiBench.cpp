// The MIDI path of one audio block: the MIDI input module playing a built-in demo track into the
// host MIDI cable (thru copy and keyboard state included), then the MIDI output module routing
// it to the synthesiser's cable (or to a port, by name) with its channel remapped. A block must
// not allocate. Arguments: the demo track, and 0 for the synthesiser or 1 for a port
// destination (a port that is not open: the name lookup runs, nothing is sent).
// BM_MidiDenseBlock: one block carrying many events (a host, a virtual port or a dumped file can
// send that many) through the input module (host source with and without a channel filter, or
// a port through the fake backend with a filter) and the output module to the synthesiser.
#include "bench/BenchHeap.h"
#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylMidiKeyboardCable.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "modules/ZylMidiFromFileDomain.h"
#include "modules/ZylMidiInputDomainSet.h"
#include "modules/ZylMidiInputDeviceManager.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylMidiOutputModule.h"
#include "modules/ZylMidiToDeviceDomain.h"
#include "modules/ZylTransportDomainSet.h"
#include "modules/ZylTransportModule.h"
#include "modules/ZylTransportStateDomain.h"
#include "resources/ZylEmbeddedArchive.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"

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

// The transport and the first MIDI input and output modules, the input playing into the host
// cable that the output reads, the output's synthesiser pin on a cable of its own.
struct MidiPathRig
{
    // Each module is made and initialised before the next is made.
    explicit MidiPathRig(ZylMidiPortBackend* ports)
    {
        transport = std::make_unique<ZylTransportModule>(&container);
        transport->initialise();
        transport->stopTimer();
        inputGroup = std::make_unique<ZylMidiInputGroupModule>(&container, ports);
        inputGroup->initialise();
        outputGroup = std::make_unique<ZylMidiOutputGroupModule>(&container, nullptr);
        outputGroup->initialise();
        input = inputGroup->getInputModule(0);
        output = outputGroup->getOutputModule(0);
    }

    // Gives each cable room for the bytes, connects the pins and prepares the modules.
    void connectAndPrepare(size_t cableBytes)
    {
        for (auto* cable : { &host, &thru, &synth })
        {
            cable->setBuffer(std::make_unique<juce::MidiBuffer>());
            cable->getBuffer()->ensureSize(cableBytes);
        }
        keyboard.setBuffer(std::make_unique<juce::MidiKeyboardState>());
        input->getMidiOutPin()->connect(&host);
        input->getKeyboardPin()->connect(&keyboard);
        input->getMidiThruPin()->connect(&thru);
        dynamic_cast<ZylPin<ZylMidiCable>*>(output->getPins()[0])->connect(&host);
        dynamic_cast<ZylPin<ZylMidiCable>*>(output->getPins()[2])->connect(&synth);
        transport->prepareToPlay(kRate, kBlock);
        inputGroup->prepareToPlay(kRate, kBlock);
        outputGroup->prepareToPlay(kRate, kBlock);
    }

    ZylMidiCable host;
    ZylMidiCable thru;
    ZylMidiCable synth;
    ZylMidiKeyboardCable keyboard;
    ZylModuleContainer container;
    std::unique_ptr<ZylTransportModule> transport;
    std::unique_ptr<ZylMidiInputGroupModule> inputGroup;
    std::unique_ptr<ZylMidiOutputGroupModule> outputGroup;
    ZylMidiInputModule* input = nullptr;
    ZylMidiOutputModule* output = nullptr;
};

void BM_MidiInputOutputBlock(benchmark::State& state)
{
    MidiPathRig rig(nullptr);
    auto& transport = *rig.transport;
    auto& synth = rig.synth;
    auto* input = rig.input;
    auto* output = rig.output;

    rig.inputGroup->getDomainSet()->getTrackDomain()->setTrackNames(
        { L"1", L"2", L"3", L"4", L"5", L"6" }, {});
    auto archive = ZylEmbeddedArchive::find("demotracks");
    if (auto stream = archive.createStream())
        input->getSequencer().addMidiFilesFromZip(*stream);

    rig.connectAndPrepare(4096);
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

enum DensePath
{
    kDenseHostAllChannels,
    kDenseHostChannel,
    kDensePortChannel,
};

// Note-ons and note-offs on channels 1 and 3 in turn, spread over the block (several at each
// position once there are more events than samples).
juce::MidiMessage denseEvent(int i)
{
    const int channel = (i & 2) != 0 ? 3 : 1;
    const int note = 36 + (i / 4) % 48;
    return (i & 1) == 0 ? juce::MidiMessage::noteOn(channel, note, 0.8f)
                        : juce::MidiMessage::noteOff(channel, note);
}

void BM_MidiDenseBlock(benchmark::State& state)
{
    const int numEvents = static_cast<int>(state.range(0));
    const auto path = static_cast<DensePath>(state.range(1));
    ZylFakeMidiPortBackend ports;
    ports.inputNames.add("Dense port");
    MidiPathRig rig(&ports);
    auto& inputGroup = *rig.inputGroup;
    auto& host = rig.host;
    auto& synth = rig.synth;
    auto* input = rig.input;
    auto* output = rig.output;
    const int bytes = numEvents * 16 + 4096;
    rig.connectAndPrepare(static_cast<size_t>(bytes));
    input->getMessageCollector()->ensureStorageAllocated(static_cast<size_t>(bytes));
    input->activate();
    select(output->getDeviceParameter(), ZylMidiOutputModule::kDestinationSynth);
    if (path == kDensePortChannel)
    {
        inputGroup.getDeviceManager()->setMidiInputEnabled("Dense port", true);
        inputGroup.refreshDeviceValues();
        select(input->getDeviceParameter(), ZylMidiInputModule::kFirstPortSource);
    }
    else
    {
        select(input->getDeviceParameter(), ZylMidiInputModule::kSourceHost);
    }
    if (path != kDenseHostAllChannels)
        select(input->getChannelParameter(), 3);

    juce::MidiBuffer events;
    events.ensureSize(static_cast<size_t>(bytes));
    for (int i = 0; i < numEvents; ++i)
        events.addEvent(denseEvent(i), static_cast<int>(static_cast<std::int64_t>(i) * kBlock / numEvents));
    const auto refill = [&] {
        if (path == kDensePortChannel)
        {
            const double now = juce::Time::getMillisecondCounterHiRes() * 0.001;
            for (int i = 0; i < numEvents; ++i)
            {
                auto message = denseEvent(i);
                message.setTimeStamp(now);
                ports.deliver("Dense port", message);
            }
        }
        else
        {
            host.getBuffer()->clear();
            host.getBuffer()->data.addArray(events.data); // a copy, not a rebuild
        }
    };
    const auto runBlock = [&] {
        input->process(kBlock);
        output->process(kBlock);
    };
    refill();
    runBlock();
    int delivered = 0;
    std::int64_t allocations = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        refill();
        const auto before = benchAllocationCount();
        state.ResumeTiming();
        runBlock();
        allocations += benchAllocationCount() - before;
        delivered = synth.getBuffer()->getNumEvents();
    }
    state.counters["delivered"] = static_cast<double>(delivered);
    state.counters["allocs_per_block"] = benchmark::Counter(
        static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    input->deactivate();
}
BENCHMARK(BM_MidiDenseBlock)
    ->Args({ 500, kDenseHostAllChannels })
    ->Args({ 20000, kDenseHostAllChannels })
    ->Args({ 500, kDenseHostChannel })
    ->Args({ 20000, kDenseHostChannel })
    // JUCE's collector inserts each message it hands out from the start of the block, so the
    // port path stays quadratic in its own part; 2000 keeps the run short.
    ->Args({ 500, kDensePortChannel })
    ->Args({ 2000, kDensePortChannel })
    ->Unit(benchmark::kMillisecond);
} // namespace
