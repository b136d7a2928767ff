#pragma once

// Make Stitch: the worker's job that turns a design's registered parts into one stitch
// sequence. Each part's packed region mask becomes a 562 x 802 pixel mask (a one-pixel border
// around the work area, 0.25 mm pixels, y downwards), Seamlib stitches it at its shared cursor
// into the design's record (byte 740 on, 0.1 mm pairs, dy upwards), and stop and end pairs join
// the parts.
//
// The job touches nothing of the screen and takes no lock: the progress dialog's thread sets
// the cancel flag and the job polls it once per part, so a test runs the job directly. Seamlib
// keeps one module state, so only one job may run at a time.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "digitizer/make_stitch_transform.h"
#include "digitizer/part_list.h"
#include "digitizer/stitch_design.h"

namespace digitizer {

// Flip, rotation and size that the "Make Stitch" dialog applies to the whole design.
struct MakeStitchOptions {
  static constexpr int kFlipNone = 0;
  static constexpr int kFlipHorizontal = 1;  // dx negated
  static constexpr int kFlipVertical = 2;    // dy negated
  static constexpr int kPlainSizePercent = 100;

  int flip = kFlipNone;
  int rotationDegrees = 0;  // 0..359
  int sizePercent = kPlainSizePercent;  // 50..150

  bool IsPlain() const {
    return flip == kFlipNone && rotationDegrees == 0 && sizePercent == kPlainSizePercent;
  }
};

// How a run ended, as the progress dialog ends: 1 ran through (check the pair count), 2 cancelled.
enum class MakeStitchEnd : int { kRan = 1, kCancelled = 2 };

// What the frame reports after a run that ran through (its stitch-generation error message
// parameter): none, a part Seamlib could not stitch, satin columns that could not be built.
enum MakeStitchError : int { kNoStitchError = 0, kPartNotStitched = 1, kSatinColumnsFailed = 2 };

// The progress counter of the "Making Stitch" dialog: stepped once per part.
class MakingStitchProgress {
 public:
  MakingStitchProgress() = default;
  explicit MakingStitchProgress(int counter) : counter_(counter) {}
  void Step() { ++counter_; }
  int Counter() const { return counter_; }
  // "%d / %d" (counter, count); empty while there is no count to show.
  std::string Text(int count) const;
  // counter x 100 / count; 0 without a count.
  int Position(int count) const;

 private:
  int counter_ = 0;
};

// The pixel-mask forms a part goes through before Seamlib sees it. All masks are
// kWorkMaskBytes long, 562 bytes a row.
namespace pixel_mask {
constexpr int kStride = 562;
constexpr int kRows = 802;

// Clears mask, then sets 1 at (column + 1, row + 1) for every packed bit 1 of a work area of
// width x height. A packed mask shorter than the work area asks for gives false, mask empty.
bool UnpackPartMask(const std::vector<uint8_t>& packed, int width, int height, uint8_t* mask);

// Rescales columns 0..width-1 of rows 0..height-1 of source by percent into destination
// (cleared first): source column k ORs into column k x p / 100, and a jump of more than one
// column fills the column after the previous one too; row 0 stays row 0, row r >= 1 goes to
// (r - 1) x p / 100, and a row left empty under it takes a copy of the row written. Writes
// beyond the mask are dropped.
void Rescale(const uint8_t* source, uint8_t* destination, int width, int height, int percent);

// Copies the columns [left, left + width) of rows [top, top + height) of source to
// destination at (toLeft, toTop); the rest of destination is cleared. Clipped to the mask.
void CopyBlock(const uint8_t* source, int left, int top, int width, int height, uint8_t* destination,
               int toLeft, int toTop);

// Thins the set pixels of columns 1..560, rows 1..800 to lines, the way the line fills want
// their regions. snapshot is a work mask of the same size the passes compare against.
void ThinRegion(uint8_t* mask, uint8_t* snapshot);
}  // namespace pixel_mask

// Moves a part's satin columns the way its mask was moved: a record whose first x is 0 has
// no points and keeps only its spacing; each point becomes ((x - originX + 1) x p / 100 +
// offsetX - 1, ...) and the spacing is kept.
SatinSettings RescaleSatin(const SatinSettings& satin, int percent, int originX, int originY, int offsetX,
                           int offsetY);

// A rectangle of pixel-mask coordinates (the border included), edges inclusive.
struct MaskRect {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;
  bool Empty() const { return right < left || bottom < top; }
};

// The smallest rectangle holding every set pixel of every part.
MaskRect GetOutlineRect(const CStitchDesign& design);

// Where the outline lands when sized by percent about its middle.
MaskRect SizedTarget(const MaskRect& outline, int sizePercent);

// Drops the colour blocks that hold nothing (a stop record followed at once by another or by
// the end pair, or a design that starts with a stop record) with their thread codes, and
// returns the blocks left (at least 1). Stop records with a move are kept.
int DropEmptyColourBlocks(design::StitchRecord& record);

class MakeStitchRun {
 public:
  // (counter, count) after every part.
  using ProgressCallback = std::function<void(int counter, int count)>;

  // Allocates the run's pixel masks once, at their fixed sizes.
  MakeStitchRun();

  // Makes every part's stitches in order. A part Seamlib cannot stitch stops the run with
  // PairCount() -1; a set cancel flag stops it after the part in progress, with the record's
  // head pair count set to 0 so that nothing half made is sewn or saved.
  MakeStitchEnd Run(CStitchDesign& design, const MakeStitchOptions& options, const std::atomic<bool>& cancel,
                    const ProgressCallback& progress);

  // Part i without a transform; part 0 begins a new record and a new Seamlib sequence. The new
  // pair count, or -1 when the run must stop.
  int32_t GenerateStitches(CStitchDesign& design, int i);
  // Part i sized into the outline's sized target; after the last part (or a failed one) the
  // whole stream is flipped and turned. Parts are joined by stop records only.
  int32_t GenerateStitchesTransformed(CStitchDesign& design, int i, const MakeStitchOptions& options);

  // The pairs the record holds through its end pair; -1 after a part that failed.
  int32_t PairCount() const { return pairCount_; }
  // After Run ended with kRan: which stitch-generation error the frame reports. Takes Seamlib's
  // satin failure count (and so clears it).
  MakeStitchError TakeError();

 private:
  // Part i's pixel mask into N, as Seamlib wants it for this work area; satin gets the part's
  // columns moved with it. False when the part's mask is unusable.
  bool PreparePart(const CStitchDesign& design, const PartRecord& part, SatinSettings& satin);
  int32_t FinishPart(CStitchDesign& design, int i, const PartRecord* part, int made);
  void WriteHead(CStitchDesign& design, bool failed);

  std::vector<uint8_t> maskM_;
  std::vector<uint8_t> maskN_;
  std::vector<uint8_t> snapshot_;
  int32_t pairCount_ = 0;
  int32_t runningPairs_ = 0;  // pairs of the sized parts so far, before the end pair
  int blocks_ = 0;            // colour blocks in the stream, the one being made included
  MaskRect outline_;
  MaskRect target_;
  MakeStitchTransformer transformer_;
};

}  // namespace digitizer
