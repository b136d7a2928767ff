#pragma once

// A move longer than one pair allows becomes a chain: whole steps along the major axis, the
// minor component spread over them, and a rest. Two writers make chains:
//
//   - the encoder (ForEachJumpChainPair): jump pairs only. Whole steps of 127 along the major
//     axis (x on a tie), the minor component spread as the differences of trunc(k * i) with
//     k = 127 * minor / |major| taken as a real number, then always one more jump pair with
//     the rest (even a zero one);
//   - the transforms (ForEachLandingChainPair): whole steps as jump pairs, the rest as one
//     plain pair, the landing. Steps of 127 for a jump, of 119 for a sewn long stitch; the
//     major axis is y on a tie; every step carries the same k = step * minor / major in
//     integers, unless the rest would then not fit one pair: then the minor component is
//     spread as the encoder spreads it, which always leaves a rest within -126..126.
//
// No jump pair of a chain may carry a component of magnitude 119: every reader of the system
// takes such a jump for a sewn long stitch. Such a component is written as 118 (or -118) and
// the difference is carried into the same component of the next pair; the encoder gives a
// carry left after its last pair a pair of its own, the transforms add it to the landing
// (a plain pair may hold 119). A sewn long stitch chain is made of 119s on purpose and is
// left as it is.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "design/stitch_stream.h"

namespace design {

// How the minor component of a chain is spread over its whole steps.
enum class MinorSpread {
  kReal,        // step i carries trunc(k * i) - trunc(k * (i - 1)), k real
  kWholeSteps,  // every step carries trunc(k)
};

struct ChainShape {
  int step = kMaxPairComponent;  // magnitude of each whole step along the major axis
  bool xMajorOnTie = true;
  MinorSpread spread = MinorSpread::kReal;
};

struct ChainPair {
  int dx = 0;
  int dy = 0;
};

// The number of whole steps of the chain for (mx, my).
inline int64_t ChainStepCount(int mx, int my, const ChainShape& shape) {
  const int64_t ax = std::abs(static_cast<int64_t>(mx));
  const int64_t ay = std::abs(static_cast<int64_t>(my));
  const bool xMajor = shape.xMajorOnTie ? ax >= ay : ax > ay;
  return (xMajor ? ax : ay) / shape.step;
}

// Calls step(dx, dy) for each whole step of the chain for (mx, my), in order, and returns
// the rest that is left after them.
template <class Step>
ChainPair ForEachChainStep(int mx, int my, const ChainShape& shape, Step&& step) {
  const int64_t ax = std::abs(static_cast<int64_t>(mx));
  const int64_t ay = std::abs(static_cast<int64_t>(my));
  const bool xMajor = shape.xMajorOnTie ? ax >= ay : ax > ay;
  const int major = xMajor ? mx : my;
  const int minor = xMajor ? my : mx;
  const int64_t magnitude = xMajor ? ax : ay;
  const int signedStep = major < 0 ? -shape.step : shape.step;
  const int64_t steps = magnitude / shape.step;
  const double realK =
      magnitude == 0 ? 0.0 : static_cast<double>(shape.step) * minor / static_cast<double>(magnitude);
  const int64_t wholeK = magnitude == 0 ? 0 : int64_t{shape.step} * minor / magnitude;  // toward zero

  int64_t spreadSoFar = 0;
  for (int64_t i = 1; i <= steps; ++i) {
    const int64_t spread = shape.spread == MinorSpread::kReal
                               ? static_cast<int64_t>(realK * static_cast<double>(i))  // toward zero
                               : wholeK * i;
    const int minorStep = static_cast<int>(spread - spreadSoFar);
    spreadSoFar = spread;
    if (xMajor) {
      step(signedStep, minorStep);
    } else {
      step(minorStep, signedStep);
    }
  }
  const int restMajor = static_cast<int>(major - int64_t{signedStep} * steps);
  const int restMinor = static_cast<int>(minor - spreadSoFar);
  return xMajor ? ChainPair{restMajor, restMinor} : ChainPair{restMinor, restMajor};
}

// Moves the jump pairs of a chain off 119 (and into -127..127), carrying what each pair could
// not take into the next.
class SewnLongStitchCarry {
 public:
  void Settle(int& dx, int& dy) {
    dx += carryX_;
    dy += carryY_;
    carryX_ = SettleComponent(dx);
    carryY_ = SettleComponent(dy);
  }
  bool Pending() const { return carryX_ != 0 || carryY_ != 0; }
  ChainPair Carried() const { return {carryX_, carryY_}; }

 private:
  // Returns what is carried to the next pair.
  static int SettleComponent(int& component) {
    const int sign = component < 0 ? -1 : 1;
    int written = component;
    if (std::abs(component) > kMaxPairComponent) written = kMaxPairComponent * sign;
    if (std::abs(written) == kSewnLongStitch) written = (kSewnLongStitch - 1) * sign;
    const int carry = component - written;
    component = written;
    return carry;
  }

  int carryX_ = 0;
  int carryY_ = 0;
};

// Calls emit(dx, dy) for every jump pair of the encoder's chain for (mx, my), in order.
template <class Emit>
void ForEachJumpChainPair(int mx, int my, Emit&& emit) {
  SewnLongStitchCarry carry;
  auto put = [&](int dx, int dy) {
    carry.Settle(dx, dy);
    emit(dx, dy);
  };
  const ChainPair rest = ForEachChainStep(mx, my, ChainShape{}, put);
  put(rest.dx, rest.dy);
  while (carry.Pending()) put(0, 0);
}

// The transforms' chain for a mapped move (mx, my) that does not fit one pair: calls
// jump(dx, dy) for each jump pair and then landing(dx, dy) once for the plain pair after
// them. A sewn long stitch steps by 119; anything else is a jump and steps by 127.
template <class Jump, class Landing>
void ForEachLandingChainPair(int mx, int my, bool sewnLongStitch, Jump&& jump, Landing&& landing) {
  auto chain = [&](MinorSpread spread, auto&& onJump) {
    const ChainShape shape{sewnLongStitch ? kSewnLongStitch : kMaxPairComponent, false, spread};
    SewnLongStitchCarry carry;
    ChainPair rest = ForEachChainStep(mx, my, shape, [&](int dx, int dy) {
      if (!sewnLongStitch) carry.Settle(dx, dy);
      onJump(dx, dy);
    });
    rest.dx += carry.Carried().dx;
    rest.dy += carry.Carried().dy;
    return rest;
  };
  auto fits = [](const ChainPair& p) {
    return std::abs(p.dx) <= kMaxPairComponent && std::abs(p.dy) <= kMaxPairComponent;
  };
  const bool wholeStepsFit = fits(chain(MinorSpread::kWholeSteps, [](int, int) {}));
  const ChainPair rest = chain(wholeStepsFit ? MinorSpread::kWholeSteps : MinorSpread::kReal, jump);
  landing(rest.dx, rest.dy);
}

// Bytes of the transforms' chain: its jump pairs and the landing.
inline std::size_t LandingChainLength(int mx, int my, bool sewnLongStitch) {
  const ChainShape shape{sewnLongStitch ? kSewnLongStitch : kMaxPairComponent, false,
                         MinorSpread::kWholeSteps};
  return 4 * static_cast<std::size_t>(ChainStepCount(mx, my, shape)) + 2;
}

}  // namespace design
