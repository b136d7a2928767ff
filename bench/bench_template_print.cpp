// Template printing: a large design (60,000 pairs over the large hoop) drawn into the
// outline mask, its inside cleared, its edges traced, and the whole outline and colour
// drawings of one design onto a canvas that only counts.

#include <benchmark/benchmark.h>

#include <vector>

#include "bench/bench_designs.h"
#include "layoutcore/outline_tracer.h"
#include "layoutcore/template_printer.h"
#include "platform/canvas.h"

namespace {

constexpr int kPairs = 60000;
constexpr int kHalfWidth = 650;   // 0.1 mm: inside the 140 x 200 mm hoop
constexpr int kHalfHeight = 950;

class CountingCanvas : public platform::Canvas {
 public:
  void SetPen(platform::PaletteColour, int, platform::PenStyle) override {}
  void MoveTo(int x, int y) override { sum_ += x + y; }
  void LineTo(int x, int y) override { sum_ += x - y; }
  void Polyline(std::span<const platform::CanvasPoint> points) override { sum_ += points.size(); }
  void Rectangle(const platform::CanvasRect&) override {}
  void FillRect(const platform::CanvasRect&, platform::PaletteColour) override {}
  void Text(int, int, const std::string&, platform::PaletteColour) override {}
  long long Sum() const { return sum_; }

 private:
  long long sum_ = 0;
};

const design::StitchRecord& Design() {
  static const design::StitchRecord record = bench::MakeWanderingDesign(kPairs, kHalfWidth, kHalfHeight);
  return record;
}

void BM_RenderOutlineMask(benchmark::State& state) {
  editor::COutlineTracer tracer(editor::kOutlineMaskWidth, editor::kOutlineBitmapHeight);
  for (auto _ : state) {
    tracer.ClearMask();
    editor::RenderOutlineMask(Design(), tracer.Mask(), tracer.Width(), tracer.Height());
    benchmark::DoNotOptimize(tracer.Mask().data());
  }
  state.SetItemsProcessed(state.iterations() * kPairs);
}
BENCHMARK(BM_RenderOutlineMask);

void BM_KeepEdgesAndTrace(benchmark::State& state) {
  editor::COutlineTracer tracer(editor::kOutlineMaskWidth, editor::kOutlineBitmapHeight);
  editor::RenderOutlineMask(Design(), tracer.Mask(), tracer.Width(), tracer.Height());
  const std::vector<uint8_t> drawn(tracer.Mask().begin(), tracer.Mask().end());
  for (auto _ : state) {
    std::copy(drawn.begin(), drawn.end(), tracer.Mask().begin());
    editor::KeepMaskEdges(tracer.Mask(), tracer.Width(), tracer.Height());
    benchmark::DoNotOptimize(tracer.TraceAll());
  }
  state.counters["points"] = static_cast<double>(tracer.Points().size() / 2);
  state.SetItemsProcessed(state.iterations() * tracer.Width() * tracer.Height());
}
BENCHMARK(BM_KeepEdgesAndTrace);

void BM_TraceAllOnly(benchmark::State& state) {
  editor::COutlineTracer tracer(editor::kOutlineMaskWidth, editor::kOutlineBitmapHeight);
  editor::RenderOutlineMask(Design(), tracer.Mask(), tracer.Width(), tracer.Height());
  editor::KeepMaskEdges(tracer.Mask(), tracer.Width(), tracer.Height());
  const std::vector<uint8_t> edges(tracer.Mask().begin(), tracer.Mask().end());
  for (auto _ : state) {
    std::copy(edges.begin(), edges.end(), tracer.Mask().begin());
    benchmark::DoNotOptimize(tracer.TraceAll());
  }
  state.SetItemsProcessed(state.iterations() * tracer.Width() * tracer.Height());
}
BENCHMARK(BM_TraceAllOnly);

// One whole template drawing of the design, turned 30 degrees, per iteration.
template <class Draw>
void DrawOnePrintedDesign(benchmark::State& state, Draw draw) {
  editor::CTemplatePrinter printer;
  printer.BeginPrinting({270, 190, 256, nullptr});
  CountingCanvas canvas;
  for (auto _ : state) draw(printer, canvas);
  benchmark::DoNotOptimize(canvas.Sum());
  state.SetItemsProcessed(state.iterations() * kPairs);
  printer.EndPrinting();
}

void BM_DrawDesignOutline(benchmark::State& state) {
  DrawOnePrintedDesign(state, [](editor::CTemplatePrinter& printer, CountingCanvas& canvas) {
    printer.DrawDesignOutline(canvas, Design(), {1350, -950}, 30);
  });
}
BENCHMARK(BM_DrawDesignOutline);

void BM_DrawStitchesForPrint(benchmark::State& state) {
  DrawOnePrintedDesign(state, [](editor::CTemplatePrinter& printer, CountingCanvas& canvas) {
    printer.DrawStitchesForPrint(canvas, Design(), {1350, -950}, 30);
  });
}
BENCHMARK(BM_DrawStitchesForPrint);

}  // namespace

BENCHMARK_MAIN();
