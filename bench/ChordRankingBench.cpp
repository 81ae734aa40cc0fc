#include "bench/BenchHeap.h"
#include "bench/BenchSpaceFixtures.h"

#include "space/ZylCell.h"
#include "space/ZylCellSet.h"
#include "space/ZylChordAssistDomain.h"
#include "space/ZylChordDomain.h"
#include "space/ZylChordFilterDomain.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceDomainSet.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace
{
int fitCompId()
{
    return benchVocabulary().domains->getChordAssistDomain()->getFitCompValue()->getId();
}

constexpr int kAllFilterId = 0;
constexpr int kChromaticScale = 0;
constexpr int kKeyOfC = 0;

// Ranks all 39 chords on the middle cell of a freshly laid-out grid, so that every chord is
// placed and nothing comes from a cache: the first "Fit Comp" trigger on a root.
void coldRanking(benchmark::State& state, const BenchGrid& grid)
{
    auto& v = benchVocabulary();
    BenchCellFilter filter(*v.table, v.scales[kChromaticScale], v.keys[kKeyOfC]);
    BenchChordEnumerator all(ZylChordFilterDomain::kAll, kAllFilterId, fitCompId());
    ZylSpace space;
    std::vector<ZylCellSet*> shapes;
    size_t ranked = 0;
    for (auto _ : state)
    {
        layOut(space, grid); // a new layout empties both caches
        const ZylCell* root = middleCell(space);
        const auto start = std::chrono::steady_clock::now();
        space.findChordShapes(root, shapes, ZylSpace::kScoreByDistance, false, &filter, &all);
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(shapes.data());
        ranked = shapes.size();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["chords_ranked"] = double(ranked);
    state.SetLabel(grid.label);
}
BENCHMARK_CAPTURE(coldRanking, one_two, kBenchGridOneTwo)
    ->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(coldRanking, longuet_higgins, kBenchGridLonguetHiggins)
    ->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

// A repeated "Fit Comp" trigger on one root: the ranked list and the placed chord both come
// from the caches.
void warmTrigger(benchmark::State& state, const BenchGrid& grid)
{
    auto& v = benchVocabulary();
    BenchCellFilter filter(*v.table, v.scales[kChromaticScale], v.keys[kKeyOfC]);
    BenchChordEnumerator all(ZylChordFilterDomain::kAll, kAllFilterId, fitCompId());
    ZylSpace space;
    layOut(space, grid);
    const ZylCell* root = middleCell(space);
    std::vector<ZylCellSet*> shapes;
    std::vector<ZylCell*> cells;
    auto trigger = [&] {
        space.findChordShapes(root, shapes, ZylSpace::kScoreByDistance, true, &filter, &all);
        cells.clear();
        if (!shapes.empty())
            space.getChordCells(shapes.front()->getChord()->intervals, root, cells, nullptr);
    };
    trigger();
    for (auto _ : state)
    {
        trigger();
        benchmark::DoNotOptimize(cells.data());
    }
    state.counters["chord_notes"] = double(cells.size());
    state.SetLabel(grid.label);
}
BENCHMARK_CAPTURE(warmTrigger, one_two, kBenchGridOneTwo)->Unit(benchmark::kNanosecond);
BENCHMARK_CAPTURE(warmTrigger, longuet_higgins, kBenchGridLonguetHiggins)->Unit(benchmark::kNanosecond);

// What the caches of one grid hold after 10,000 distinct (root, key, scale, chord filter)
// "Fit Comp" rankings, spread over every key, scale and group.
void cacheMemory(benchmark::State& state)
{
    constexpr int kRankings = 10000;
    // Coprime with the number of combinations, so the strided walk never repeats one.
    constexpr std::int64_t kStride = 100003;

    auto& v = benchVocabulary();
    std::vector<std::unique_ptr<BenchCellFilter>> filters; // scale-major
    for (const auto* scale : v.scales)
        for (const auto* key : v.keys)
            filters.push_back(std::make_unique<BenchCellFilter>(*v.table, scale, key));
    std::vector<std::unique_ptr<BenchChordEnumerator>> groups;
    const auto& filterValues = v.domains->getChordFilterDomain()->getValues();
    for (size_t i = 0; i < filterValues.size(); ++i)
        groups.push_back(std::make_unique<BenchChordEnumerator>(v.filterTags[i], filterValues[i]->getId(), fitCompId()));

    for (auto _ : state)
    {
        state.PauseTiming();
        auto space = std::make_unique<ZylSpace>();
        layOut(*space, kBenchGridLonguetHiggins);
        const auto roots = visibleCells(*space);
        std::vector<ZylCellSet*> shapes;
        shapes.reserve(64);
        const std::int64_t combinations = std::int64_t(roots.size()) * std::int64_t(filters.size()) * std::int64_t(groups.size());
        const std::int64_t before = benchLiveHeapBytes();
        state.ResumeTiming();

        for (std::int64_t i = 0; i < kRankings; ++i)
        {
            std::int64_t c = (i * kStride) % combinations;
            const auto* root = roots[size_t(c % std::int64_t(roots.size()))];
            c /= std::int64_t(roots.size());
            auto* group = groups[size_t(c % std::int64_t(groups.size()))].get();
            c /= std::int64_t(groups.size());
            auto* filter = filters[size_t(c)].get();
            space->findChordShapes(root, shapes, ZylSpace::kScoreByDistance, true, filter, group);
        }

        state.PauseTiming();
        const std::int64_t cacheBytes = benchLiveHeapBytes() - before;
        state.counters["cache_MiB"] = double(cacheBytes) / (1024.0 * 1024.0);
        state.counters["bytes_per_ranking"] = double(cacheBytes) / kRankings;
        space.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(cacheMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace
