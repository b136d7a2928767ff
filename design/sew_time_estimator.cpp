#include "design/sew_time_estimator.h"

#include <algorithm>
#include <cstdlib>

#include "design/stitch_stream.h"

namespace design {

namespace {

// Stitches per minute the machine reaches for a stitch of 2, 3, ... 12 mm, one row per set
// speed from 800 down to 400.
constexpr int kSpeedRows = 5;
constexpr int kLengthColumns = 11;
constexpr int kSpeedTable[kSpeedRows][kLengthColumns] = {
    {800, 600, 500, 400, 340, 300, 270, 240, 220, 200, 180},  // 800
    {700, 525, 440, 350, 300, 260, 235, 210, 185, 160, 140},  // 700
    {600, 450, 375, 300, 250, 225, 200, 175, 150, 125, 100},  // 600
    {500, 375, 300, 250, 210, 190, 165, 140, 120, 107, 94},   // 500
    {400, 300, 240, 200, 170, 150, 130, 110, 90, 90, 90},     // 400
};
constexpr int kTopSpeed = 800;
constexpr int kSpeedStep = 100;

// A stitch this long (0.1 mm) or longer costs a fixed time: the machine slows to a crawl.
constexpr int kLongStitchLength = 120;
constexpr int kLongStitchMs = 666;
constexpr int kShortestColumnLength = 20;  // 2 mm
constexpr int kSlowestSpeed = 90;
constexpr int kMsPerMinute = 60000;

// A jump costs its trimming and travel: a fixed part plus the longer component of the run.
constexpr int kJumpBaseMs = 600;
// A stitch looks at itself and this many pairs after it.
constexpr std::size_t kLookAheadPairs = 10;
// A stitch near a control pair is costed as the longest a pair can hold.
constexpr int kNearControlLength = kMaxPairComponent;

constexpr double kDefaultSpeedFactor = 0.8941;

}  // namespace

int StitchTimeForLength(int speed, int length) {
  if (length >= kLongStitchLength) return kLongStitchMs;
  const int64_t rowFromTop = (int64_t{kTopSpeed} - speed) / kSpeedStep;  // toward zero
  const int* row = kSpeedTable[std::clamp<int64_t>(rowFromTop, 0, kSpeedRows - 1)];
  int value = row[0];
  if (length >= kShortestColumnLength) {
    const int column = length / 10 - 2;
    const int within = length % 10;
    value = row[column];
    if (within != 0) value += (row[column + 1] - row[column]) * within / 10;
  }
  value = std::max(value, kSlowestSpeed);
  return kMsPerMinute / value;
}

CSewTimeEstimator::~CSewTimeEstimator() = default;

int64_t CSewTimeEstimator::ApplySpeedFactor(int64_t timeMs, int speed) {
  double factor = kDefaultSpeedFactor;
  switch (speed) {
    case 400: factor = 0.8876; break;
    case 500: factor = 0.9047; break;
    case 700: factor = 0.9013; break;
    case 800: factor = 0.9162; break;
    default: break;
  }
  return static_cast<int64_t>(static_cast<double>(timeMs) / factor);
}

bool CSewTimeEstimator::AtControl(std::size_t pair, uint8_t code) const {
  return IsControl(&stitches_[2 * pair], code);
}

int CSewTimeEstimator::StitchTime(int speed, std::size_t pair) const {
  const std::size_t last = std::min(pair + kLookAheadPairs, pairLimit_);
  int length = 0;
  for (std::size_t p = pair; p < last; ++p) {
    const uint8_t* bytes = &stitches_[2 * p];
    if (IsControl(bytes)) return StitchTimeForLength(speed, kNearControlLength);
    length = std::max({length, std::abs(PairDx(bytes)), std::abs(PairDy(bytes))});
  }
  return StitchTimeForLength(speed, length);
}

int64_t CSewTimeEstimator::JumpTime() {
  int64_t sumX = 0;
  int64_t sumY = 0;
  while (pair_ < pairLimit_ && AtControl(pair_, kJump)) {
    ++pair_;
    if (pair_ >= pairLimit_) break;  // the stream stops inside the jump: no move to add
    sumX += PairDx(&stitches_[2 * pair_]);
    sumY += PairDy(&stitches_[2 * pair_]);
    ++pair_;
  }
  return kJumpBaseMs + std::max(std::abs(sumX), std::abs(sumY));
}

int64_t CSewTimeEstimator::Estimate(int pairCount, std::span<const uint8_t> stitches, int speed,
                                    std::span<int64_t> perColour) {
  stitches_ = stitches;
  pairLimit_ = std::min<std::size_t>(pairCount > 0 ? static_cast<std::size_t>(pairCount) : 0,
                                     stitches.size() / 2);
  pair_ = 0;

  int64_t totalMs = 0;
  int64_t blockStartMs = 0;
  std::size_t block = 0;
  auto storeBlock = [&](int64_t value) {
    if (block < perColour.size()) perColour[block] = value;
    ++block;
  };

  while (pair_ < pairLimit_) {
    const uint8_t* bytes = &stitches_[2 * pair_];
    if (!IsControl(bytes)) {
      totalMs += StitchTime(speed, pair_);
      ++pair_;
      continue;
    }
    if (bytes[1] == kEnd) break;
    if (bytes[1] == kJump) {
      totalMs += JumpTime();
      continue;
    }
    if (bytes[1] == kColourChange) {
      // Only the code is consumed: the zero pair after it is costed as a stitch.
      storeBlock(ApplySpeedFactor(totalMs - blockStartMs, speed));
      blockStartMs = totalMs;
    }
    ++pair_;  // markers, 0x80 0x04 and unknown codes: the two bytes are skipped
  }
  storeBlock(ApplySpeedFactor(totalMs - blockStartMs, speed));
  storeBlock(0);
  return ApplySpeedFactor(totalMs, speed);
}

}  // namespace design
