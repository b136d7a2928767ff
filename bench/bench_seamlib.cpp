// Stitch generation on the largest part: the full 560 x 800 work area, woven across and at
// 45 degrees, a part of 120 separate regions, and the region labelling of the full mask on
// its own.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "stitchgen/mask_preparation.h"
#include "stitchgen/pixel_plane.h"
#include "stitchgen/seamlib.h"

namespace {

std::vector<uint8_t> FullMask() {
  std::vector<uint8_t> mask(seamlib::kMaskBytes, 0);
  for (int y = 1; y <= seamlib::kWorkRows; ++y) {
    for (int x = 1; x <= seamlib::kWorkColumns; ++x) mask[y * seamlib::kMaskStride + x] = 1;
  }
  return mask;
}

// 120 separate 30 x 30 squares: the most regions a part may have, nearly.
std::vector<uint8_t> ManyRegionsMask() {
  std::vector<uint8_t> mask(seamlib::kMaskBytes, 0);
  for (int square = 0; square < 120; ++square) {
    const int left = 10 + (square % 12) * 45;
    const int top = 10 + (square / 12) * 78;
    for (int y = top; y < top + 30; ++y) {
      for (int x = left; x < left + 30; ++x) mask[y * seamlib::kMaskStride + x] = 1;
    }
  }
  return mask;
}

void WeavePart(benchmark::State& state, const std::vector<uint8_t>& source, int typeCode) {
  std::vector<uint8_t> work;
  std::unique_ptr<char[]> area(new char[kSeamlibStitchAreaBytes]);
  int result = 0;
  for (auto _ : state) {
    state.PauseTiming();
    work = source;  // the caller hands over a fresh copy for every call
    state.ResumeTiming();
    result = StChgStitch(typeCode, 1, 560, 800, area.get(), work.data(), nullptr, 0);
    benchmark::DoNotOptimize(result);
  }
  state.counters["pairs"] = result;
}

void BM_HorizontalWeaveFullArea(benchmark::State& state) { WeavePart(state, FullMask(), 0); }
void BM_DiagonalWeave45FullArea(benchmark::State& state) {
  WeavePart(state, FullMask(), (45 << 8) | 1);
}
void BM_HorizontalWeave120Regions(benchmark::State& state) {
  WeavePart(state, ManyRegionsMask(), 0);
}

void BM_LabelRegionsFullArea(benchmark::State& state) {
  const std::vector<uint8_t> source = FullMask();
  std::vector<uint8_t> work;
  for (auto _ : state) {
    state.PauseTiming();
    work = source;
    state.ResumeTiming();
    benchmark::DoNotOptimize(seamlib::LabelRegions(seamlib::MaskPlane(work.data())));
  }
}

BENCHMARK(BM_HorizontalWeaveFullArea)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DiagonalWeave45FullArea)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HorizontalWeave120Regions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LabelRegionsFullArea)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
