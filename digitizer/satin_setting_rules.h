#pragma once

// "Setting Satin Stitch": for a satin part, the start and end point of the column on each of
// the part's regions, and one satin spacing for the whole part. The regions are numbered the
// way the satin builder numbers them (4-connected, row order of their first pixel, labels 8,
// 16, 24, ...), so entry j of the part's satin records belongs to region j + 1.
//
// Points are work pixels (0.25 mm), y downwards. The window maps them to its drawing frame
// with SatinFrameMapping and forwards drops and button presses here.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "digitizer/bit_mask.h"
#include "digitizer/part_list.h"

namespace digitizer {

// Density radios and the spacing, in mm between satin stitches, each one stands for.
enum SatinDensityId : int { kDensityFineId = 1120, kDensityMediumId = 1121, kDensityCoarseId = 1122 };
inline constexpr double kFineSpacing = 0.4;
inline constexpr double kMediumSpacing = 0.6;
inline constexpr double kCoarseSpacing = 1.0;

// Any value that is not one of the three radios gives the medium spacing.
double SatinSpacingOf(int densityId);
// The radio a stored spacing shows: the exact fine or coarse spacing, else medium.
int SatinDensityIdOf(double spacing);
// The picture view's satin option: the density radio's place in its group (0 Fine, 1 Medium,
// 2 Coarse); any other option stands for Medium.
int SatinDensityIdOfOption(int option);
int SatinOptionOf(int densityId);

struct SatinRegionPoints {
  MaskPoint start;
  bool startAssigned = false;
  MaskPoint end;
  bool endAssigned = false;
  bool Complete() const { return startAssigned && endAssigned; }
};

enum class SatinDot { kStart, kEnd };

class SatinSettingModel {
 public:
  static constexpr const char* kAttentionCaption = "Attention";
  static constexpr const char* kConfirmCaption = "Confirm";
  static constexpr const char* kNoPartsText = "No parts are selected.";
  static constexpr const char* kOverTenText = "Over ten parts are selected.\nRegister the first ten parts.";
  static constexpr const char* kIncompleteText =
      "Starting/ending points not assigned.\n Click Yes to ignore."
      "\n Click No to return to reassign points.\n Click Cancel to quit operation.";
  static constexpr const char* kStartHint =
      "Click and drag the dark green dot to the stitch starting point on the outline. The dot turns to bright "
      "green.";
  static constexpr const char* kEndHint =
      "Click and drag the dark red dot to the stitch ending point on the outline. The dot turns to bright red.";
  static constexpr const char* kTenHint =
      "Cancel your selection if over ten parts were selected. Select only ten parts again.";

  enum class Result { kStay, kAccepted, kCancelled };

  // packedMask: the part's region mask (packed, bit 1 = in the part) of width x height work
  // pixels, maskBytes long; a mask shorter than that size is treated as empty.
  // entries: the part's ten records; they change only when the dialog ends with OK.
  SatinSettingModel(const uint8_t* packedMask, std::size_t maskBytes, int width, int height, SatinSettings& entries);

  // Labels the regions. False (after "No parts are selected.") when there is none: the dialog
  // closes. More than ten warns once and serves the first ten.
  bool Open();

  int RegionCount() const { return served_; }
  int Current() const { return current_; }  // 1..RegionCount()
  std::string CounterText() const;
  bool CanGoNext() const { return current_ < served_; }
  bool CanGoBefore() const { return current_ > 1; }
  void Next();
  void Before();

  // The current region's outline: a byte map (1 = outline pixel), width x height.
  const std::vector<uint8_t>& Outline() const { return outline_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  const SatinRegionPoints& Points(int region) const { return points_[static_cast<std::size_t>(region - 1)]; }
  const SatinRegionPoints& CurrentPoints() const { return Points(current_); }

  // A dot released at a work pixel: kept on the nearest outline pixel close by, or cleared
  // (0, 0, not assigned) when the outline is not near. Returns whether it was kept.
  bool DropDot(SatinDot dot, MaskPoint workPixel);

  int DensityId() const { return densityId_; }
  void SetDensityId(int id) { densityId_ = id; }
  // The density a part without one of its own opens with (a new registration), as the
  // picture view's satin option; set before Open. DensityOption: the chosen one, as an option.
  void SetDensityOption(int option) { optionDensityId_ = SatinDensityIdOfOption(option); }
  int DensityOption() const { return SatinOptionOf(densityId_); }

  // OK: builds the ten records and, when a region is incomplete, asks what to do.
  // No: stays on the first incomplete region.
  Result Ok();

 private:
  void ShowRegion(int region);
  void LoadEntries();

  const uint8_t* packedMask_;
  std::size_t maskBytes_;
  int width_;
  int height_;
  SatinSettings& entries_;
  CBitMask bits_;
  std::vector<uint8_t> labels_;
  std::vector<uint8_t> outline_;
  SatinRegionPoints points_[kSatinColumnsPerPart]{};
  int served_ = 0;
  int current_ = 1;
  int densityId_ = kDensityMediumId;
  int optionDensityId_ = kDensityMediumId;
};

// Work pixels <-> drawing-frame pixels: the work area is scaled alike in both directions to
// the largest size that fits the frame less an inset of 2 pixels on every side, and centred
// there, so that a round region shows round whatever the hoop's shape.
class SatinFrameMapping {
 public:
  static constexpr int kInset = 2;
  SatinFrameMapping(int workWidth, int workHeight, int frameWidth, int frameHeight);
  MaskPoint ToFrame(MaskPoint work) const;
  MaskPoint ToWork(MaskPoint frame) const;  // clamped into the work area
  // The frame pixels a work pixel covers, first to last (at least one).
  struct Cover {
    MaskPoint first;
    MaskPoint last;
  };
  Cover Covered(MaskPoint work) const;
  // Where the whole work area lies in the frame.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return Scaled(workWidth_); }
  int Height() const { return Scaled(workHeight_); }

 private:
  int Scaled(int work) const { return static_cast<int>(static_cast<long long>(work) * scaleNum_ / scaleDen_); }

  int workWidth_;
  int workHeight_;
  // Frame pixels per work pixel, as a fraction.
  long long scaleNum_;
  long long scaleDen_;
  int left_;
  int top_;
};

}  // namespace digitizer
