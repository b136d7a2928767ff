// The import dialog's work on the largest designs it takes: reading a 65,535-pair QNF
// image, reading a SEW file at its pair limit, and drawing the preview of the QNF design.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "design/import_preview.h"
#include "design/qnf_exporter.h"
#include "design/qnf_reader.h"
#include "design/sew_file.h"
#include "design/sew_reader.h"
#include "design/stitch_record.h"
#include "platform/le_bytes.h"

namespace {

// Short random stitches with a jump every 200 and a colour change every 5,000 pairs,
// ending with the end pair at pair index pairs - 1.
std::vector<uint8_t> Stitches(int pairs) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> step(-40, 40);
  std::vector<uint8_t> s;
  s.reserve(2 * static_cast<std::size_t>(pairs));
  while (static_cast<int>(s.size() / 2) < pairs - 3) {
    const int at = static_cast<int>(s.size() / 2);
    if (at % 5000 == 4999) {
      s.insert(s.end(), {0x80, 0x01, 0, 0});
    } else if (at % 200 == 199) {
      s.insert(s.end(), {0x80, 0x02, 50, 20});
    } else {
      s.push_back(static_cast<uint8_t>(step(random)));
      s.push_back(static_cast<uint8_t>(step(random)));
    }
  }
  while (static_cast<int>(s.size() / 2) < pairs - 1) s.insert(s.end(), {1, 1});
  s.insert(s.end(), {0x80, 0x10});
  return s;
}

std::vector<uint8_t> LargeQnfImage() {
  design::StitchRecord record;
  const std::vector<uint8_t> s = Stitches(65535);
  std::copy(s.begin(), s.end(), record.Stitches());
  record.SetPairCount(65535);
  record.SetColourCount(14);
  for (int i = 0; i < 14; ++i) {
    record.SetThreadCode(i, i + 1);
    record.SetThreadType(i, design::kThreadTypeStandard);
  }
  record.SetFlags(1);
  record.SetStitchDataOffset(116 + 8 * 14);
  return design::QnfFileImage(record);
}

// Counts what would be drawn, so that the walk itself is measured.
class CountingCanvas : public platform::Canvas {
 public:
  long lines = 0;
  void SetPen(platform::PaletteColour, int, platform::PenStyle) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override { ++lines; }
  void Polyline(std::span<const platform::CanvasPoint>) override {}
  void Rectangle(const platform::CanvasRect&) override {}
  void FillRect(const platform::CanvasRect&, platform::PaletteColour) override {}
  void Text(int, int, const std::string&, platform::PaletteColour) override {}
};

void BM_ReadQnf65535(benchmark::State& state) {
  const std::vector<uint8_t> file = LargeQnfImage();
  design::StitchRecord record;
  for (auto _ : state) {
    benchmark::DoNotOptimize(design::ReadQnf(file, record));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 65535);
}
BENCHMARK(BM_ReadQnf65535);

void BM_ReadSew32767(benchmark::State& state) {
  std::vector<uint8_t> file(design::sew_offset::kStitches, 0);
  platform::WriteU16(file.data(), 1);
  platform::WriteU16(file.data() + 2, 5);
  const std::vector<uint8_t> s = Stitches(32763);
  file.insert(file.end(), s.begin(), s.end());
  design::StitchRecord record;
  for (auto _ : state) {
    benchmark::DoNotOptimize(design::ReadSew(file, record));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 32767);
}
BENCHMARK(BM_ReadSew32767);

void BM_DrawPreview65535(benchmark::State& state) {
  design::StitchRecord record;
  design::ReadQnf(LargeQnfImage(), record);
  std::vector<platform::PaletteColour> colours(14, platform::kPaletteBlack);
  CountingCanvas canvas;
  for (auto _ : state) {
    design::DrawDesignPreview(canvas, {0, 0, 160, 210}, record, colours);
  }
  benchmark::DoNotOptimize(canvas.lines);
  state.SetItemsProcessed(state.iterations() * 65535);
}
BENCHMARK(BM_DrawPreview65535);

}  // namespace

BENCHMARK_MAIN();
