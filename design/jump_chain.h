#pragma once

// A move longer than one pair allows becomes a chain of jump pairs: along the major axis
// (x on a tie) whole steps of 127, the minor component spread over them as the differences
// of trunc(k * i) with k = 127 * minor / |major| taken as a real number, then always one
// more pair with the remainder (even a zero one).
//
// No pair of a chain may carry a component of magnitude 119: every reader of the system
// takes such a jump for a sewn long stitch. Such a component is written as 118 (or -118)
// and the difference is carried into the same component of the next pair; after the last
// pair, a carry left over gets a pair of its own. The same rule holds for every writer of
// jump chains in the system.

#include <cstdint>
#include <cstdlib>

#include "design/stitch_stream.h"

namespace design {

namespace jump_chain_detail {

// Moves a component off 119 and into -127..127; returns what is carried to the next pair.
inline int Settle(int& component) {
  const int sign = component < 0 ? -1 : 1;
  int written = component;
  if (std::abs(component) > kMaxPairComponent) {
    written = kMaxPairComponent * sign;
  }
  if (std::abs(written) == kSewnLongStitch) {
    written = (kSewnLongStitch - 1) * sign;
  }
  const int carry = component - written;
  component = written;
  return carry;
}

}  // namespace jump_chain_detail

// Calls emit(dx, dy) for every jump pair of the chain for (mx, my), in order.
template <class Emit>
void ForEachJumpChainPair(int mx, int my, Emit&& emit) {
  const bool xMajor = std::abs(mx) >= std::abs(my);
  const int major = xMajor ? mx : my;
  const int minor = xMajor ? my : mx;
  const int64_t magnitude = std::abs(static_cast<int64_t>(major));
  const int sign = major < 0 ? -1 : 1;
  const int64_t steps = magnitude / kMaxPairComponent;
  const double k = magnitude == 0 ? 0.0 : 127.0 * minor / static_cast<double>(magnitude);

  int carryMajor = 0;
  int carryMinor = 0;
  auto put = [&](int a, int b) {
    a += carryMajor;
    b += carryMinor;
    carryMajor = jump_chain_detail::Settle(a);
    carryMinor = jump_chain_detail::Settle(b);
    if (xMajor) {
      emit(a, b);
    } else {
      emit(b, a);
    }
  };

  int64_t previous = 0;
  for (int64_t i = 1; i <= steps; ++i) {
    const auto spread = static_cast<int64_t>(k * static_cast<double>(i));  // toward zero
    put(kMaxPairComponent * sign, static_cast<int>(spread - previous));
    previous = spread;
  }
  put(static_cast<int>(major - kMaxPairComponent * sign * steps),
      static_cast<int>(minor - previous));
  while (carryMajor != 0 || carryMinor != 0) put(0, 0);
}

}  // namespace design
