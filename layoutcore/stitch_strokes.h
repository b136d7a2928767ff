#pragma once

// Turns the stitch walk's events into pen work for the template drawings: a stitch or a
// sewn long stitch strokes to its end, a jump moves, and so does the first stitch after a
// run of jumps (the landing: the needle goes down there without sewing a line to it).
//
// The pen provides Advance(dx, dy) (0.1 mm, dy upward as stored), Move(), Stroke(),
// ColourChange() and Stopped() (true once it draws no more).

namespace editor {

template <class Pen>
class StrokeSink {
 public:
  explicit StrokeSink(Pen& pen) : pen_(pen) {}

  void ColourChange() {
    if (!pen_.Stopped()) pen_.ColourChange();
  }
  void Jump(int dx, int dy, bool sewnLongStitch) {
    if (pen_.Stopped()) return;
    pen_.Advance(dx, dy);
    landing_ = !sewnLongStitch;
    if (sewnLongStitch) pen_.Stroke();
    else pen_.Move();
  }
  void Stitch(int dx, int dy) {
    if (pen_.Stopped()) return;
    pen_.Advance(dx, dy);
    if (landing_) pen_.Move();
    else pen_.Stroke();
    landing_ = false;
  }

 private:
  Pen& pen_;
  bool landing_ = false;
};

}  // namespace editor
