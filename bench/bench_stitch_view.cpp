// Drawing Pictorel's largest design in the stitch view and printing its template:
// 250,000 stitch pairs in 78 colour blocks on the large hoop.

#include <benchmark/benchmark.h>

#include "bench/image_canvas.h"
#include "design/hoop.h"
#include "digitizer/stitch_design.h"
#include "digitizer/stitch_print_template.h"
#include "digitizer/stitch_view_drawing.h"

namespace {

using digitizer::CStitchDesign;

// Small stitches wandering around the centre, a colour change every few thousand pairs and a
// jump now and then.
void MakeLargestDesign(CStitchDesign& design) {
  design.SetHoop(design::kLargeHoop);
  design.ResetStitches();
  design::StitchRecord& record = *design.Record();
  uint8_t* p = record.Stitches();
  constexpr int kBlocks = 78;
  const int pairs = digitizer::kMaxDesignPairs - 1;
  int i = 0;
  int block = 0;
  while (i + 3 < pairs) {
    if (i > 0 && i % 3200 == 0 && block + 1 < kBlocks) {
      p[2 * i] = 0x80, p[2 * i + 1] = 0x01, p[2 * i + 2] = 0, p[2 * i + 3] = 0;
      i += 2;
      ++block;
      continue;
    }
    if (i % 500 == 0) {
      p[2 * i] = 0x80, p[2 * i + 1] = 0x02;
      p[2 * i + 2] = static_cast<uint8_t>((i / 500) % 2 ? 40 : -40), p[2 * i + 3] = 10;
      i += 2;
      continue;
    }
    p[2 * i] = static_cast<uint8_t>(i % 7 - 3);
    p[2 * i + 1] = static_cast<uint8_t>(i % 5 - 2);
    ++i;
  }
  p[2 * i] = 0x80, p[2 * i + 1] = 0x10;
  record.SetPairCount(i + 1);
  record.SetColourCount(kBlocks);
  for (int b = 0; b < kBlocks; ++b) record.SetThreadCode(b, b + 1);
}

void BM_DrawLargestDesign(benchmark::State& state) {
  CStitchDesign design;
  MakeLargestDesign(design);
  bench::ImageCanvas canvas(1450, 2050);
  for (auto _ : state) {
    benchmark::DoNotOptimize(digitizer::DrawStitchDesign(design, canvas, digitizer::kFullZoom, 0));
  }
  state.SetItemsProcessed(state.iterations() * design.Record()->PairCount());
}
BENCHMARK(BM_DrawLargestDesign)->Unit(benchmark::kMillisecond);

void BM_PrintFirstPageOfLargestDesign(benchmark::State& state) {
  CStitchDesign design;
  MakeLargestDesign(design);
  bench::ImageCanvas canvas(2000, 2900);
  const platform::CanvasRect page{0, 0, 2000, 2700};
  for (auto _ : state) digitizer::DrawForPrint(design, canvas, 1, page);
}
BENCHMARK(BM_PrintFirstPageOfLargestDesign)->Unit(benchmark::kMillisecond);

// Page 2 carries the colour cells: each walks the design for its block.
void BM_PrintCellPageOfLargestDesign(benchmark::State& state) {
  CStitchDesign design;
  MakeLargestDesign(design);
  bench::ImageCanvas canvas(2000, 2900);
  const platform::CanvasRect page{0, 0, 2000, 2700};
  for (auto _ : state) digitizer::DrawForPrint(design, canvas, 2, page);
}
BENCHMARK(BM_PrintCellPageOfLargestDesign)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
