#include "space/ZylKeyDomain.h"
#include "space/ZylScaleDomain.h"
#include "space/ZylScaleNoteTable.h"
#include "space/ZylSpaceDomainSet.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
// Start-up of the space module's vocabularies: the ten domains with the 50 laid-out grids of
// the Space vocabulary, then the scale and note-name table built from them.
void buildVocabulary(benchmark::State& state)
{
    for (auto _ : state)
    {
        auto domains = std::make_unique<ZylSpaceDomainSet>();
        auto table = std::make_unique<ZylScaleNoteTable>(domains->getScaleDomain(), domains->getKeyDomain());
        benchmark::DoNotOptimize(table.get());
        state.PauseTiming();
        table.reset();
        domains.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(buildVocabulary)->Unit(benchmark::kMillisecond);
} // namespace
