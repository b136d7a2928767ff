// The All Colors view on the largest design: 78 parts, each a region mask of the large hoop's
// work area (560 x 800 pixels) half covered, plotted into the dialog's 300 x 300 frame. Once
// as plain fills and once as 5 mm zigzags, whose 12 x 12 squares are the most painting a
// mask pixel can cost.

#include <benchmark/benchmark.h>

#include <cstdint>

#include "design/thread_colors.h"
#include "digitizer/all_colors_view.h"
#include "digitizer/bit_mask.h"
#include "digitizer/part_names.h"

namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 800;
constexpr int kArea = 300;

void FillParts(digitizer::CPartList& parts, uint16_t stitch) {
  const digitizer::CBitMask bits(kWidth, kHeight);
  const int rowBytes = digitizer::CBitMask::PackedRowBytes(kWidth);
  const auto& table = design::ExtendedThreadColorTable();
  for (int part = 0; part < digitizer::kMaxParts; ++part) {
    uint8_t* mask = parts.AddPart(static_cast<int16_t>(table[static_cast<std::size_t>(part)].code), stitch,
                                  bits.PackedBytes());
    // Every other row band of 8 pixels, shifted per part: half the pixels set.
    for (int y = 0; y < kHeight; ++y) {
      if (((y + part) / 8) % 2 == 0) std::fill_n(mask + static_cast<std::size_t>(y) * rowBytes, kWidth / 8, 0xFF);
    }
  }
  parts.SaveOrder();
}

void BM_AllColorsFills(benchmark::State& state) {
  digitizer::CPartList parts;
  FillParts(parts, digitizer::MakeStitchCode(digitizer::kHorizontalWeave, 0));
  for (auto _ : state) benchmark::DoNotOptimize(digitizer::DrawAllColors(parts, kWidth, kHeight, kArea, kArea));
}
BENCHMARK(BM_AllColorsFills)->Unit(benchmark::kMillisecond);

void BM_AllColorsWideZigzags(benchmark::State& state) {
  digitizer::CPartList parts;
  FillParts(parts, digitizer::MakeStitchCode(digitizer::kZigzag5mm, 0));
  for (auto _ : state) benchmark::DoNotOptimize(digitizer::DrawAllColors(parts, kWidth, kHeight, kArea, kArea));
}
BENCHMARK(BM_AllColorsWideZigzags)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
