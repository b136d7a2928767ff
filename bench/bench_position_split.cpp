// The split of a Maxiframe layout into its two hoop positions: turning a design by its
// angle, and joining a position's designs (with the half turn of sewing space B).

#include <benchmark/benchmark.h>

#include <vector>

#include "hooplayout/position_split.h"
#include "hooplayout/position_stream.h"

namespace {

// About 30,000 stitches with a jump every 500 and a colour change every 5,000.
std::vector<uint8_t> BusyStitches(int pairs) {
  std::vector<uint8_t> s;
  for (int i = 0; i < pairs; ++i) {
    if (i % 5000 == 4999) s.insert(s.end(), {0x80, 0x01, 0, 0});
    if (i % 500 == 499) s.insert(s.end(), {0x80, 0x02, 90, 0});
    s.push_back(static_cast<uint8_t>((i * 7) % 41 - 20));
    s.push_back(static_cast<uint8_t>((i * 13) % 37 - 18));
  }
  s.insert(s.end(), {0x80, 0x10});
  return s;
}

hooplayout::LayoutDesign Placed(int32_t x, const std::vector<uint8_t>& stitches, int angle) {
  hooplayout::LayoutDesign d;
  hooplayout::GiveNewRecords(d);
  d.startX = x;
  d.startY = 200;
  d.angle = angle;
  d.working->SetColourCount(7);
  d.working->SetPairCount(static_cast<int32_t>(stitches.size() / 2));
  std::copy(stitches.begin(), stitches.end(), d.working->Stitches());
  return d;
}

void BM_RotateStitches(benchmark::State& state) {
  const std::vector<uint8_t> source = BusyStitches(30000);
  hooplayout::StitchBuffer out;
  for (auto _ : state) {
    benchmark::DoNotOptimize(hooplayout::RotateStitches(out, source, 37));
  }
  state.SetItemsProcessed(state.iterations() * 30000);
}
BENCHMARK(BM_RotateStitches);

void BM_CombineSpaceB(benchmark::State& state) {
  const std::vector<uint8_t> stitches = BusyStitches(15000);
  const hooplayout::LayoutDesign a = Placed(100, stitches, 30);
  const hooplayout::LayoutDesign b = Placed(150, stitches, 200);
  hooplayout::CPositionCombiner combiner;
  for (auto _ : state) {
    benchmark::DoNotOptimize(combiner.Combine({&a, &b}, 2));
  }
  state.SetItemsProcessed(state.iterations() * 30000);
}
BENCHMARK(BM_CombineSpaceB);

}  // namespace

BENCHMARK_MAIN();
