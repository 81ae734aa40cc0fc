#include "modules/ZylWavetable.h"

#include "modules/ZylRandomSequence.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace
{
constexpr double kGaussianCutoff = 14.71280603; // exp(-x^2) below 4e-7 counts as nothing
constexpr float kPi = 3.14159265358979323846f;
constexpr float kNyquistFactor = 0.4999f;
constexpr int kNotesBelowCentre = 6;
constexpr int kNotesAboveCentre = 5;
} // namespace

ZylWavetable::ZylWavetable(ZylRandomSequence& phaseSource) : random(phaseSource)
{
}

ZylWavetable::~ZylWavetable() = default;

ZylWavetable::SoundBuilder::SoundBuilder() = default;

ZylWavetable::SoundBuilder::~SoundBuilder()
{
    setFftSize(0);
}

float ZylWavetable::noteToFrequency(int note)
{
    return static_cast<float>(440.0 * std::pow(2.0, (note - 69) / 12.0));
}

std::vector<float> ZylWavetable::makeSpectrum() const
{
    if (baseFunction == kSine)
        return harmonics;
    std::vector<float> spectrum;
    applyBaseFunction(harmonics, spectrum, baseFunction);
    return spectrum;
}

void ZylWavetable::planCutSound(int centreNote, int topNote, const std::vector<float>& spectrum,
                                std::vector<SoundPlan>& out)
{
    auto cut = spectrum;
    limitToNyquist(cut, noteToFrequency(topNote), static_cast<float>(kSampleRate) * kNyquistFactor);
    // Entry 0 is never sounded: a spectrum without another non-zero entry would make a silent
    // sound that only takes voices.
    if (std::none_of(cut.begin() + std::min<std::ptrdiff_t>(1, static_cast<std::ptrdiff_t>(cut.size())),
                     cut.end(), [](float amplitude) { return amplitude != 0.0f; }))
        return;
    planSound(centreNote, cut, out);
}

void ZylWavetable::planSounds(std::vector<SoundPlan>& out)
{
    const auto spectrum = makeSpectrum();
    planCutSound(rootMidiNote, rootMidiNote + kNotesAboveCentre, spectrum, out);
    for (int c = rootMidiNote + 12; c <= 127; c += 12)
        planCutSound(c, c + kNotesAboveCentre, spectrum, out);
    for (int d = rootMidiNote - 12; d >= 0; d -= 12)
        planCutSound(d, d + kNotesAboveCentre, spectrum, out);
}

bool ZylWavetable::planSound(int note, const std::vector<float>& spectrum, std::vector<SoundPlan>& out)
{
    if (spectrum.empty())
        return false;
    const int first = std::max(note - kNotesBelowCentre, 0);
    const int last = std::min(note + kNotesAboveCentre, 127);
    if (first > last)
        return false;

    SoundPlan plan;
    plan.name = name;
    plan.note = note;
    plan.notes.setRange(first, last - first + 1, true);
    plan.spectrum = spectrum;
    plan.bandwidth = static_cast<float>(bandwidth);
    plan.bandwidthScale = static_cast<float>(bandwidthScale);
    plan.relativeFactor = static_cast<float>(relativeFrequencyFactor);
    plan.phases.resize(static_cast<size_t>(kTableSize / 2));
    constexpr float kPhaseScale = 1.0f / 32768.0f;
    for (auto& phase : plan.phases)
        phase = static_cast<float>(random.next()) * kPhaseScale * 2.0f * kPi;
    out.push_back(std::move(plan));
    return true;
}

void ZylWavetable::createSounds(std::vector<ZylSamplerSound::Ptr>& out)
{
    std::vector<SoundPlan> plans;
    planSounds(plans);
    SoundBuilder builder;
    for (const auto& plan : plans)
        if (auto sound = builder.build(plan))
            out.push_back(sound);
}

ZylSamplerSound::Ptr ZylWavetable::createSound(int note, const std::vector<float>& spectrum)
{
    std::vector<SoundPlan> plans;
    if (!planSound(note, spectrum, plans))
        return nullptr;
    SoundBuilder builder;
    return builder.build(plans.front());
}

ZylSamplerSound::Ptr ZylWavetable::SoundBuilder::build(const SoundPlan& plan)
{
    if (plan.spectrum.empty() || plan.phases.size() != static_cast<size_t>(kTableSize / 2))
        return nullptr;

    table.resize(static_cast<size_t>(kTableSize));
    buildPadSynthTable(kTableSize, kSampleRate, noteToFrequency(plan.note), plan.bandwidth,
                       plan.bandwidthScale, plan.relativeFactor,
                       static_cast<int>(plan.spectrum.size()), plan.spectrum.data(),
                       plan.phases.data(), table.data());

    juce::MemoryBlock wav;
    {
        wav.ensureSize(static_cast<size_t>(kTableSize) * 2 * 2 + 44);
        auto stream = std::make_unique<juce::MemoryOutputStream>(wav, false);
        juce::WavAudioFormat format;
        std::unique_ptr<juce::AudioFormatWriter> writer(
            format.createWriterFor(stream.get(), kSampleRate, 2, 16, {}, 0));
        if (writer == nullptr)
            return nullptr;
        stream.release(); // the writer owns it now
        // The right channel is the left one rotated by half a table: the first half of the
        // frames pairs table[i] with table[i + half], the second half wraps to the start.
        const int half = kTableSize / 2;
        const float* const firstHalf[] = { table.data(), table.data() + half };
        const float* const secondHalf[] = { table.data() + half, table.data() };
        if (!writer->writeFromFloatArrays(firstHalf, 2, half)
            || !writer->writeFromFloatArrays(secondHalf, 2, kTableSize - half))
            return nullptr;
        // Deleting the writer completes the header.
    }

    juce::WavAudioFormat format;
    std::unique_ptr<juce::AudioFormatReader> reader(
        format.createReaderFor(new juce::MemoryInputStream(wav, false), true));
    if (reader == nullptr)
        return nullptr;
    ZylSamplerSound::Ptr sound = new ZylSamplerSound(plan.name, *reader, plan.notes, plan.note,
                                                     kAttackTime, kReleaseTime, kMaxSoundSeconds, true);
    return sound->isEmpty() ? nullptr : sound;
}

void ZylWavetable::SoundBuilder::buildPadSynthTable(int n, int sampleRate, float frequency,
                                                    float bandwidthCents, float bandwidthExponent,
                                                    float relativeFactor, int numHarmonics,
                                                    const float* amplitudes, const float* phases,
                                                    float* out)
{
    if (n < 2 || sampleRate <= 0)
        return;
    const int half = n / 2;
    amplitudeSpectrum.assign(static_cast<size_t>(half), 0.0f);
    const float rate = static_cast<float>(sampleRate);
    const float size = static_cast<float>(n);
    const float spread = std::pow(2.0f, bandwidthCents / 1200.0f) - 1.0f;

    for (int h = 1; h < numHarmonics; ++h)
    {
        const float hf = static_cast<float>(h);
        const float relativeFrequency = hf * (1.0f + hf * relativeFactor);
        const float bandwidthHz = spread * frequency * std::pow(relativeFrequency, bandwidthExponent);
        const float centre = relativeFrequency * frequency / rate;
        const float width = bandwidthHz / (2.0f * rate);
        const float amplitude = amplitudes[h];
        if (amplitude == 0.0f)
            continue; // adds nothing

        // Only the bins near the centre can pass the cut-off test; each is still tested.
        int from = 0;
        int to = half - 1;
        const double reach = static_cast<double>(width) * std::sqrt(kGaussianCutoff) * n;
        const double middle = static_cast<double>(centre) * n;
        if (std::isfinite(reach) && std::isfinite(middle))
        {
            from = static_cast<int>(std::max(0.0, std::floor(middle - reach) - 2.0));
            to = static_cast<int>(std::min(static_cast<double>(half - 1), std::ceil(middle + reach) + 2.0));
        }
        for (int j = from; j <= to; ++j)
        {
            const float x = (static_cast<float>(j) / size - centre) / width;
            const float x2 = x * x;
            if (static_cast<double>(x2) > kGaussianCutoff || std::isnan(x2))
                continue;
            amplitudeSpectrum[static_cast<size_t>(j)] += std::exp(-x2) / width * amplitude;
        }
    }

    inverseFft(n, amplitudeSpectrum.data(), phases, out);

    float peak = 0.00001f;
    for (int i = 0; i < n; ++i)
        peak = std::max(peak, std::abs(out[i]));
    const float divisor = peak * 1.4142f;
    for (int i = 0; i < n; ++i)
        out[i] /= divisor;
}

void ZylWavetable::SoundBuilder::inverseFft(int n, const float* amplitudes, const float* phaseValues, float* out)
{
    if (n <= 0)
        return;
    setFftSize(n);
    if (fft == nullptr)
        return;
    auto* cells = reinterpret_cast<kiss_fft_cpx*>(bins.data());
    for (int j = 0; j < numBins - 1; ++j)
    {
        const float amplitude = amplitudes[j];
        if (amplitude == 0.0f)
        {
            cells[j].r = 0.0f;
            cells[j].i = 0.0f;
            continue;
        }
        cells[j].r = amplitude * std::cos(phaseValues[j]);
        cells[j].i = amplitude * std::sin(phaseValues[j]);
    }
    cells[numBins - 1].r = 0.0f;
    cells[numBins - 1].i = 0.0f;
    kiss_fftri(fft, cells, out);
}

void ZylWavetable::SoundBuilder::setFftSize(int n)
{
    if (n == fftSize)
        return;
    if (fft != nullptr)
        kiss_fftr_free(fft);
    fft = nullptr;
    bins.clear();
    bins.shrink_to_fit();
    fftSize = 0;
    numBins = 0;
    if (n < 1)
        return;
    // KissFFT's real transform needs an even size.
    if (n % 2 != 0)
        return;
    fft = kiss_fftr_alloc(n, 1, nullptr, nullptr);
    if (fft == nullptr)
        return;
    fftSize = n;
    numBins = n / 2 + 1;
    bins.assign(static_cast<size_t>(numBins) * 2, 0.0f);
}

void ZylWavetable::applyBaseFunction(const std::vector<float>& harmonicAmplitudes,
                                     std::vector<float>& out, int function)
{
    std::vector<float> base(kBaseSeriesSize, 0.0f);
    for (int i = 1; i < kBaseSeriesSize; ++i)
    {
        const float fi = static_cast<float>(i);
        switch (function)
        {
        case kTriangle:
            if (i % 2 == 1)
                base[static_cast<size_t>(i)] =
                    (((i - 1) / 2) % 2 == 0 ? 1.0f : -1.0f) * 8.0f / (fi * fi * kPi * kPi);
            break;
        case kSawtooth:
            base[static_cast<size_t>(i)] = -1.0f / (fi * kPi);
            break;
        case kSquare:
            if (i % 2 == 1)
                base[static_cast<size_t>(i)] = 4.0f / (fi * kPi);
            break;
        default:
            break;
        }
    }

    out = base;
    for (size_t h = 1; h < harmonicAmplitudes.size(); ++h)
        for (int j = 1; j < kBaseSeriesSize; ++j)
        {
            const size_t target = (h + 1) * static_cast<size_t>(j);
            if (target < static_cast<size_t>(kBaseSeriesSize))
                out[target] += harmonicAmplitudes[h] * base[static_cast<size_t>(j)];
        }
}

void ZylWavetable::limitToNyquist(std::vector<float>& spectrum, float frequency, float limit)
{
    for (size_t i = 0; i < spectrum.size(); ++i)
        if (limit < static_cast<float>(i + 1) * frequency)
        {
            spectrum.resize(i);
            return;
        }
}
