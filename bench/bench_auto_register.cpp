// Auto Register's worst case: a photo-like picture of the work area's size (560 x 800 pixels,
// gradients, soft shapes and grain) at each sensitivity, the whole run with the stitches of
// every part made by Seamlib. Beside the time: the frequent colours found, the parts made,
// and the longest stretch without a word to the progress bar (a report or a stage; Cancel is
// answered at the same points), which bounds how long a Cancel waits.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>

#include "design/hoop.h"
#include "digitizer/auto_register.h"
#include "digitizer/make_stitch.h"
#include "digitizer/stitch_design.h"
#include "testing/photo_picture.h"

namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 800;

// The run's view of a design: parts in a CStitchDesign, their stitches made by Seamlib.
class BenchDesign : public digitizer::AutoRegisterDesign {
 public:
  BenchDesign() {
    design.SetHoop(design::kLargeHoop);
    design.ResetStitches();
  }
  void DeleteAllParts() override { design.ClearParts(); }
  bool AddPart(int threadCode, int stitchTypeCode, std::span<const uint8_t> regionMask) override {
    if (design.GetPartCount() >= digitizer::kMaxParts) return false;
    uint8_t* mask = design.AddPart(static_cast<int16_t>(threadCode), static_cast<uint16_t>(stitchTypeCode));
    std::copy_n(regionMask.begin(), std::min(regionMask.size(), design.MaskBytes()), mask);
    return true;
  }
  int PartCount() const override { return design.GetPartCount(); }
  int GenerateStitches(int part) override { return stitchRun.GenerateStitches(design, part); }
  void StoreOutline(std::span<const uint8_t>, int, int) override {}

  digitizer::CStitchDesign design;
  digitizer::MakeStitchRun stitchRun;
};

digitizer::PixelImage PhotoLikePicture() {
  const auto pixels = vtest::PhotoLikePixels(kWidth, kHeight, 3);
  digitizer::PixelImage picture(kWidth, kHeight, platform::kPaletteWhite);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) picture.Set(x, y, pixels[static_cast<std::size_t>(y) * kWidth + x]);
  }
  return picture;
}

void BM_AutoRegisterPhoto(benchmark::State& state) {
  const digitizer::PixelImage source = PhotoLikePicture();
  digitizer::AutoRegisterRun run(kWidth, kHeight);
  BenchDesign design;
  const std::atomic<bool> cancel{false};
  digitizer::AutoRegisterSettings settings;
  settings.outline.sensitivity = static_cast<int>(state.range(0));
  settings.addOutlinePart = true;
  using Clock = std::chrono::steady_clock;
  double longestGapMs = 0;
  int colours = 0;
  for (auto _ : state) {
    state.PauseTiming();
    digitizer::PixelImage fill = source;
    digitizer::PixelImage line(kWidth, kHeight, platform::kPaletteWhite);
    state.ResumeTiming();
    Clock::time_point last = Clock::now();
    const auto started = last;
    auto heard = [&] {
      const Clock::time_point now = Clock::now();
      longestGapMs = std::max(longestGapMs, std::chrono::duration<double, std::milli>(now - last).count());
      last = now;
    };
    run.SetStageProgress([&](int) { heard(); });
    run.Run(fill, line, design, settings, cancel, [&](int, int found) {
      heard();
      colours = found;
    });
    longestGapMs = std::max(longestGapMs, std::chrono::duration<double, std::milli>(Clock::now() - last).count());
    benchmark::DoNotOptimize(started);
  }
  state.counters["colours"] = colours;
  state.counters["parts"] = design.PartCount();
  state.counters["longest_gap_ms"] = longestGapMs;
}
BENCHMARK(BM_AutoRegisterPhoto)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
