// Drawing a Brodera layout: ten designs of 50,000 pairs each through the view's Canvas into
// a pixel image, at zoom 100 and 400.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "bench/bench_designs.h"
#include "editor/brodera_view.h"
#include "bench/image_canvas.h"
#include "bench/null_hosts.h"

namespace {

void BM_DrawLayout(benchmark::State& state) {
  const float zoom = static_cast<float>(state.range(0));
  bench::NullDocumentHost docHost;
  bench::NullBroderaViewHost viewHost;
  editor::CBroderaDoc doc(docHost);
  doc.SetSheetLayout(2, 2);
  for (int i = 0; i < 10; ++i) {
    editor::DesignObject d;
    d.working = std::make_shared<design::StitchRecord>(bench::MakeWanderingDesign(50000, 500, 500, 11 + i));
    for (int c = 0; c < d.working->ColourCount(); ++c) d.working->SetThreadCode(c, 1 + (c + i) % 78);
    d.source = d.working;
    d.centreX = 130 + (i % 5) * 180;
    d.centreY = 200 + (i / 5) * 320;
    d.rotation = i * 36;
    d.halfWidth = d.halfHeight = d.placedHalfWidth = d.placedHalfHeight = 100;
    doc.AddDesign(d);
  }
  doc.SetDesignCount(10);
  editor::CBroderaView view(doc, viewHost, "/");
  view.OnInitialUpdate();
  view.SetZoom(zoom);
  bench::ImageCanvas canvas(static_cast<int>(view.LayoutWidth() * zoom / 100) + 42,
                     static_cast<int>(view.LayoutHeight() * zoom / 100) + 42);
  for (auto _ : state) {
    view.OnDraw(canvas);
    benchmark::DoNotOptimize(canvas.Pixels().data());
  }
  state.SetItemsProcessed(state.iterations() * 10 * 50000);
}
BENCHMARK(BM_DrawLayout)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
