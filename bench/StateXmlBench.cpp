// Time and peak memory of parsing state documents: a bank-like document of a realistic size, and
// the largest document the loader accepts made of the smallest nodes, which costs the parser the
// most memory for its size, in elements and in attributes.

#include "bench/BenchHeap.h"
#include "framework/ZylStateXml.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{
constexpr double kMiB = 1024.0 * 1024.0;

// 128 programs of a few modules with a handful of parameters each: about the shape of a bank.
std::string bankLikeDocument()
{
    std::string text = "<fxb><mod i=\"2\" n=\"lumenfold\" v=\"2.5.544\"><cm>";
    for (int module = 0; module < 8; ++module)
    {
        text += "<mod i=\"" + std::to_string(1000 * (module + 1)) + "\"><pgms>";
        for (int program = 0; program < 128; ++program)
        {
            text += "<pgm i=\"" + std::to_string(program) + "\"><ps>";
            for (int parameter = 0; parameter < 4; ++parameter)
                text += "<pv i=\"" + std::to_string(parameter) + "\" v=\"" + std::to_string(program % 17)
                        + "\"/>";
            text += "</ps></pgm>";
        }
        text += "</pgms></mod>";
    }
    return text + "</cm></mod></fxb>";
}

// The root and kMaxStateNodes - 1 empty children: the most nodes for the fewest bytes.
std::string tinyNodeDocument()
{
    std::string text = "<fxb>";
    for (int i = 1; i < kMaxStateNodes; ++i)
        text += "<a/>";
    return text + "</fxb>";
}

// The root and children of 1023 empty attributes each, up to the node budget.
std::string tinyAttributeDocument()
{
    std::string text = "<fxb>";
    int nodes = 1;
    while (nodes + 1024 <= kMaxStateNodes)
    {
        text += "<a";
        for (int i = 0; i < 1023; ++i)
            text += " b" + std::to_string(i) + "=\"\"";
        text += "/>";
        nodes += 1024;
    }
    return text + "</fxb>";
}

void parseDocument(benchmark::State& state, const std::string& text)
{
    std::int64_t peak = 0;
    for (auto _ : state)
    {
        const auto before = benchLiveHeapBytes();
        benchResetPeakHeapBytes();
        auto element = parseXmlFromMemory(text.data(), static_cast<juce::int64>(text.size()));
        benchmark::DoNotOptimize(element.get());
        if (element == nullptr)
            state.SkipWithError("the document was refused");
        peak = benchPeakHeapBytes() - before;
    }
    state.counters["input_KiB"] = double(text.size()) / 1024.0;
    state.counters["peak_MiB"] = double(peak) / kMiB;
    state.counters["peak_per_input_byte"] = double(peak) / double(text.size());
}

void BM_ParseBankLikeState(benchmark::State& state)
{
    static const auto text = bankLikeDocument();
    parseDocument(state, text);
}
BENCHMARK(BM_ParseBankLikeState)->Unit(benchmark::kMillisecond);

void BM_ParseLargestTinyNodeState(benchmark::State& state)
{
    static const auto text = tinyNodeDocument();
    parseDocument(state, text);
}
BENCHMARK(BM_ParseLargestTinyNodeState)->Unit(benchmark::kMillisecond);
void BM_ParseLargestTinyAttributeState(benchmark::State& state)
{
    static const auto text = tinyAttributeDocument();
    parseDocument(state, text);
}
BENCHMARK(BM_ParseLargestTinyAttributeState)->Unit(benchmark::kMillisecond);
} // namespace
