// The picture digitizer's colour reduction on a picture of the work area's size (560 x 800
// pixels): quantising and counting, one colour's mask, the whole outline, and the Auto Register
// run's region work (gap closing, cleaning, part masks) with stitch making left out.

#include <benchmark/benchmark.h>

#include <atomic>
#include <vector>

#include "digitizer/auto_register.h"
#include "digitizer/colour_reduction.h"

namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 800;

// Twelve colour patches with soft (noisy) channels on white, so quantising has work to do.
digitizer::PixelImage Patches() {
  digitizer::PixelImage picture(kWidth, kHeight, platform::kPaletteWhite);
  for (int patch = 0; patch < 12; ++patch) {
    const int left = 20 + (patch % 3) * 180;
    const int top = 20 + (patch / 3) * 195;
    for (int y = top; y < top + 160; ++y) {
      for (int x = left; x < left + 150; ++x) {
        const int noise = (x * 7 + y * 13) % 9;
        picture.Set(x, y,
                    platform::PaletteRgb(static_cast<uint8_t>((patch * 40 + noise) & 0xFF),
                                         static_cast<uint8_t>((patch * 90 + noise) & 0xFF),
                                         static_cast<uint8_t>((255 - patch * 20 + noise) & 0xFF)));
      }
    }
  }
  return picture;
}

void BM_QuantizeAndCount(benchmark::State& state) {
  const digitizer::PixelImage source = Patches();
  digitizer::PixelImage target(kWidth, kHeight, 0);
  digitizer::ColourBinCounts counts{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(digitizer::QuantizeAndCount(source, target, digitizer::kSensitivityMedium,
                                                         digitizer::kOutlineBinThreshold, counts));
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_QuantizeAndCount)->Unit(benchmark::kMillisecond);

void BM_BinMask(benchmark::State& state) {
  digitizer::PixelImage picture = Patches();
  digitizer::ColourBinCounts counts{};
  digitizer::QuantizeAndCount(picture, picture, digitizer::kSensitivityMedium, 0, counts);
  const int bin = digitizer::TakeLargestBin(counts, 0xEEE).bin;
  const digitizer::CBitMask mask(kWidth, kHeight);
  std::vector<uint8_t> packed(mask.PackedBytes());
  for (auto _ : state) benchmark::DoNotOptimize(digitizer::BinMask(picture, bin, mask, packed));
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_BinMask)->Unit(benchmark::kMillisecond);

void BM_BuildOutline(benchmark::State& state) {
  const digitizer::PixelImage source = Patches();
  digitizer::PixelImage target(kWidth, kHeight, 0);
  digitizer::OutlineBuilder builder(kWidth, kHeight);
  digitizer::OutlineOptions options;
  options.lineThickness = static_cast<int>(state.range(0));
  for (auto _ : state) {
    builder.Build(source, target, options);
    benchmark::DoNotOptimize(builder.Accumulated().data());
  }
}
BENCHMARK(BM_BuildOutline)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);

class CountingDesign : public digitizer::AutoRegisterDesign {
 public:
  void DeleteAllParts() override { parts = 0; }
  bool AddPart(int, int, std::span<const uint8_t>) override {
    ++parts;
    return true;
  }
  int PartCount() const override { return parts; }
  int GenerateStitches(int) override { return 0; }
  void StoreOutline(std::span<const uint8_t>, int, int) override {}
  int parts = 0;
};

void BM_AutoRegisterRegions(benchmark::State& state) {
  const digitizer::PixelImage source = Patches();
  digitizer::AutoRegisterRun run(kWidth, kHeight);
  CountingDesign design;
  const std::atomic<bool> cancel{false};
  digitizer::AutoRegisterSettings settings;
  settings.addOutlinePart = true;
  for (auto _ : state) {
    state.PauseTiming();
    digitizer::PixelImage fill = source;
    digitizer::PixelImage line(kWidth, kHeight, platform::kPaletteWhite);
    state.ResumeTiming();
    run.Run(fill, line, design, settings, cancel, nullptr);
    benchmark::DoNotOptimize(design.parts);
  }
}
BENCHMARK(BM_AutoRegisterRegions)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
