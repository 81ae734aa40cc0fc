// The built-in synthesiser: rendering a block with every voice sounding and with one, the synth
// module's whole block (gain, ramp, keep-alive) with the allocations it makes, and building the
// shipped sound bank at start-up.
#include "bench/BenchHeap.h"
#include "framework/ZylAudioCable.h"
#include "framework/ZylMidiCable.h"
#include "framework/ZylModuleContainer.h"
#include "modules/ZylSamplerSound.h"
#include "modules/ZylSamplerVoice.h"
#include "modules/ZylSynth.h"
#include "modules/ZylSynthModule.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
constexpr int kBlock = 512;
constexpr double kRate = 44100.0;

ZylSynth& shippedSynth()
{
    static ZylSynth synth;
    return synth;
}

// Holds the given number of notes from note 3 up (all served by the shipped bank) and renders
// past their attack.
void holdNotes(juce::Synthesiser& synth, int count)
{
    synth.allNotesOff(0, false);
    for (int i = 0; i < count; ++i)
        synth.noteOn(1, 3 + i, 0.8f);
    juce::AudioSampleBuffer warm(2, kBlock);
    warm.clear();
    synth.renderNextBlock(warm, juce::MidiBuffer(), 0, kBlock);
}

void reportBlock(benchmark::State& state, std::int64_t allocations)
{
    state.counters["allocs_per_block"] = benchmark::Counter(
        static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    // Seconds of audio per second of rendering.
    state.counters["x_realtime"] = benchmark::Counter(
        kBlock / kRate, benchmark::Counter::kIsIterationInvariantRate);
    if (allocations != 0)
        state.SkipWithError("the block allocated");
}

// Allows steady notes the eight-sample step or keeps them on the four-sample one, and labels
// the run with the step they take (the eight-sample step needs a processor that has it).
void chooseVectorStep(benchmark::State& state, bool allowWide)
{
    const bool wide = ZylSamplerVoice::setWideVectorStepAllowed(allowWide);
    state.SetLabel(wide ? "8-sample step" : "4-sample step");
}

// Renders blocks of blockSize samples of the notes held, one each iteration; returns the
// allocations made meanwhile.
std::int64_t renderHeldNotes(benchmark::State& state, ZylSynth& synth, int blockSize)
{
    juce::AudioSampleBuffer buffer(2, blockSize);
    juce::MidiBuffer midi;
    const auto before = benchAllocationCount();
    for (auto _ : state)
    {
        buffer.clear();
        synth.renderNextBlock(buffer, midi, 0, blockSize);
        benchmark::DoNotOptimize(buffer.getReadPointer(0));
    }
    return benchAllocationCount() - before;
}

// range(0) notes held; range(1) 1 lets steady notes take the eight-sample (AVX) step where the
// processor has it, 0 keeps them on the four-sample (SSE2) one.
void BM_SynthRenderBlock(benchmark::State& state)
{
    auto& synth = shippedSynth();
    chooseVectorStep(state, state.range(1) != 0);
    holdNotes(synth, static_cast<int>(state.range(0)));
    reportBlock(state, renderHeldNotes(state, synth, kBlock));
    synth.allNotesOff(0, false);
    ZylSamplerVoice::setWideVectorStepAllowed(true);
}
BENCHMARK(BM_SynthRenderBlock)
    ->ArgsProduct({ { 1, 64 }, { 1, 0 } })
    ->Unit(benchmark::kMicrosecond);

// 64 notes all in release: range(0) as range(1) of BM_SynthRenderBlock. The notes are struck
// and let go again every 32 blocks (untimed), well within the shortest release, so every timed
// block renders 64 releasing voices.
void BM_SynthReleaseBlock(benchmark::State& state)
{
    auto& synth = shippedSynth();
    chooseVectorStep(state, state.range(0) != 0);
    constexpr int kNotes = 64;
    constexpr int kBlocksPerStrike = 32;
    const auto strike = [&synth]
    {
        holdNotes(synth, kNotes);
        for (int i = 0; i < kNotes; ++i)
            synth.noteOff(1, 3 + i, 0.0f, true);
    };
    juce::AudioSampleBuffer buffer(2, kBlock);
    juce::MidiBuffer midi;
    int blocksLeft = 0;
    std::int64_t allocations = 0;
    for (auto _ : state)
    {
        if (blocksLeft == 0)
        {
            state.PauseTiming();
            strike();
            blocksLeft = kBlocksPerStrike;
            state.ResumeTiming();
        }
        --blocksLeft;
        const auto before = benchAllocationCount();
        buffer.clear();
        synth.renderNextBlock(buffer, midi, 0, kBlock);
        allocations += benchAllocationCount() - before;
        benchmark::DoNotOptimize(buffer.getReadPointer(0));
    }
    int releasing = 0;
    for (int v = 0; v < synth.getNumVoices(); ++v)
        releasing += static_cast<const ZylSamplerVoice*>(synth.getVoice(v))->isInReleasePhase() ? 1 : 0;
    state.counters["releasing"] = releasing;
    reportBlock(state, allocations);
    synth.allNotesOff(0, false);
    ZylSamplerVoice::setWideVectorStepAllowed(true);
}
BENCHMARK(BM_SynthReleaseBlock)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// 64 notes held, rendered in blocks of range(0) samples; range(1) as in BM_SynthRenderBlock. The
// rate counter compares block sizes: seconds of audio per second of rendering.
void BM_SynthBlockSize(benchmark::State& state)
{
    auto& synth = shippedSynth();
    const int blockSize = static_cast<int>(state.range(0));
    chooseVectorStep(state, state.range(1) != 0);
    holdNotes(synth, 64);
    const auto allocations = renderHeldNotes(state, synth, blockSize);
    state.counters["x_realtime"] = benchmark::Counter(
        blockSize / kRate, benchmark::Counter::kIsIterationInvariantRate);
    if (allocations != 0)
        state.SkipWithError("the block allocated");
    synth.allNotesOff(0, false);
    ZylSamplerVoice::setWideVectorStepAllowed(true);
}
BENCHMARK(BM_SynthBlockSize)
    ->ArgsProduct({ { 16, 32, 64, 128, 512, 2048, 4096 }, { 1, 0 } })
    ->Unit(benchmark::kMicrosecond);

// The module's block as the audio thread runs it, 64 notes held, MIDI cable empty.
void BM_SynthModuleBlock(benchmark::State& state)
{
    ZylModuleContainer container;
    ZylSynthModule module(&container);
    module.initialise();
    ZylAudioCable audio;
    ZylMidiCable midi;
    audio.setBuffer(std::make_unique<juce::AudioSampleBuffer>(2, kBlock));
    midi.setBuffer(std::make_unique<juce::MidiBuffer>());
    midi.getBuffer()->ensureSize(4096);
    module.getAudioOutPin()->connect(&audio);
    module.getMidiInPin()->connect(&midi);
    module.prepareToPlay(kRate, kBlock);
    for (int i = 0; i < 64; ++i)
        midi.getBuffer()->addEvent(juce::MidiMessage::noteOn(1, 3 + i, static_cast<juce::uint8>(100)), 0);
    module.processBlock(kBlock);
    midi.getBuffer()->clear();

    const auto before = benchAllocationCount();
    for (auto _ : state)
    {
        module.processBlock(kBlock);
        benchmark::DoNotOptimize(audio.getBuffer()->getReadPointer(0));
    }
    reportBlock(state, benchAllocationCount() - before);
}
BENCHMARK(BM_SynthModuleBlock)->Unit(benchmark::kMicrosecond);

// Start-up: the shipped bank's ten sounds built from the embedded description, on one core.
void BM_SoundBankBuild(benchmark::State& state)
{
    double sampleBytes = 0.0;
    int sounds = 0;
    for (auto _ : state)
    {
        auto synth = std::make_unique<ZylSynth>();
        benchmark::DoNotOptimize(synth.get());
        // The sample data lives in JUCE buffers, which take their memory from malloc, not from
        // operator new: count it from the sounds.
        sounds = synth->getNumSounds();
        sampleBytes = 0.0;
        for (int i = 0; i < sounds; ++i)
        {
            const auto& sound = static_cast<const ZylSamplerSound&>(*synth->getSound(i));
            if (const auto* data = sound.getAudioData())
            {
                // The planar data, plus the interleaved copy a stereo sound keeps for its voices.
                const int copies = sound.getInterleavedFrames() != nullptr ? 2 : 1;
                sampleBytes += static_cast<double>(copies) * data->getNumChannels()
                               * data->getNumSamples() * sizeof(float);
            }
        }
    }
    state.counters["sounds"] = sounds;
    state.counters["sample_MiB"] = sampleBytes / (1024.0 * 1024.0);
}
BENCHMARK(BM_SoundBankBuild)->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace
