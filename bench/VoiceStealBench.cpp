// Voice stealing through the product processor: host notes pass the MIDI input, the space module
// (mouse-trigger mode lets them through) and the MIDI output on to the synthesiser, whose 64
// voices are all busy, so nearly every note-on steals one.
// BM_StealFloodBlock: 20,000 note-ons in one block (target: at most 50 ms for the block).
// BM_StealSteadyBlocks: 500 note-ons and 500 note-offs in every block (target: at most 2 ms in the
// worst block, reported as worst_block_ms).
#include "bench/BenchFilter.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylParameter.h"
#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylSynth.h"
#include "modules/ZylSynthModule.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace
{
constexpr int kStealBlock = 512;
constexpr double kStealRate = 44100.0;
// Notes 3 to 122 (the shipped bank serves them all), taken in turn.
constexpr int kFirstStealNote = 3;
constexpr int kStealNoteSpan = 120;

int stealNote(int count)
{
    return kFirstStealNote + count % kStealNoteSpan;
}

// The processor with the host's MIDI as input, prepared and past the reset the input change
// asks for.
std::unique_ptr<BenchFilter> makeStealFilter()
{
    auto filter = std::make_unique<BenchFilter>();
    filter->initialise();
    benchDeliverMessages();
    auto* input = filter->root().getMidiInputGroupModule()->getInputModule(0)->getDeviceParameter();
    input->setValueObject(input->getDomain()->getValues()[static_cast<size_t>(ZylMidiInputModule::kSourceHost)],
                          kCauseUser, false, true);
    benchDeliverMessages();
    filter->prepareToPlay(kStealRate, kStealBlock);
    juce::AudioBuffer<float> audio(2, kStealBlock);
    juce::MidiBuffer midi;
    for (int i = 0; i < 4; ++i)
        filter->processBlock(audio, midi);
    return filter;
}

// Note-ons the synthesiser received in the last block.
int synthNoteOns(BenchFilter& filter)
{
    auto* pin = filter.root().getSynthModule()->getMidiInPin();
    auto* cable = pin != nullptr ? pin->getFirstCable() : nullptr;
    int count = 0;
    if (cable != nullptr && cable->getBuffer() != nullptr)
        for (const auto metadata : *cable->getBuffer())
            count += metadata.getMessage().isNoteOn() ? 1 : 0;
    return count;
}

int activeVoices(BenchFilter& filter)
{
    int active = 0;
    if (auto* synth = filter.root().getSynthModule()->getSynth())
        for (int v = 0; v < synth->getNumVoices(); ++v)
            active += synth->getVoice(v)->isVoiceActive() ? 1 : 0;
    return active;
}

void BM_StealFloodBlock(benchmark::State& state)
{
    constexpr int kNoteOns = 20000;
    auto filter = makeStealFilter();
    juce::AudioBuffer<float> audio(2, kStealBlock);
    juce::MidiBuffer flood;
    for (int i = 0; i < kNoteOns; ++i)
        flood.addEvent(juce::MidiMessage::noteOn(1, stealNote(i), 0.8f), i * kStealBlock / kNoteOns);
    juce::MidiBuffer midi;
    int received = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        midi = flood;
        state.ResumeTiming();
        filter->processBlock(audio, midi);
        state.PauseTiming();
        received = synthNoteOns(*filter);
        // Every voice let go again, so that each flood starts from the same state.
        midi.clear();
        midi.addEvent(juce::MidiMessage::allNotesOff(1), 0);
        filter->processBlock(audio, midi);
        if (auto* synth = filter->root().getSynthModule()->getSynth())
            synth->allNotesOff(0, false);
        state.ResumeTiming();
    }
    state.counters["synth_note_ons"] = received;
    if (received != kNoteOns)
        state.SkipWithError("the note-ons did not all reach the synthesiser");
    filter->releaseResources();
}
BENCHMARK(BM_StealFloodBlock)->Unit(benchmark::kMillisecond)->Iterations(10);

// Each block: 500 note-ons spread over it, each with the note-off of the note struck 32 events
// before, so that 32 keys are down and the other voices release, all stolen in turn.
void BM_StealSteadyBlocks(benchmark::State& state)
{
    constexpr int kPerBlock = 500;
    constexpr int kKeysDown = 32;
    auto filter = makeStealFilter();
    juce::AudioBuffer<float> audio(2, kStealBlock);
    juce::MidiBuffer midi;
    midi.ensureSize(static_cast<size_t>(kPerBlock) * 2 * 16);
    int struck = 0;
    const auto fill = [&] {
        midi.clear();
        for (int i = 0; i < kPerBlock; ++i, ++struck)
        {
            const int position = i * kStealBlock / kPerBlock;
            if (struck >= kKeysDown)
                midi.addEvent(juce::MidiMessage::noteOff(1, stealNote(struck - kKeysDown)), position);
            midi.addEvent(juce::MidiMessage::noteOn(1, stealNote(struck), 0.8f), position);
        }
    };
    // Warm: the voices fill and the processor's buffers grow to the load.
    for (int i = 0; i < 16; ++i)
    {
        fill();
        filter->processBlock(audio, midi);
    }
    benchDeliverMessages();

    double worst = 0.0;
    int received = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        fill();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        filter->processBlock(audio, midi);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        worst = std::max(worst, took.count());
        state.PauseTiming();
        received = synthNoteOns(*filter);
        state.ResumeTiming();
    }
    state.counters["worst_block_ms"] = worst;
    state.counters["synth_note_ons"] = received;
    state.counters["voices"] = activeVoices(*filter);
    state.counters["block_ms"] = 1000.0 * kStealBlock / kStealRate;
    if (received != kPerBlock)
        state.SkipWithError("the note-ons did not all reach the synthesiser");
    filter->releaseResources();
}
BENCHMARK(BM_StealSteadyBlocks)->Unit(benchmark::kMicrosecond)->Iterations(2000);
} // namespace
