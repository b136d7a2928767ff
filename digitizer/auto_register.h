#pragma once

// The Auto Register run: turns the picture into a complete design without the user choosing
// regions. Every frequent colour becomes a part in the nearest thread colour, the colours' edges
// become the outline drawing (and, on request, a straight-stitch part of their own), and the
// stitches of every part are made.
//
// The run is a worker's job: it polls a cancel flag that the progress dialog sets, at fixed
// points, and reports progress through a callback; it takes no lock and touches nothing of the
// screen, so a test runs it directly.

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "digitizer/colour_reduction.h"
#include "digitizer/part_list.h"

namespace digitizer {

// What the run needs of Pictorel's design record and document.
class AutoRegisterDesign {
 public:
  virtual ~AutoRegisterDesign() = default;
  virtual void DeleteAllParts() = 0;
  // Adds a part with its region mask (packed, bit 1 = inside). False when the design takes no
  // more parts.
  virtual bool AddPart(int threadCode, int stitchTypeCode, std::span<const uint8_t> regionMask) = 0;
  virtual int PartCount() const = 0;
  // Makes the stitches of one part; negative on failure.
  virtual int GenerateStitches(int partIndex) = 0;
  // Replaces the outline drawing with the packed picture (bit 0 black) of the work size, marks
  // the outline as made by the run and drops the picture kind.
  virtual void StoreOutline(std::span<const uint8_t> packedOutline, int width, int height) = 0;
};

// Stitch type code of a horizontal weave part: type 0 with no parameter.
constexpr int kHorizontalWeaveStitchType = 0x0000;
// Fill type 9 (straight stitch) with parameter 20 in the high byte: 2.0 mm stitches along the outline.
constexpr int kOutlineStraightStitchType = 0x1409;
constexpr int kOutlineThreadCode = 1;
// A colour that keeps fewer pixels than this after cleaning makes no part.
constexpr int kMinPartPixels = 50;

struct AutoRegisterSettings {
  OutlineOptions outline;
  bool addOutlinePart = false;  // the dialog's Outline check box
};

// kOk: parts, stitches and outline made. kStitchFailed: a part's stitches could not be made;
// the parts and the outline are kept, and the frame reports the stitch failure. kCancelled:
// cancelled during the run. kNotStarted: the dialog was closed before Start.
enum class AutoRegisterResult { kOk, kCancelled, kStitchFailed, kNotStarted };

// A design takes at most this many parts (every writer of the design requires it); colours
// beyond them make no part, and the user is told once per run.
inline constexpr const char* kOverPartsText = "Over seventy-eight parts.\nCannot be registered.";
inline constexpr const char* kOverPartsCaption = "Attention";

class AutoRegisterRun {
 public:
  // (counter, colours): the counter steps once per report; colours is the number of frequent
  // colours found, 0 until then.
  using ProgressCallback = std::function<void(int counter, int colours)>;

  // Allocates the run's work buffers for the work size, once.
  AutoRegisterRun(int width, int height);

  // fill: the picture drawn at the work size; quantised in place and, at the end, replaced by
  // the outline together with line. Returns kCancelled at the first cancel point that finds the
  // flag set; what was added to the design stays for the caller to drop.
  AutoRegisterResult Run(PixelImage& fill, PixelImage& line, AutoRegisterDesign& design,
                         const AutoRegisterSettings& settings, const std::atomic<bool>& cancel,
                         const ProgressCallback& progress);

  const std::vector<uint8_t>& PackedOutline() const { return packedOutline_; }

  // How far the run has got, 0..100, for the progress bar between reports: the colour rounds
  // fill the first half, the parts' stitches the second. Told after every colour round and
  // every part, so that a picture whose colours make few parts (a photograph's grain) still
  // shows the run moving. Each round costs a fixed number of passes over the work area and
  // there are at most 4,095 of them; Cancel is answered after every round and every part.
  using StageCallback = std::function<void(int percent)>;
  void SetStageProgress(StageCallback stage) { stage_ = std::move(stage); }

 private:
  OutlineBuilder outline_;
  std::vector<uint8_t> binMap_;
  std::vector<uint8_t> packed_;
  std::vector<uint8_t> packedOutline_;
  ColourBinCounts counts_{};
  StageCallback stage_;
};

// The progress dialog's figures: "%d / %d" with (counter / 2, colours), and the bar's percent.
struct AutoRegisterProgressText {
  std::string text;  // empty while the colours are not known
  int percent = 0;
};
AutoRegisterProgressText FormatAutoRegisterProgress(int counter, int colours);

}  // namespace digitizer
