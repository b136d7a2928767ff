#pragma once

// The machine's hoops, in 0.1 mm.

#include <cstdint>

namespace design {

enum HoopCode : int32_t {
  kStandardHoop = 0,  // 1100 x 1100
  kSmallHoop = 1,     // 500 x 500
  kLargeHoop = 2,     // 1400 x 2000
};

// Half sizes measured from the design's centre.
constexpr int kStandardHoopHalf = 550;
constexpr int kSmallHoopHalf = 250;
constexpr int kLargeHoopHalfWidth = 700;
constexpr int kLargeHoopHalfHeight = 1000;

}  // namespace design
