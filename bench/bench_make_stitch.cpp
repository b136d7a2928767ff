// The Make Stitch run's per-part work: thinning a line part's region, rescaling a mask, and
// flipping and turning a whole design's stitches.
#include <benchmark/benchmark.h>

#include <vector>

#include "digitizer/make_stitch.h"
#include "digitizer/make_stitch_transform.h"

namespace {

using digitizer::CStitchDesign;

std::vector<uint8_t> BlockMask(int left, int top, int right, int bottom) {
  std::vector<uint8_t> mask(CStitchDesign::kWorkMaskBytes, 0);
  for (int row = top; row <= bottom; ++row) {
    for (int column = left; column <= right; ++column) mask[row * 562 + column] = 1;
  }
  return mask;
}

void BM_ThinRegion(benchmark::State& state) {
  const std::vector<uint8_t> source = BlockMask(50, 100, 450, 160);
  std::vector<uint8_t> mask(source.size());
  std::vector<uint8_t> snapshot(source.size());
  for (auto _ : state) {
    mask = source;
    digitizer::pixel_mask::ThinRegion(mask.data(), snapshot.data());
    benchmark::DoNotOptimize(mask.data());
  }
}
BENCHMARK(BM_ThinRegion);

void BM_RescaleWholeArea(benchmark::State& state) {
  const std::vector<uint8_t> source = BlockMask(1, 1, 560, 800);
  std::vector<uint8_t> out(source.size());
  for (auto _ : state) {
    digitizer::pixel_mask::Rescale(source.data(), out.data(), 561, 801, 99);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_RescaleWholeArea);

// 50,000 short stitches zigzagging over the hoop, in a whole record's stitch area.
std::vector<uint8_t> ZigzagDesign() {
  std::vector<uint8_t> design;
  for (int k = 0; k < 50000; ++k) {
    design.push_back(static_cast<uint8_t>(k % 2 == 0 ? 30 : -30));
    design.push_back(static_cast<uint8_t>(k % 400 < 200 ? 2 : -2));
  }
  design.push_back(0x80);
  design.push_back(0x10);
  design.resize(CStitchDesign::kRecordBytes - 740, 0);
  return design;
}

void BM_TurnDesign(benchmark::State& state) {
  const std::vector<uint8_t> design = ZigzagDesign();
  digitizer::MakeStitchTransformer transformer(design.size());
  std::vector<uint8_t> work(design.size());
  for (auto _ : state) {
    work = design;
    benchmark::DoNotOptimize(transformer.Transform(work, 1, 330));
  }
  state.SetItemsProcessed(state.iterations() * 50000);
}
BENCHMARK(BM_TurnDesign);

void BM_SizeDesign(benchmark::State& state) {
  const std::vector<uint8_t> design = ZigzagDesign();
  digitizer::MakeStitchTransformer transformer(design.size());
  std::vector<uint8_t> work(design.size());
  for (auto _ : state) {
    work = design;
    benchmark::DoNotOptimize(transformer.Scale(work, 120));
  }
  state.SetItemsProcessed(state.iterations() * 50000);
}
BENCHMARK(BM_SizeDesign);

}  // namespace

BENCHMARK_MAIN();
