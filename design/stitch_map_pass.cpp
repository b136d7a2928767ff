#include "design/stitch_map_pass.h"

#include <cmath>
#include <cstdlib>

#include "design/jump_chain.h"
#include "design/stitch_stream.h"

namespace design {

namespace {

// Degrees to radians as turned designs have always been computed (a hair below pi / 180):
// keep it, so that a design turned today matches, byte for byte, one turned before.
constexpr double kRadiansPerDegree = 0.017453292519444445;

constexpr std::size_t kPairBytes = 2;
constexpr std::size_t kJumpPairBytes = 4;  // the jump code and its move pair

// No displacement of a design comes near this (0.1 mm); one beyond it could never be written
// into a record anyway, and keeping below it keeps the conversion to an integer defined.
constexpr double kLargestMappedMove = 1.0e8;

bool FitsOnePair(int v) { return v >= -kMaxPairComponent && v <= kMaxPairComponent; }
bool FitsOnePair(int dx, int dy) { return FitsOnePair(dx) && FitsOnePair(dy); }

uint8_t Byte(int v) { return static_cast<uint8_t>(static_cast<int8_t>(v)); }

// What a source item was, which decides how its mapped displacement is written.
enum class ItemKind {
  kPlain,           // a plain pair: a stitch
  kJumpRun,         // a run of jumps with its landing: a move without a stitch
  kSewnLongStitch,  // a run whose first move has a component of magnitude 119
};

// A plain pair beyond one pair's reach is split component by component: a component beyond
// 127 gives 119 (a sewn long stitch) and the rest, one within range gives half (toward zero)
// and the rest.
struct LongStitchSplit {
  int firstX, firstY, restX, restY;
};
int SplitFirst(int v) {
  if (v > kMaxPairComponent) return kSewnLongStitch;
  if (v < -kMaxPairComponent) return -kSewnLongStitch;
  return v / 2;
}
LongStitchSplit SplitLongStitch(int dx, int dy) {
  const int fx = SplitFirst(dx);
  const int fy = SplitFirst(dy);
  return {fx, fy, dx - fx, dy - fy};
}

// Writes pairs into the target, never past its end: every item asks for its room first.
class PairWriter {
 public:
  explicit PairWriter(std::span<uint8_t> out) : out_(out) {}

  std::size_t Position() const { return pos_; }
  // Room for `bytes` more and the end pair after them.
  bool HasRoom(std::size_t bytes) const {
    return pos_ <= out_.size() && out_.size() - pos_ >= bytes + kPairBytes;
  }
  void Pair(int dx, int dy) {
    out_[pos_++] = Byte(dx);
    out_[pos_++] = Byte(dy);
  }
  void Control(uint8_t code) {
    out_[pos_++] = kStitchEscape;
    out_[pos_++] = code;
  }
  void Jump(int dx, int dy) {
    Control(kJump);
    Pair(dx, dy);
  }
  void End() { Control(kEnd); }

 private:
  std::span<uint8_t> out_;
  std::size_t pos_ = 0;
};

class MapPass {
 public:
  MapPass(std::span<const uint8_t> source, std::span<uint8_t> target, const PairMap& map,
          const MapPassRules& rules, HoopAreaTrack* area)
      : source_(source), out_(target), map_(map), rules_(rules), area_(area) {}

  MapPassStatus Run(std::size_t& written) {
    for (;;) {
      if (!HasPair(pos_)) return MapPassStatus::kMalformed;
      const uint8_t* pair = &source_[pos_];
      if (!IsControlHere(pair)) {
        pos_ += kPairBytes;
        const MapPassStatus s = Item(PairDx(pair), PairDy(pair), ItemKind::kPlain);
        if (s != MapPassStatus::kOk) return s;
        continue;
      }
      const uint8_t code = pair[1];
      if (code == kEnd) {
        if (!out_.HasRoom(0)) return MapPassStatus::kTooLong;
        out_.End();
        written = out_.Position();
        return MapPassStatus::kOk;
      }
      if (code == kColourChange || code == kMarker) {
        // Passed through unchanged. The pair after a colour change is read as a plain pair
        // and, being zero, stays zero.
        if (!out_.HasRoom(kPairBytes)) return MapPassStatus::kTooLong;
        out_.Control(code);
        pos_ += kPairBytes;
        continue;
      }
      MapPassStatus s = MapPassStatus::kOk;
      if (IsJumpCode(code)) {
        s = JumpRun();
      } else {
        // A code the system does not write is dropped; the length check runs all the same.
        pos_ += kPairBytes;
        if (out_.Position() >= rules_.outputLimit) s = MapPassStatus::kTooLong;
      }
      if (s != MapPassStatus::kOk) return s;
    }
  }

 private:
  bool HasPair(std::size_t at) const { return at + kPairBytes <= source_.size(); }

  // A control pair as this pass reads it: unknown codes may count as plain pairs.
  bool IsControlHere(const uint8_t* pair) const {
    if (!IsControl(pair)) return false;
    if (!rules_.unknownCodesArePlainPairs) return true;
    const uint8_t code = pair[1];
    return code == kColourChange || IsJumpCode(code) || code == kMarker || code == kEnd;
  }

  // A jump run: the moves of all jumps in a row and the landing after them, as one move.
  // A colour change, a marker or the end pair ends the run without a landing; other codes
  // inside the run are skipped.
  MapPassStatus JumpRun() {
    if (!HasPair(pos_ + kPairBytes)) return MapPassStatus::kMalformed;
    int64_t runX = PairDx(&source_[pos_ + kPairBytes]);
    int64_t runY = PairDy(&source_[pos_ + kPairBytes]);
    const bool sewn = IsSewnLongStitchMove(static_cast<int>(runX), static_cast<int>(runY));
    pos_ += kJumpPairBytes;
    for (;;) {
      if (!HasPair(pos_)) return MapPassStatus::kMalformed;
      const uint8_t* pair = &source_[pos_];
      if (!IsControlHere(pair)) {
        runX += PairDx(pair);
        runY += PairDy(pair);
        pos_ += kPairBytes;
        break;
      }
      const uint8_t code = pair[1];
      if (code == kColourChange || code == kMarker || code == kEnd) break;
      if (IsJumpCode(code)) {
        if (!HasPair(pos_ + kPairBytes)) return MapPassStatus::kMalformed;
        runX += PairDx(&source_[pos_ + kPairBytes]);
        runY += PairDy(&source_[pos_ + kPairBytes]);
        pos_ += kJumpPairBytes;
      } else {
        pos_ += kPairBytes;
      }
    }
    return Item(static_cast<double>(runX), static_cast<double>(runY),
                sewn ? ItemKind::kSewnLongStitch : ItemKind::kJumpRun);
  }

  // Maps one displacement, writes it and runs the checks. The length is checked before
  // anything is written, so the output never passes its limit or its buffer.
  MapPassStatus Item(double dx, double dy, ItemKind kind) {
    const double sx = dx * map_.scaleX;
    const double sy = dy * map_.scaleY;
    const double u = sx * map_.cosT - sy * map_.sinT;
    const double v = sx * map_.sinT + sy * map_.cosT;
    mappedX_ += u;
    mappedY_ += v;
    const double restX = mappedX_ - static_cast<double>(writtenX_);
    const double restY = mappedY_ - static_cast<double>(writtenY_);
    if (!(std::abs(restX) < kLargestMappedMove && std::abs(restY) < kLargestMappedMove)) {
      return MapPassStatus::kTooLong;
    }
    const int ox = static_cast<int>(restX);  // toward zero
    const int oy = static_cast<int>(restY);

    const std::size_t bytes = Length(ox, oy, kind);
    if (out_.Position() + bytes >= rules_.outputLimit || !out_.HasRoom(bytes)) {
      return MapPassStatus::kTooLong;
    }
    Write(ox, oy, kind);
    writtenX_ += ox;
    writtenY_ += oy;

    if (area_ != nullptr) {
      area_->x += u;
      area_->y -= v;  // the area counts y downwards
      if (area_->x < 0.0 || area_->x > area_->width || area_->y < 0.0 || area_->y > area_->height) {
        return MapPassStatus::kLeavesArea;
      }
    }
    return MapPassStatus::kOk;
  }

  static bool SplitFits(int ox, int oy) {
    const LongStitchSplit s = SplitLongStitch(ox, oy);
    return FitsOnePair(s.restX, s.restY);
  }

  static std::size_t Length(int ox, int oy, ItemKind kind) {
    if (FitsOnePair(ox, oy)) {
      return kind == ItemKind::kJumpRun ? kJumpPairBytes + kPairBytes : kPairBytes;
    }
    if (kind == ItemKind::kPlain && SplitFits(ox, oy)) return kJumpPairBytes + kPairBytes;
    return LandingChainLength(ox, oy, kind != ItemKind::kJumpRun);
  }

  void Write(int ox, int oy, ItemKind kind) {
    if (FitsOnePair(ox, oy)) {
      // A jump run that fits is a zero jump and its landing; a plain pair or a sewn long
      // stitch that fits is one plain pair.
      if (kind == ItemKind::kJumpRun) out_.Jump(0, 0);
      out_.Pair(ox, oy);
      return;
    }
    if (kind == ItemKind::kPlain && SplitFits(ox, oy)) {
      const LongStitchSplit s = SplitLongStitch(ox, oy);
      out_.Jump(s.firstX, s.firstY);
      out_.Pair(s.restX, s.restY);
      return;
    }
    // A longer jump run becomes a jump chain; a longer sewn long stitch, and a plain pair
    // whose split would leave a rest no byte can hold, become a chain of sewn long stitches.
    ForEachLandingChainPair(
        ox, oy, kind != ItemKind::kJumpRun, [&](int dx, int dy) { out_.Jump(dx, dy); },
        [&](int dx, int dy) { out_.Pair(dx, dy); });
  }

  std::span<const uint8_t> source_;
  PairWriter out_;
  const PairMap& map_;
  const MapPassRules& rules_;
  HoopAreaTrack* area_;
  std::size_t pos_ = 0;     // read position in the source
  double mappedX_ = 0.0;    // sums of all mapped displacements so far
  double mappedY_ = 0.0;
  int64_t writtenX_ = 0;    // sums of all whole displacements written so far
  int64_t writtenY_ = 0;
};

// Negates a byte of a pair; -128 has no positive twin in a byte and becomes 127.
uint8_t Negated(uint8_t b) {
  const int v = static_cast<int8_t>(b);
  return Byte(v == -128 ? kMaxPairComponent : -v);
}

}  // namespace

PairMap PairMap::Scaling(double scaleX, double scaleY) { return PairMap{scaleX, scaleY, 1.0, 0.0}; }

PairMap PairMap::Turning(int angleDegrees) { return ScalingThenTurning(1.0, 1.0, angleDegrees); }

PairMap PairMap::ScalingThenTurning(double scaleX, double scaleY, int angleDegrees) {
  const double t = -static_cast<double>(angleDegrees) * kRadiansPerDegree;  // no int overflow
  return PairMap{scaleX, scaleY, std::cos(t), std::sin(t)};
}

bool PairMap::IsFinite() const {
  return std::isfinite(scaleX) && std::isfinite(scaleY) && std::isfinite(cosT) && std::isfinite(sinT);
}

MapPassStatus MapStitchPairs(std::span<const uint8_t> source, std::span<uint8_t> target,
                             const PairMap& map, const MapPassRules& rules, HoopAreaTrack* area,
                             std::size_t& written) {
  if (!map.IsFinite()) return MapPassStatus::kTooLong;
  return MapPass(source, target, map, rules, area).Run(written);
}

MapPassStatus MirrorStitchPairs(std::span<const uint8_t> source, std::span<uint8_t> target,
                                bool mirrorX, bool mirrorY, std::size_t& written) {
  for (std::size_t p = 0;; p += kPairBytes) {
    if (p + kPairBytes > source.size()) return MapPassStatus::kMalformed;
    if (p + kPairBytes > target.size()) return MapPassStatus::kTooLong;
    const uint8_t* in = &source[p];
    uint8_t* out = &target[p];
    if (IsControl(in)) {
      out[0] = in[0];
      out[1] = in[1];
      if (in[1] == kEnd) {
        written = p + kPairBytes;
        return MapPassStatus::kOk;
      }
      continue;
    }
    out[0] = mirrorX ? Negated(in[0]) : in[0];
    out[1] = mirrorY ? Negated(in[1]) : in[1];
  }
}

}  // namespace design
