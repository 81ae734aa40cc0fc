#include "tests/modules/ZylSynthTestSupport.h"

#include <kiss_fftr.h>

#include <cmath>

namespace zyltest
{
juce::MemoryBlock makeWav(const juce::AudioSampleBuffer& buffer, double sampleRate)
{
    juce::MemoryBlock block;
    {
        auto* stream = new juce::MemoryOutputStream(block, false);
        juce::WavAudioFormat format;
        std::unique_ptr<juce::AudioFormatWriter> writer(format.createWriterFor(
            stream, sampleRate, static_cast<unsigned int>(buffer.getNumChannels()), 32, {}, 0));
        if (writer == nullptr)
        {
            delete stream;
            return {};
        }
        writer->writeFromAudioSampleBuffer(buffer, 0, buffer.getNumSamples());
    }
    return block;
}

std::unique_ptr<juce::AudioFormatReader> makeReader(const juce::AudioSampleBuffer& buffer,
                                                    double sampleRate)
{
    juce::WavAudioFormat format;
    return std::unique_ptr<juce::AudioFormatReader>(format.createReaderFor(
        new juce::MemoryInputStream(makeWav(buffer, sampleRate), true), true));
}

ZylSamplerSound::Ptr makeSound(const juce::AudioSampleBuffer& buffer, double sampleRate,
                               int firstNote, int lastNote, int rootNote, double attackSeconds,
                               double releaseSeconds, bool loop, double maxSeconds)
{
    auto reader = makeReader(buffer, sampleRate);
    juce::BigInteger notes;
    notes.setRange(firstNote, lastNote - firstNote + 1, true);
    return new ZylSamplerSound("test", *reader, notes, rootNote, attackSeconds, releaseSeconds,
                               maxSeconds, loop);
}

juce::MemoryBlock makeZip(const std::vector<std::pair<std::string, juce::MemoryBlock>>& entries)
{
    juce::ZipFile::Builder builder;
    for (const auto& [name, data] : entries)
        builder.addEntry(new juce::MemoryInputStream(data, true), 9, juce::String(name),
                         juce::Time(2020, 0, 1, 0, 0));
    juce::MemoryBlock zip;
    juce::MemoryOutputStream out(zip, false);
    builder.writeToStream(out, nullptr);
    out.flush();
    return zip;
}

juce::MemoryBlock textBlock(const std::string& text)
{
    return juce::MemoryBlock(text.data(), text.size());
}

double estimateFrequency(const juce::AudioSampleBuffer& buffer, int channel, double sampleRate,
                         double low, double high)
{
    int n = 1;
    while (n * 2 <= buffer.getNumSamples())
        n *= 2;
    std::vector<float> windowed(static_cast<size_t>(n));
    const float* data = buffer.getReadPointer(channel);
    for (int i = 0; i < n; ++i)
        windowed[static_cast<size_t>(i)] =
            data[i] * static_cast<float>(0.5 - 0.5 * std::cos(2.0 * juce::MathConstants<double>::pi * i / (n - 1)));

    auto* config = kiss_fftr_alloc(n, 0, nullptr, nullptr);
    std::vector<kiss_fft_cpx> bins(static_cast<size_t>(n / 2 + 1));
    kiss_fftr(config, windowed.data(), bins.data());
    kiss_fftr_free(config);

    auto magnitude = [&](int k) {
        return std::log(std::hypot(bins[static_cast<size_t>(k)].r, bins[static_cast<size_t>(k)].i) + 1e-12);
    };
    const double binHz = sampleRate / n;
    const int from = std::max(1, static_cast<int>(low / binHz));
    const int to = std::min(n / 2 - 1, static_cast<int>(high / binHz));
    int best = from;
    for (int k = from; k <= to; ++k)
        if (magnitude(k) > magnitude(best))
            best = k;
    const double a = magnitude(best - 1), b = magnitude(best), c = magnitude(best + 1);
    const double offset = 0.5 * (a - c) / (a - 2.0 * b + c);
    return (best + offset) * binHz;
}
} // namespace zyltest
