// Combine mode's hot paths: the box test that runs for every design under the box on every
// mouse move, and the merge of two large designs (transform, join and append).

#include <benchmark/benchmark.h>

#include <memory>

#include "bench/bench_designs.h"
#include "editor/combine_mode.h"
#include "editor/design_combiner.h"

namespace {

void BM_DesignInsideBox(benchmark::State& state) {
  const design::StitchRecord design = bench::MakeWanderingDesign(65000, 500, 500);
  const auto rotation = static_cast<int32_t>(state.range(0));
  // The box holds the whole design, so every needle point is tested.
  const editor::LayoutBounds bounds{-1000, -1000, 1400, 1400};
  for (auto _ : state) {
    benchmark::DoNotOptimize(editor::DesignInsideBox(design, rotation, 200, 200, bounds));
  }
  state.SetItemsProcessed(state.iterations() * 65000);
}
BENCHMARK(BM_DesignInsideBox)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond);

void BM_CombineTwoDesigns(benchmark::State& state) {
  editor::DesignObject first, second;
  first.source = std::make_shared<design::StitchRecord>(bench::MakeWanderingDesign(30000, 500, 500, 7));
  second.source = std::make_shared<design::StitchRecord>(bench::MakeWanderingDesign(30000, 500, 500, 11));
  first.centreX = 200, first.centreY = 250;
  second.centreX = 300, second.centreY = 250;
  second.rotation = static_cast<int32_t>(state.range(0));
  design::StitchRecord output;
  for (auto _ : state) {
    editor::CDesignCombiner combiner;
    editor::LayoutPoint centre;
    if (combiner.Combine(first, output, 1, centre, 2) != editor::kCombined ||
        combiner.Combine(second, output, 2, centre, 2) != editor::kCombined) {
      state.SkipWithError("the designs were not combined");
      break;
    }
    benchmark::DoNotOptimize(output.Stitches());
  }
  state.SetItemsProcessed(state.iterations() * 60000);
}
BENCHMARK(BM_CombineTwoDesigns)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
