#pragma once

// CSewTimeEstimator: how long the machine needs to sew a stitch stream, from the length of
// each stitch, the jumps and the set speed. The import dialogs show it as whole minutes at
// 600 stitches per minute. Made on the stack for one estimate.

#include <cstddef>
#include <cstdint>
#include <span>

namespace design {

// The speed the import dialogs estimate at, stitches per minute.
constexpr int kImportEstimateSpeed = 600;

// Milliseconds one stitch takes at the set speed (stitches per minute) when the longest
// component among it and its neighbours is `length` tenths of a millimetre.
int StitchTimeForLength(int speed, int length);

class CSewTimeEstimator {
 public:
  CSewTimeEstimator() = default;
  virtual ~CSewTimeEstimator();

  // Reads at most pairCount pairs of the stream (never past the bytes given) and returns the
  // estimated time in milliseconds. With a per-colour array, each colour block's time goes
  // into it in order, followed by a 0; blocks beyond the array's size are not stored.
  int64_t Estimate(int pairCount, std::span<const uint8_t> stitches, int speed,
                   std::span<int64_t> perColour = {});

  // trunc(time / factor) with the machine's factor for the speed.
  static int64_t ApplySpeedFactor(int64_t timeMs, int speed);

 private:
  // The stitch at pair `pair`: it and the 9 pairs after it decide its length.
  int StitchTime(int speed, std::size_t pair) const;
  // Consumes the jump at the read position and every jump right after it.
  int64_t JumpTime();
  bool AtControl(std::size_t pair, uint8_t code) const;

  std::span<const uint8_t> stitches_;
  std::size_t pairLimit_ = 0;  // pairs that may be read
  std::size_t pair_ = 0;       // pairs consumed: the read position
};

}  // namespace design
