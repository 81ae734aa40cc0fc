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

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
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
    state.counters["cache_KiB"] = double(space.getCacheBytes()) / 1024.0;
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

// Distinct rankings the way the space module asks for them on one grid: every root, key and
// scale, chord group and fit assist ("Fit Comp" ranks by distance, the others by rank). A
// strided walk through the combinations never repeats one.
struct RankingWalk
{
    RankingWalk()
    {
        auto& v = benchVocabulary();
        for (const auto* scale : v.scales) // scale-major
            for (const auto* key : v.keys)
                filters.push_back(std::make_unique<BenchCellFilter>(*v.table, scale, key));
        const auto* assists = v.domains->getChordAssistDomain();
        const ZylValue* fits[] = { assists->getFitCompValue(), assists->getFitBestValue(),
                                   assists->getFitCyclValue(), assists->getFitRandValue() };
        const auto& filterValues = v.domains->getChordFilterDomain()->getValues();
        for (const ZylValue* fit : fits)
            for (size_t i = 0; i < filterValues.size(); ++i)
            {
                groups.push_back(std::make_unique<BenchChordEnumerator>(v.filterTags[i], filterValues[i]->getId(), fit->getId()));
                modes.push_back(fit == fits[0] ? ZylSpace::kScoreByDistance : ZylSpace::kScoreByRank);
            }
    }

    std::int64_t combinations(size_t numRoots) const
    {
        return std::int64_t(numRoots) * std::int64_t(filters.size()) * std::int64_t(groups.size());
    }

    // The i-th distinct ranking, best only as the fit assists but "Fit Cycl" and "Fit Rand" ask.
    void rank(ZylSpace& space, const std::vector<ZylCell*>& roots, std::int64_t i,
              std::vector<ZylCellSet*>& shapes) const
    {
        // A prime above half the combinations and not one of their factors.
        constexpr std::int64_t kStride = 1000003;
        std::int64_t c = (i * kStride) % combinations(roots.size());
        const auto* root = roots[size_t(c % std::int64_t(roots.size()))];
        c /= std::int64_t(roots.size());
        const size_t g = size_t(c % std::int64_t(groups.size()));
        c /= std::int64_t(groups.size());
        space.findChordShapes(root, shapes, modes[g], modes[g] == ZylSpace::kScoreByDistance,
                              filters[size_t(c)].get(), groups[g].get());
    }

    std::vector<std::unique_ptr<BenchCellFilter>> filters;
    std::vector<std::unique_ptr<BenchChordEnumerator>> groups;
    std::vector<int> modes;
};

// What the caches of one grid hold after many distinct rankings: the heap they take at the end
// and at its highest (sampled every 1,000 rankings), against the space's budget.
void cacheMemory(benchmark::State& state)
{
    const std::int64_t rankings = state.range(0);
    const RankingWalk walk;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto space = std::make_unique<ZylSpace>();
        layOut(*space, kBenchGridLonguetHiggins);
        const auto roots = visibleCells(*space);
        if (walk.combinations(roots.size()) < rankings)
            state.SkipWithError("fewer combinations than rankings");
        std::vector<ZylCellSet*> shapes;
        shapes.reserve(64);
        const std::int64_t before = benchLiveHeapBytes();
        std::int64_t peak = 0;
        state.ResumeTiming();

        for (std::int64_t i = 0; i < rankings; ++i)
        {
            walk.rank(*space, roots, i, shapes);
            if (i % 1000 == 999)
                peak = std::max(peak, benchLiveHeapBytes() - before);
        }

        state.PauseTiming();
        const std::int64_t cacheBytes = benchLiveHeapBytes() - before;
        peak = std::max(peak, cacheBytes);
        constexpr double kMiB = 1024.0 * 1024.0;
        state.counters["cache_MiB"] = double(cacheBytes) / kMiB;
        state.counters["peak_MiB"] = double(peak) / kMiB;
        state.counters["counted_MiB"] = double(space->getCacheBytes()) / kMiB;
        state.counters["cap_MiB"] = double(space->getCacheLimit()) / kMiB;
        state.counters["bytes_per_ranking"] = double(cacheBytes) / double(rankings);
        space.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(cacheMemory)->Arg(10000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The cost of a new ranking once the caches are full, so that each one first evicts the least
// recently used entries (arg 1), against the same rankings with a budget that never fills
// (arg 0). Both warm up with the same 30,000 rankings, so their tables are equally large.
void rankingAfterEviction(benchmark::State& state)
{
    constexpr std::int64_t kWarmUp = 30000;
    const bool capped = state.range(0) != 0;
    const RankingWalk walk;
    ZylSpace space;
    layOut(space, kBenchGridLonguetHiggins);
    if (!capped)
        space.setCacheLimit(std::numeric_limits<std::size_t>::max());
    const auto roots = visibleCells(space);
    std::vector<ZylCellSet*> shapes;
    shapes.reserve(64);
    std::int64_t i = 0;
    for (; i < kWarmUp; ++i)
        walk.rank(space, roots, i, shapes);

    std::vector<double> times;
    times.reserve(size_t(state.max_iterations));
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        walk.rank(space, roots, i++, shapes);
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(shapes.data());
        const double seconds = std::chrono::duration<double>(end - start).count();
        times.push_back(seconds);
        state.SetIterationTime(seconds);
    }
    std::sort(times.begin(), times.end());
    state.counters["p99_us"] = times[times.size() * 99 / 100] * 1e6;
    state.counters["max_us"] = times.back() * 1e6;
    state.counters["cache_MiB"] = double(space.getCacheBytes()) / (1024.0 * 1024.0);
    state.SetLabel(capped ? "full 4 MiB caches, evicting" : "no budget, nothing evicted");
}
BENCHMARK(rankingAfterEviction)->Arg(1)->Arg(0)->UseManualTime()->Iterations(20000)
    ->Unit(benchmark::kMicrosecond);
} // namespace
