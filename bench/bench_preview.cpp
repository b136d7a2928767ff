// The design preview of the receive, delete and send dialogs: a design at the machine's
// largest stitch count drawn into the preview area.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench/image_canvas.h"
#include "link/panel/design_preview.h"
#include "platform/le_bytes.h"

namespace {

constexpr int kPreviewSide = 194;

// A QNF image of pairCount pairs (end pair included) wandering over the normal hoop, with a
// colour change every 2,000 stitches and a jump every 500.
std::vector<uint8_t> WanderingQnf(int pairCount, int colours) {
  const int stitchOffset = 116 + 8 * colours;
  std::vector<uint8_t> bytes(static_cast<std::size_t>(stitchOffset), 0);
  platform::WriteI32(bytes.data() + 0, stitchOffset);
  platform::WriteI32(bytes.data() + 24, colours);
  platform::WriteI32(bytes.data() + 28, pairCount);
  for (int i = 0; i < colours; ++i) {
    platform::WriteI32(bytes.data() + 116 + 4 * i, 1 + i * 7 % 78);
    platform::WriteI32(bytes.data() + 116 + 4 * (colours + i), 13);
  }
  int written = 0;
  int step = 0;
  auto pair = [&](int dx, int dy) {
    bytes.push_back(static_cast<uint8_t>(static_cast<int8_t>(dx)));
    bytes.push_back(static_cast<uint8_t>(static_cast<int8_t>(dy)));
    ++written;
  };
  while (written < pairCount - 3) {
    ++step;
    if (step % 2000 == 0) {
      pair(-128, 0x01);
      pair(0, 0);
    } else if (step % 500 == 0) {
      pair(-128, 0x02);
      pair(30, -30);
    } else {
      const int dx = (step / 40) % 2 == 0 ? 20 : -20;
      pair(dx, (step % 40) < 20 ? 3 : -3);
    }
  }
  while (written < pairCount - 1) pair(1, 0);
  pair(-128, 0x10);
  return bytes;
}

void BM_DrawDesignPreview(benchmark::State& state) {
  const std::vector<uint8_t> design = WanderingQnf(static_cast<int>(state.range(0)), 20);
  bench::ImageCanvas canvas(kPreviewSide, kPreviewSide);
  for (auto _ : state) {
    auto hoop = linkpanel::DrawDesignPreview(design, canvas, kPreviewSide, kPreviewSide);
    benchmark::DoNotOptimize(hoop);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DrawDesignPreview)->Arg(32700)->Arg(65535);

}  // namespace

BENCHMARK_MAIN();
