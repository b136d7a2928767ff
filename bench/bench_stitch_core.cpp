// The stitch core on the largest design an editor record holds: 65,535 pairs.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "bench/bench_designs.h"
#include "design/stitch_encoder.h"
#include "design/stitch_record.h"

namespace {

constexpr int kPairs = 65535;

design::StitchRecord MakeLargeDesign() { return bench::MakeWanderingDesign(kPairs, 600, 900); }

void BM_Recentre(benchmark::State& state) {
  const design::StitchRecord source = MakeLargeDesign();
  design::StitchRecord work;
  design::CStitchEncoder encoder;
  for (auto _ : state) {
    state.PauseTiming();
    work = source;
    state.ResumeTiming();
    auto result = encoder.Recentre(work);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * source.PairCount());
}
BENCHMARK(BM_Recentre)->Unit(benchmark::kMicrosecond);

// The import's size check: the same design measured as re-centring would place it.
void BM_RecentredExtents(benchmark::State& state) {
  const design::StitchRecord source = MakeLargeDesign();
  for (auto _ : state) {
    auto extents = design::RecentredExtents(source.StitchArea());
    benchmark::DoNotOptimize(extents);
  }
  state.SetItemsProcessed(state.iterations() * source.PairCount());
}
BENCHMARK(BM_RecentredExtents)->Unit(benchmark::kMicrosecond);

void BM_EncodeMoves(benchmark::State& state) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> move(-2000, 2000);
  std::vector<std::pair<int, int>> moves(4096);
  for (auto& m : moves) m = {move(random), move(random)};
  std::vector<uint8_t> out(1 << 20);
  design::CStitchEncoder encoder;
  for (auto _ : state) {
    std::size_t pos = 0;
    for (const auto& [mx, my] : moves) {
      if (!encoder.EncodeMove(mx, my, out, pos)) pos = 0;
    }
    benchmark::DoNotOptimize(pos);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(moves.size()));
}
BENCHMARK(BM_EncodeMoves)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
