// The picture view's hot paths on the large hoop's work area (560 x 800 pixels): the flood
// fill a click selects a region with (a whole open area, and a comb whose teeth make the fill
// turn at every row), and Register, which packs the selection into the part's mask and makes
// its stitches.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench/null_hosts.h"
#include "digitizer/flood_fill.h"
#include "digitizer/picture_view.h"
#include "platform/profile.h"

namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 800;
const platform::PaletteColour kGrey = digitizer::pview_colour::kFillSelection;

// Vertical black teeth from alternate edges: one region that winds through the whole area.
digitizer::PixelImage Comb() {
  digitizer::PixelImage picture(kWidth, kHeight, platform::kPaletteWhite);
  for (int x = 4; x < kWidth; x += 4) {
    const bool fromTop = (x / 4) % 2 == 0;
    for (int y = fromTop ? 0 : 4; y < (fromTop ? kHeight - 4 : kHeight); ++y) picture.Set(x, y, platform::kPaletteBlack);
  }
  return picture;
}

void BM_FloodFillOpenArea(benchmark::State& state) {
  digitizer::PixelImage picture(kWidth, kHeight, platform::kPaletteWhite);
  digitizer::BorderFloodFill fill;
  bool grey = false;
  for (auto _ : state) {
    grey = !grey;
    benchmark::DoNotOptimize(fill.Fill(picture, 280, 400, grey ? kGrey : platform::kPaletteWhite, platform::kPaletteBlack));
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_FloodFillOpenArea)->Unit(benchmark::kMillisecond);

void BM_FloodFillComb(benchmark::State& state) {
  digitizer::PixelImage picture = Comb();
  digitizer::BorderFloodFill fill;
  bool grey = false;
  for (auto _ : state) {
    grey = !grey;
    benchmark::DoNotOptimize(fill.Fill(picture, 1, 1, grey ? kGrey : platform::kPaletteWhite, platform::kPaletteBlack));
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_FloodFillComb)->Unit(benchmark::kMillisecond);


// One Register of a 400 x 600 pixel rectangle (100 x 150 mm of horizontal weave) on the large
// hoop, selected afresh before each run; the design is emptied between runs.
void BM_RegisterLargeRegion(benchmark::State& state) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  platform::SetProfileRoot(folder);
  digitizer::CImportDoc doc(folder);
  doc.Design().SetHoop(2);
  bench::NullPictureViewHost host;
  digitizer::BmpViewModel view(doc, host);
  view.SetDrawingSize(kWidth, kHeight);
  view.OnInitialUpdate();
  for (auto _ : state) {
    state.PauseTiming();
    doc.Design().ClearParts();
    doc.Design().SetEditState(digitizer::kNothingMade);
    view.FillBitmap().FillRect(0, 0, kWidth, kHeight, platform::kPaletteWhite);
    view.FillBitmap().FillRect(80, 100, 480, 700, kGrey);
    state.ResumeTiming();
    view.OnRegister();
  }
  if (doc.Design().GetStitchCount() <= 0) state.SkipWithError("no stitches made");
}
BENCHMARK(BM_RegisterLargeRegion)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
