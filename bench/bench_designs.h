#pragma once

// Large designs for the benchmarks, made with the project's own code.

#include <cstdint>
#include <random>

#include "design/stitch_record.h"

namespace bench {

// A design of short stitches (up to 4 mm) with a jump every 200 stitches and a colour change
// every 5,000, wandering within halfWidth x halfHeight of its first point; `pairs` pairs in
// all, end pair included.
inline design::StitchRecord MakeWanderingDesign(int pairs, int halfWidth, int halfHeight,
                                                uint32_t seed = 7) {
  design::StitchRecord record;
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> step(-40, 40);
  uint8_t* s = record.Stitches();
  std::size_t p = 0;
  int written = 0;
  int x = 0, y = 0;
  auto put = [&](int a, int b) {
    s[p++] = static_cast<uint8_t>(static_cast<int8_t>(a));
    s[p++] = static_cast<uint8_t>(static_cast<int8_t>(b));
    ++written;
  };
  // Turns a move back when it would leave the bounds.
  auto bounded = [](int position, int delta, int half) {
    return position + delta > half || position + delta < -half ? -delta : delta;
  };
  while (written < pairs - 3) {
    if (written % 5000 == 4999) {
      put(-128, 0x01);
      put(0, 0);
      continue;
    }
    int dx = 50, dy = 20;
    const bool jump = written % 200 == 199;
    if (jump) {
      put(-128, 0x02);
    } else {
      dx = step(random);
      dy = step(random);
    }
    dx = bounded(x, dx, halfWidth);
    dy = bounded(y, dy, halfHeight);
    x += dx;
    y += dy;
    put(dx, dy);
  }
  put(-128, 0x10);
  record.SetPairCount(written);
  record.SetColourCount(pairs / 5000 + 1);
  return record;
}

}  // namespace bench
