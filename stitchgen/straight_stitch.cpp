// Straight stitch: every line of the part is sewn out and back (a double run) with a needle
// point each time the walked length reaches the stitch length, so that the needle ends where
// the line began and reaches every branch without a jump.

#include "stitchgen/straight_stitch.h"

#include "stitchgen/fill_family.h"
#include "stitchgen/mask_preparation.h"

namespace seamlib {

int StitchLengthFrom(int parameter) {
  if (parameter < kMinStitchLength || parameter > kMaxStitchLength)
    return kDefaultStitchLength * 10;
  return parameter * 10;
}

bool RunningStitch::Place(LinePixel at) {
  walked_ = 0;
  stepsSincePoint_ = 0;
  return out_.MovePixelTo(at.x, at.y);
}

bool RunningStitch::Walked(LinePixel, int stepLength) {
  walked_ += stepLength;
  ++stepsSincePoint_;
  return !out_.Overflowed();
}

bool RunningStitch::PointIfDue(LinePixel at) {
  return walked_ >= length_ ? Place(at) : !out_.Overflowed();
}

bool RunningStitch::LineEnd(LinePixel at) {
  return stepsSincePoint_ > 0 ? Place(at) : !out_.Overflowed();
}

namespace {

class StraightSink : public LineSink {
 public:
  StraightSink(StitchOutput& out, int length) : out_(out), running_(out, length) {}

  bool BeginWalk(LinePixel start) override { return running_.Place(start); }
  bool Walked(LinePixel at, int stepLength, WalkLeg) override {
    return running_.Walked(at, stepLength);
  }
  bool PointIfDue(LinePixel at, WalkLeg) override { return running_.PointIfDue(at); }
  bool PointAt(LinePixel at, WalkLeg) override { return running_.Place(at); }
  bool LineEnd(LinePixel at, WalkLeg) override { return running_.LineEnd(at); }
  bool EndWalk() override { return out_.TieOff(); }

 private:
  StitchOutput& out_;
  RunningStitch running_;
};

}  // namespace

int RunStraightStitch(FillJob& job) {
  CloseMaskGaps(job.mask);
  ThinMask(job.mask);
  if (!job.out->PutZeroJump()) return -1;
  StraightSink sink(*job.out, StitchLengthFrom(job.parameter));
  LineWalker walker(job.mask, sink, StartRule::kLineEnds);
  return walker.Run();
}

}  // namespace seamlib
