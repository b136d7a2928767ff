// Saving and opening Pictorel's largest designs: 250,000 stitch pairs and 78 large-hoop parts
// whose masks are packed into the parts block behind the end pair.

#include <benchmark/benchmark.h>

#include <vector>

#include "design/hoop.h"
#include "digitizer/pack_bytes.h"
#include "digitizer/part_names.h"
#include "digitizer/stitch_design.h"

namespace {

using digitizer::CStitchDesign;

// A region mask the way parts look: empty rows, a filled band with ragged edges.
void FillMask(uint8_t* mask, std::size_t bytes, int seed) {
  constexpr std::size_t kRowBytes = 70;  // 560 pixels
  for (std::size_t i = 0; i < bytes; ++i) {
    const std::size_t row = i / kRowBytes;
    const std::size_t column = i % kRowBytes;
    const bool inBand = row % 200 > 50 + static_cast<std::size_t>(seed % 40) && column > 10 && column < 50;
    const bool edge = column == 10 || column == 50;
    mask[i] = inBand ? 0xFF : edge ? static_cast<uint8_t>(row * 37 + seed) : 0;
  }
}

void MakeLargestDesign(CStitchDesign& design) {
  design.SetHoop(design::kLargeHoop);
  for (int i = 0; i < digitizer::kMaxParts; ++i) {
    uint8_t* mask = design.AddPart(static_cast<int16_t>(i + 1), digitizer::MakeStitchCode(digitizer::kDiagonalWeave, 45));
    FillMask(mask, design.MaskBytes(), i);
  }
  design.ResetStitches();
  design::StitchRecord& record = *design.Record();
  uint8_t* p = record.Stitches();
  const int pairs = digitizer::kMaxDesignPairs - 1;
  for (int i = 0; i < pairs; ++i) {
    p[2 * i] = static_cast<uint8_t>(i % 7 - 3);
    p[2 * i + 1] = static_cast<uint8_t>(i % 5 - 2);
  }
  p[2 * pairs] = 0x80;
  p[2 * pairs + 1] = 0x10;
  record.SetColourCount(1);
  record.SetThreadCode(0, 1);
  design.SetEditState(digitizer::kStitchesFromParts);
}

void BM_WriteLargestDesign(benchmark::State& state) {
  CStitchDesign design;
  MakeLargestDesign(design);
  std::vector<uint8_t> file;
  for (auto _ : state) {
    design.Write(file);
    benchmark::DoNotOptimize(file.data());
  }
  state.counters["bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_WriteLargestDesign)->Unit(benchmark::kMillisecond);

void BM_ReadLargestDesign(benchmark::State& state) {
  CStitchDesign source;
  MakeLargestDesign(source);
  std::vector<uint8_t> file;
  source.Write(file);
  CStitchDesign design;
  for (auto _ : state) {
    design.Read(file);
    benchmark::DoNotOptimize(design.GetPartCount());
  }
}
BENCHMARK(BM_ReadLargestDesign)->Unit(benchmark::kMillisecond);

void BM_PackOneLargeMask(benchmark::State& state) {
  std::vector<uint8_t> mask(digitizer::PartMaskBytes(560, 800));
  FillMask(mask.data(), mask.size(), 3);
  std::vector<uint8_t> packed(digitizer::PackedBytesBound(mask.size()));
  for (auto _ : state) benchmark::DoNotOptimize(digitizer::PackBytes(packed, mask));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * mask.size()));
}
BENCHMARK(BM_PackOneLargeMask);

}  // namespace

BENCHMARK_MAIN();
