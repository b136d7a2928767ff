#pragma once

// What Pictorel saves must open again as it was: the file written from a design reads back
// without an error, with the stitches sewing the same way and every part (colour, fill
// type, mask, satin columns) as it was saved, and writing it once more gives the same bytes.
// The clock must be fixed, since the file carries its time of writing.

#include <algorithm>
#include <cstring>
#include <vector>

#include "design/qnf_reader.h"
#include "digitizer/stitch_design.h"
#include "fuzz/fuzz_support.h"

namespace vfuzz {

// The parts block packs every part's mask on each save; beyond this much mask the harness
// would spend its second packing rather than reading.
constexpr std::size_t kRoundTripMaskBytes = 1u << 20;

inline bool SameParts(const digitizer::CStitchDesign& a, const digitizer::CStitchDesign& b) {
  if (a.GetPartCount() != b.GetPartCount() || a.MaskBytes() != b.MaskBytes()) return false;
  for (int i = 0; i < a.GetPartCount(); ++i) {
    const digitizer::PartRecord& p = *a.GetPartList().GetPart(i);
    const digitizer::PartRecord& q = *b.GetPartList().GetPart(i);
    const std::size_t n = a.MaskBytes();
    if (p.colour != q.colour || p.stitch != q.stitch || p.mask.size() < n || q.mask.size() < n ||
        !std::equal(p.mask.begin(), p.mask.begin() + static_cast<std::ptrdiff_t>(n), q.mask.begin()) ||
        std::memcmp(p.satin.data(), q.satin.data(), sizeof p.satin) != 0) {
      return false;
    }
  }
  return true;
}

// Whether the round trip of the design is cheap enough to take.
inline bool WithinRoundTripWork(const digitizer::CStitchDesign& design) {
  return static_cast<std::size_t>(design.GetPartCount()) * design.MaskBytes() <= kRoundTripMaskBytes;
}

// Saves the design, opens the file in a fresh design of the same hoop and checks it; the
// first save must succeed when mustSave is set (a design read from a sound file).
inline void CheckPictorelRoundTrip(digitizer::CStitchDesign& design, bool mustSave) {
  if (!WithinRoundTripWork(design)) return;
  static std::vector<uint8_t> saved;
  static std::vector<uint8_t> savedAgain;
  if (design.Write(saved) != 1) {
    Require(!mustSave, "a Pictorel design read from a file cannot be saved again");
    return;
  }
  static digitizer::CStitchDesign opened;
  opened.Clear();
  opened.ClearParts();
  opened.SetHoop(design.HoopKind());
  Require(opened.Read(saved) == 1 && opened.Error() == digitizer::kDesignOk,
          "a Pictorel design as saved does not open again");
  // Every program reads the file as a plain QNF design too.
  static design::StitchRecord plain(design::StitchRecord::kPictorelStitchRoom);
  Require(design::ReadQnf(saved, plain, digitizer::kMaxDesignPairs) == design::QnfReadStatus::kOk,
          "a Pictorel design as saved is no QNF design the programs read");
  const bool withParts = design.EditState() == digitizer::kPartsRead ||
                         design.EditState() == digitizer::kStitchesFromParts;
  if (withParts) {
    Require(opened.EditState() == digitizer::kPartsRead, "a saved design's parts do not open again");
    Require(SameParts(design, opened), "a saved design's parts open as other parts");
  }
  Require(opened.Write(savedAgain) == 1 && savedAgain == saved,
          "a Pictorel design opened from its own file saves to other bytes");
}

}  // namespace vfuzz
