// Transforms and the sewing-time estimate on a 65,000-pair design: the largest that still
// leaves the transforms room to grow within the editor's record.

#include <benchmark/benchmark.h>

#include "bench/bench_designs.h"
#include "design/layout_stitch_record.h"
#include "design/sew_time_estimator.h"
#include "design/stitch_transformer.h"

namespace {

constexpr int kPairs = 65000;

// Within 450 x 650 of its first point, so that 1.5 times the size stays in the large hoop.
const design::StitchRecord& Design() {
  static const design::StitchRecord record = bench::MakeWanderingDesign(kPairs, 450, 650);
  return record;
}

void BM_TransformMirrorScaleRotate(benchmark::State& state) {
  design::CStitchTransformer transformer;
  design::StitchRecord target;
  int copied = 0;
  if (!transformer.Transform(Design(), target, 1.5, 1.5, copied, true, false, 30, true)) {
    state.SkipWithError("the design does not transform");
    return;
  }
  for (auto _ : state) {
    const bool ok = transformer.Transform(Design(), target, 1.5, 1.5, copied, true, false, 30, true);
    benchmark::DoNotOptimize(ok);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPairs);
}
BENCHMARK(BM_TransformMirrorScaleRotate)->Unit(benchmark::kMicrosecond);

void BM_LayoutTransformMirrorScaleRotate(benchmark::State& state) {
  design::LayoutStitchRecord source;
  std::copy(Design().Stitches(), Design().Stitches() + 2 * kPairs, source.Stitches());
  design::CLayoutStitchTransformer transformer;
  design::LayoutStitchRecord target;
  int copied = 0;
  if (!transformer.Transform(source, target, 1.5, 1.5, copied, true, false, 30)) {
    state.SkipWithError("the design does not transform");
    return;
  }
  for (auto _ : state) {
    const bool ok = transformer.Transform(source, target, 1.5, 1.5, copied, true, false, 30);
    benchmark::DoNotOptimize(ok);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPairs);
}
BENCHMARK(BM_LayoutTransformMirrorScaleRotate)->Unit(benchmark::kMicrosecond);

void BM_SewTimeEstimate(benchmark::State& state) {
  const design::StitchRecord& record = Design();
  for (auto _ : state) {
    const int64_t ms = design::CSewTimeEstimator().Estimate(
        record.PairCount(), record.StitchArea(), design::kImportEstimateSpeed);
    benchmark::DoNotOptimize(ms);
  }
  state.SetItemsProcessed(state.iterations() * kPairs);
}
BENCHMARK(BM_SewTimeEstimate)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
