// The Maxiframe layout's hot paths: painting 50 designs of 20,000 pairs each (each checked
// against the two hoop positions on every paint) at zoom 100 and 400; the rotated extents
// of one large design; writing and reading back the arg file of that layout; joining the
// designs of sewing space B into its position file's stream.

#include <benchmark/benchmark.h>

#include "bench/bench_designs.h"
#include "bench/image_canvas.h"
#include "bench/null_document_host.h"
#include "design/layout_import.h"
#include "hooplayout/arg_file.h"
#include "hooplayout/hoop_positions.h"
#include "hooplayout/position_split.h"
#include "hooplayout/vantle_view.h"
#include "platform/profile.h"

namespace {

constexpr int kDesigns = 50;
constexpr int kPairs = 20000;

struct NullViewHost : hooplayout::VantleViewHost {
  hooplayout::PixelPoint ScrollPosition() override { return {}; }
  hooplayout::PixelPoint ClientSize() override { return {800, 600}; }
  hooplayout::PixelPoint CursorPosition() override { return {}; }
  void SetScrollSize(int, int) override {}
  void ScrollTo(hooplayout::PixelPoint) override {}
  void Invalidate(const hooplayout::PixelRect&) override {}
  void RedrawAll() override {}
  void DrawPicture(const hooplayout::BackgroundPicture&, int, int) override {}
  std::optional<hooplayout::PrinterAreaMm> DefaultPrinterArea(bool) override { return {}; }
  void SetApplicationPageSize(hooplayout::PageSize) override {}
  std::optional<int> RunCustomZoomDialog(int) override { return {}; }
  bool RunBackgroundDialog(hooplayout::BackgroundSettings&) override { return false; }
  bool TransferBusy() override { return false; }
};

hooplayout::LayoutDesign PlacedDesign(int i, int pairs) {
  hooplayout::LayoutDesign d;
  GiveNewRecords(d);
  design::StitchRecord record = bench::MakeWanderingDesign(pairs, 150, 150, 31 + i);
  for (int c = 0; c < record.ColourCount(); ++c) record.SetThreadCode(c, 1 + (c + i) % 78);
  design::CopyToLayoutRecord(record, *d.working);
  *d.source = *d.working;
  d.startX = 40 + (i % 10) * 40;
  d.startY = 40 + (i / 10) * 75;
  d.angle = (i * 29) % 360;
  d.halfWidth = d.halfHeight = 30;
  return d;
}

void FillLayout(hooplayout::CVantleDoc& doc) {
  for (int i = 0; i < kDesigns; ++i) doc.AddDesign(PlacedDesign(i, kPairs));
  doc.SetDesignCount(kDesigns);
}

void BM_PaintMaxiframeLayout(benchmark::State& state) {
  const float zoom = static_cast<float>(state.range(0));
  bench::NullDocumentHost docHost;
  NullViewHost viewHost;
  hooplayout::CVantleDoc doc(docHost);
  FillLayout(doc);
  // The view keeps its print switches in the profile: not the user's.
  platform::SetProfileRoot(std::filesystem::temp_directory_path() / "velinor-bench");
  hooplayout::CVantleView view(doc, viewHost, "/");
  view.OnInitialUpdate();
  view.SetZoom(zoom);
  const int width = static_cast<int>(hooplayout::kLayoutWidth * zoom / 100) + 60;
  const int height = static_cast<int>(hooplayout::kLayoutHeight * zoom / 100) + 60;
  bench::ImageCanvas canvas(width, height);
  for (auto _ : state) {
    view.OnPaint(canvas, {0, 0, width, height});
    benchmark::DoNotOptimize(canvas.Pixels().data());
  }
  state.SetItemsProcessed(state.iterations() * kDesigns * kPairs);
}
BENCHMARK(BM_PaintMaxiframeLayout)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_RotatedExtents(benchmark::State& state) {
  const hooplayout::LayoutDesign d = PlacedDesign(3, 65000);
  for (auto _ : state) benchmark::DoNotOptimize(hooplayout::GetRotatedDesignExtents(d));
  state.SetItemsProcessed(state.iterations() * 65000);
}
BENCHMARK(BM_RotatedExtents)->Unit(benchmark::kMicrosecond);

void BM_WriteAndReadArgFile(benchmark::State& state) {
  bench::NullDocumentHost docHost;
  hooplayout::CVantleDoc doc(docHost);
  FillLayout(doc);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const auto file = hooplayout::WriteArgLayout(1, 1, doc.GetDesignList());
    const auto read = hooplayout::ReadArgLayout(file);
    benchmark::DoNotOptimize(read->designs.size());
    bytes = file.size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_WriteAndReadArgFile)->Unit(benchmark::kMillisecond);

void BM_CombineSpaceB(benchmark::State& state) {
  // Six turned designs of 10,000 pairs, all in sewing space B: each is turned, moved to and
  // appended, and the whole stream is turned around.
  std::vector<hooplayout::LayoutDesign> designs;
  hooplayout::PositionGroup group;
  for (int i = 0; i < 6; ++i) {
    hooplayout::LayoutDesign d = PlacedDesign(i, 10000);
    d.startX = 60 + 25 * (i % 3);
    d.startY = 80 + 110 * (i / 3);
    designs.push_back(d);
  }
  for (const auto& d : designs) {
    if (!hooplayout::IsValidPlacement(hooplayout::GetRotatedDesignExtents(d))) {
      state.SkipWithError("a design lies outside sewing space B");
      return;
    }
    group.push_back(&d);
  }
  hooplayout::CPositionCombiner combiner;
  for (auto _ : state) {
    benchmark::DoNotOptimize(combiner.Combine(group, 2));
    benchmark::DoNotOptimize(combiner.Stream().data());
  }
  state.SetItemsProcessed(state.iterations() * 6 * 10000);
}
BENCHMARK(BM_CombineSpaceB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
