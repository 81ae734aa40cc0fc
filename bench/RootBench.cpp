// The whole module tree behind the processor: building it (demo tracks, factory bank, synth
// tables), an idle block (warm, and with cold caches as the idle program's audio thread meets
// it), and a block with every synth voice sounding. A block where nothing changed must not
// allocate; blocks in which the transport's beat moves post a message and are counted apart. BM_RootHostAutomationFlood: a host thread setting parameters in a tight loop
// beside unpaced blocks while the message thread delivers; the message count and the heap must
// stay flat (LUMENFOLD_FLOOD_SECONDS sets the run, 3 s by default).
#include "app/ZylLumenfoldModule.h"
#include "bench/BenchFilter.h"
#include "bench/BenchHeap.h"
#include "framework/ZylFilter.h"
#include "framework/ZylMessage.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylDomain.h"
#include "framework/ZylParameter.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylSynth.h"
#include "modules/ZylSynthModule.h"
#include "modules/ZylTransportDomainSet.h"
#include "modules/ZylTransportModule.h"
#include "modules/ZylTransportStateDomain.h"
#include "space/ZylCell.h"
#include "space/ZylCellStates.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceModule.h"
#include "tests/space/ZylSpaceTestSupport.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

namespace juce
{
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace
{
constexpr int kBlock = 512;
constexpr double kRate = 44100.0;

std::unique_ptr<BenchFilter> makeFilter()
{
    auto filter = std::make_unique<BenchFilter>();
    filter->initialise();
    benchDeliverMessages();
    return filter;
}

void select(ZylParameter* parameter, int index)
{
    parameter->setValueObject(parameter->getDomain()->getValues()[static_cast<size_t>(index)],
                              kCauseUser, false, true);
    benchDeliverMessages();
}

void selectByName(ZylParameter* parameter, const wchar_t* name)
{
    parameter->setValueObject(parameter->getDomain()->findByName(name), kCauseUser, false, true);
    benchDeliverMessages();
}

void setTransportState(ZylTransportModule& transport, bool stopped)
{
    auto* states = transport.getDomainSet()->getStateDomain();
    transport.getStateParameter()->setValueObject(stopped ? states->getStopped() : states->getArmed(),
                                                  kCauseUser, false, true);
    benchDeliverMessages();
}

// Runs one block and counts its allocations among the blocks where nothing changed, unless the
// transport's beat moved (a beat or bar change posts a message, which allocates).
struct BlockCounter
{
    std::int64_t quietBlocks = 0;
    std::int64_t quietAllocations = 0;
    std::int64_t beatBlocks = 0;

    void run(BenchFilter& filter, juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
    {
        auto& transport = *filter.root().getTransportModule();
        const double beatBefore = std::floor(transport.getPosition().ppqPosition);
        const auto before = benchAllocationCount();
        midi.clear();
        filter.processBlock(audio, midi);
        const auto allocations = benchAllocationCount() - before;
        if (std::floor(transport.getPosition().ppqPosition) != beatBefore)
        {
            ++beatBlocks;
            return;
        }
        ++quietBlocks;
        quietAllocations += allocations;
    }
};

void reportBlock(benchmark::State& state, const BlockCounter& counter)
{
    const auto allocations = counter.quietAllocations;
    state.counters["allocs_per_block"] = benchmark::Counter(
        static_cast<double>(allocations) / static_cast<double>(juce::jmax<std::int64_t>(1, counter.quietBlocks)));
    state.counters["beat_blocks"] = static_cast<double>(counter.beatBlocks);
    state.counters["x_realtime"] =
        benchmark::Counter(kBlock / kRate, benchmark::Counter::kIsIterationInvariantRate);
    if (allocations != 0)
        state.SkipWithError("the block allocated");
}

// Building the whole tree as the program does at start: reports the time per build and the
// heap bytes one tree holds.
void BM_RootBuildTree(benchmark::State& state)
{
    std::int64_t heldBytes = 0;
    for (auto _ : state)
    {
        const auto before = benchLiveHeapBytes();
        auto filter = makeFilter();
        heldBytes = benchLiveHeapBytes() - before;
        benchmark::DoNotOptimize(filter.get());
        state.PauseTiming();
        filter.reset();
        benchDeliverMessages();
        state.ResumeTiming();
    }
    state.counters["heap_MiB"] = static_cast<double>(heldBytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_RootBuildTree)->Unit(benchmark::kMillisecond)->Iterations(5);

// Prepares the processor for blocks of kBlock samples and runs four, which carry out what the
// setup before asked for (the resets of changed inputs, the transport's state).
void prepareAndWarm(BenchFilter& filter, juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    filter.prepareToPlay(kRate, kBlock);
    midi.ensureSize(4096);
    for (int i = 0; i < 4; ++i)
        filter.processBlock(audio, midi);
}

// Nothing sounding, transport stopped: the cost of running the chain.
void BM_RootIdleBlock(benchmark::State& state)
{
    auto filter = makeFilter();
    setTransportState(*filter->root().getTransportModule(), true);
    juce::AudioBuffer<float> audio(2, kBlock);
    juce::MidiBuffer midi;
    prepareAndWarm(*filter, audio, midi);

    BlockCounter counter;
    for (auto _ : state)
        counter.run(*filter, audio, midi);
    reportBlock(state, counter);
    filter->releaseResources();
}
BENCHMARK(BM_RootIdleBlock)->Unit(benchmark::kMicrosecond);

// The idle program's block as its audio thread meets it: between two blocks (11.6 ms at 512
// samples) the core sleeps or runs other work, so the block starts with cold caches and what
// it costs is mostly the memory it touches. The factory program waits armed, as at start; each
// iteration first sweeps a buffer larger than the caches (untimed), then times one block.
void BM_RootIdleBlockColdCache(benchmark::State& state)
{
    auto filter = makeFilter();
    juce::AudioBuffer<float> audio(2, kBlock);
    juce::MidiBuffer midi;
    prepareAndWarm(*filter, audio, midi);
    benchDeliverMessages();

    constexpr size_t kSweepBytes = size_t { 64 } << 20;
    constexpr size_t kLineBytes = 64;
    std::vector<unsigned char> sweep(kSweepBytes, 1);
    unsigned sum = 0;
    for (auto _ : state)
    {
        for (size_t i = 0; i < kSweepBytes; i += kLineBytes)
            sum += ++sweep[i];
        midi.clear();
        const auto start = std::chrono::steady_clock::now();
        filter->processBlock(audio, midi);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        // What the blocks posted (beats of the own clock) is delivered as the program would.
        benchDeliverMessages();
    }
    benchmark::DoNotOptimize(sum);
    filter->releaseResources();
}
BENCHMARK(BM_RootIdleBlockColdCache)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(2000);

// Every voice of the synthesiser sounding: a pressed grid cell plays a chord and the host holds
// enough notes besides (they pass the space module unaltered in the mouse-trigger mode) to
// fill the 64 voices.
void BM_RootFullChain64Voices(benchmark::State& state)
{
    auto filter = makeFilter();
    auto& root = filter->root();
    auto& space = *root.getSpaceModule();
    auto* input = root.getMidiInputGroupModule()->getInputModule(0);
    select(input->getDeviceParameter(), ZylMidiInputModule::kSourceHost);
    selectByName(space.getAssistParameter(), L"Ch Anywh");
    selectByName(space.getChordParameter(), L"M");
    juce::AudioBuffer<float> audio(2, kBlock);
    juce::MidiBuffer midi;
    prepareAndWarm(*filter, audio, midi);
    zyltest::pressNote(*space.getGridSpace(), 60);
    constexpr int kChordNotes = 3;
    for (int note = 30, added = 0; added < ZylSynth::kNumVoices - kChordNotes; ++note)
        if (note != 60 && note != 64 && note != 67)
        {
            midi.addEvent(juce::MidiMessage::noteOn(1, note, 0.8f), 0);
            ++added;
        }
    filter->processBlock(audio, midi);
    for (int i = 0; i < 4; ++i)
    {
        midi.clear();
        filter->processBlock(audio, midi);
    }
    int sounding = 0;
    if (auto* synth = root.getSynthModule()->getSynth())
        for (int v = 0; v < synth->getNumVoices(); ++v)
            sounding += synth->getVoice(v)->isVoiceActive() ? 1 : 0;

    BlockCounter counter;
    for (auto _ : state)
        counter.run(*filter, audio, midi);
    reportBlock(state, counter);
    state.counters["voices"] = sounding;
    filter->releaseResources();
}
BENCHMARK(BM_RootFullChain64Voices)->Unit(benchmark::kMicrosecond);

int floodSeconds()
{
    const char* text = std::getenv("LUMENFOLD_FLOOD_SECONDS");
    const int seconds = text != nullptr ? std::atoi(text) : 0;
    return seconds > 0 ? seconds : 3;
}

void BM_RootHostAutomationFlood(benchmark::State& state)
{
    auto filter = makeFilter();
    filter->prepareToPlay(kRate, kBlock);
    benchDeliverMessages();
    const int parameters = filter->getNumParameters();
    for (auto _ : state)
    {
        std::atomic<bool> running { true };
        std::atomic<std::int64_t> sets { 0 };
        std::atomic<std::int64_t> blocks { 0 };
        std::thread host([&] {
            juce::Random random(7);
            for (int i = 0; running.load(std::memory_order_relaxed); ++i)
            {
                filter->setParameter(i % parameters, random.nextFloat());
                sets.fetch_add(1, std::memory_order_relaxed);
            }
        });
        std::thread audio([&] {
            juce::AudioBuffer<float> buffer(2, kBlock);
            juce::MidiBuffer midi;
            midi.ensureSize(4096);
            for (int i = 0; running.load(std::memory_order_relaxed); ++i)
            {
                midi.clear();
                if (i % 8 == 0)
                    midi.addEvent(juce::MidiMessage::noteOn(1, 36 + (i / 8) % 48, 0.8f), 0);
                else if (i % 8 == 4)
                    midi.addEvent(juce::MidiMessage::noteOff(1, 36 + (i / 8) % 48), 0);
                filter->processBlock(buffer, midi);
                blocks.fetch_add(1, std::memory_order_relaxed);
            }
        });

        // This thread is the message thread and delivers as fast as it can; another samples the
        // message count and the heap once a second (the first second is warm-up) and ends the run.
        const int seconds = floodSeconds();
        std::atomic<int> peakAlive { 0 };
        std::int64_t heapAtOne = 0;
        std::int64_t heapAtEnd = 0;
        std::thread sampler([&] {
            const auto start = std::chrono::steady_clock::now();
            for (int second = 1; second <= seconds; ++second)
            {
                while (std::chrono::steady_clock::now() < start + std::chrono::seconds(second))
                {
                    peakAlive = std::max(peakAlive.load(), ZylMessage::getNumAlive());
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                }
                const auto heap = benchLiveHeapBytes();
                std::fprintf(stderr, "flood %2d s: %d messages, heap %.1f MiB\n", second,
                             ZylMessage::getNumAlive(), static_cast<double>(heap) / (1024.0 * 1024.0));
                if (second == 1)
                    heapAtOne = heap;
                heapAtEnd = heap;
            }
            running = false;
        });
        while (running.load())
            juce::dispatchNextMessageOnSystemQueue(true);
        sampler.join();
        host.join();
        audio.join();
        const int aliveAtEnd = ZylMessage::getNumAlive();
        // Bounded in time: a queue that grew to millions takes JUCE far longer to empty.
        const auto drainUntil = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < drainUntil
               && juce::dispatchNextMessageOnSystemQueue(true))
        {
        }

        const double measured = juce::jmax(1, seconds - 1);
        state.counters["parameters"] = parameters;
        state.counters["messages_peak"] = peakAlive.load();
        state.counters["messages_end"] = aliveAtEnd;
        state.counters["heap_growth_KiB_per_s"] =
            static_cast<double>(heapAtEnd - heapAtOne) / 1024.0 / measured;
        state.counters["host_sets_per_s"] = static_cast<double>(sets.load()) / seconds;
        state.counters["blocks_per_s"] = static_cast<double>(blocks.load()) / seconds;
    }
    filter->releaseResources();
}
BENCHMARK(BM_RootHostAutomationFlood)->Iterations(1)->Unit(benchmark::kSecond);
} // namespace

namespace
{
// A chord held on "[1:2]" and decided again in every block (the module marked changed, as a
// parameter change does), so that it retriggers each block: the synthesiser's voices fill with
// releasing notes, the stolen ones among them.
void BM_RootRedecidedChord(benchmark::State& state)
{
    auto filter = makeFilter();
    auto& root = filter->root();
    auto& space = *root.getSpaceModule();
    selectByName(space.getSpaceParameter(), L"[1:2]");
    selectByName(space.getChordParameter(), L"M");
    filter->prepareToPlay(kRate, kBlock);

    juce::AudioBuffer<float> audio(2, kBlock);
    juce::MidiBuffer midi;
    midi.ensureSize(4096);
    for (int i = 0; i < 4; ++i)
        filter->processBlock(audio, midi);
    zyltest::pressNote(*space.getGridSpace(), 60);
    const auto redecide = [&]
    {
        space.setChanged(true);
        midi.clear();
        filter->processBlock(audio, midi);
    };
    // Long enough for the voices to fill.
    for (int i = 0; i < 200; ++i)
        redecide();
    benchDeliverMessages();

    // Each block changes the grid's state and so posts the space module's change message (an
    // allocation, not counted as a fault here); the messages are delivered untimed.
    int blocks = 0;
    for (auto _ : state)
    {
        redecide();
        if (++blocks % 64 == 0)
        {
            state.PauseTiming();
            benchDeliverMessages();
            state.ResumeTiming();
        }
    }
    state.counters["x_realtime"] =
        benchmark::Counter(kBlock / kRate, benchmark::Counter::kIsIterationInvariantRate);
    int sounding = 0;
    int releasing = 0;
    if (auto* synth = root.getSynthModule()->getSynth())
        for (int v = 0; v < synth->getNumVoices(); ++v)
        {
            const auto* voice = synth->getVoice(v);
            sounding += voice->isVoiceActive() ? 1 : 0;
            releasing += voice->isVoiceActive() && !voice->isKeyDown() ? 1 : 0;
        }
    state.counters["voices"] = sounding;
    state.counters["releasing"] = releasing;
    filter->releaseResources();
}
BENCHMARK(BM_RootRedecidedChord)->Unit(benchmark::kMicrosecond);
} // namespace
