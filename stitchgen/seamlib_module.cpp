#include "stitchgen/seamlib_module.h"

#include <algorithm>
#include <cstdint>

namespace seamlib {

namespace {

constexpr int kCellPixels = 8;  // a cross-stitch cell is 8 x 8 pixels (2 mm)
// The result counts pairs written plus the four of the stop and end codes around a part.
constexpr int kResultPairsAdded = 4;

struct FamilyEntry {
  FillFamily run;
  int fixedParameter;  // kFromTypeCode: the type code's high byte
};
constexpr int kFromTypeCode = -1;

// Fill type -> family. Each family lives in its own file.
constexpr FamilyEntry kFamilies[] = {
    {RunHorizontalWeave, 0},         // 0 horizontal weave
    {RunRotatedWeave, kFromTypeCode},  // 1 diagonal weave at the given angle
    {RunRotatedWeave, 90},           // 2 vertical weave
    {RunCrossStitch, kFromTypeCode},    // 3 cross stitch
    {RunSatinColumns, kFromTypeCode},   // 4 satin stitch
    {RunZigzagOutline, kFromTypeCode},  // 5 zigzag of the given width (0.1 mm)
    {RunZigzagOutline, 20},             // 6 2 mm zigzag
    {RunZigzagOutline, 30},             // 7 3 mm zigzag
    {RunZigzagOutline, 50},             // 8 5 mm zigzag
    {RunStraightStitch, kFromTypeCode}, // 9 straight stitch of the given length (0.1 mm)
};
constexpr int kFillTypes = static_cast<int>(sizeof(kFamilies) / sizeof(kFamilies[0]));

// The caller's mask promises a border of zeros and values 0 or 1; the generators read one
// pixel beyond every part pixel and keep labels in the low seven bits, so hold it to that.
void NormaliseMask(PixelPlane mask) {
  for (int y = 0; y < mask.rows; ++y) {
    const bool borderRow = y == 0 || y == mask.rows - 1;
    for (int x = 0; x < mask.width; ++x) {
      uint8_t& pixel = mask.At(x, y);
      if (borderRow || x == 0 || x == mask.width - 1) {
        pixel = 0;
      } else if (pixel != 0) {
        pixel = 1;
      }
    }
  }
}

}  // namespace

SeamlibModule& Module() {
  static SeamlibModule module;
  return module;
}

int SeamlibModule::ChangeStitch(int typeCode, int partNo, int width, int height, char* out,
                                unsigned char* mask, const SatinColumnRecord* satin,
                                int borderFlag) {
  // The type code is a 16-bit value widened without sign: angles 128..255 stay angles.
  const unsigned code = static_cast<uint16_t>(typeCode);
  const int fillType = static_cast<int>(code & 0xFF);
  const int typeParameter = static_cast<int>(code >> 8);
  auto* area = reinterpret_cast<uint8_t*>(out);

  // A design's sequence begins here, before anything can refuse the part: the cursor must
  // never be left pointing into a previous design's area.
  if (partNo == 1) {
    stopRefused_ = false;
    // Clamped, so that a later part never indexes cells beyond the mask.
    cellGrid_ = CellGridSize{std::clamp(width, 0, kWorkColumns) / kCellPixels,
                             std::clamp(height, 0, kWorkRows) / kCellPixels};
    output_.Begin(area);
    // The middle of the work area in 0.1 mm (a pixel is 0.25 mm); wide arithmetic, as the
    // sizes are only checked further down.
    output_.SetNeedle(static_cast<int>(int64_t{width} * 25 / 20 % 65536),
                      static_cast<int>(int64_t{height} * 25 / 20 % 65536));
  } else if (!output_.Started() || area != output_.AreaStart()) {
    return -1;  // no design begun, or a part of another area
  }
  blockStart_ = output_.Cursor();
  output_.ClearOverflow();
  if (stopRefused_) return -1;  // the area is full: only the end pair still fits

  if (fillType >= kFillTypes) return 0;
  if (area == nullptr || mask == nullptr) return -1;
  if (width < 1 || width > kWorkColumns || height < 1 || height > kWorkRows) return -1;

  const FamilyEntry& family = kFamilies[fillType];
  FillJob job;
  job.fillType = fillType;
  job.parameter = family.fixedParameter == kFromTypeCode ? typeParameter : family.fixedParameter;
  job.width = width;
  job.height = height;
  job.mask = MaskPlane(mask);
  job.satin = satin;
  job.borderFlag = borderFlag != 0;
  job.out = &output_;
  job.cellGrid = cellGrid_;
  job.satinFailures = &satinFailures_;
  NormaliseMask(job.mask);

  const int made = family.run(job);
  if (made < 0) return -1;
  if (made == 0) return 0;
  return static_cast<int>((output_.Cursor() - blockStart_) / 2) + kResultPairsAdded;
}

int SeamlibModule::CursorAsInt() const {
  // Callers ignore it; an address does not fit an int, so its low 32 bits stand for it.
  return static_cast<int>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(output_.Cursor())));
}

int SeamlibModule::InsertStopCode() {
  stopRefused_ = !output_.PutStop();
  return CursorAsInt();
}

int SeamlibModule::InsertEndCode() {
  output_.PutEnd();
  return CursorAsInt();
}

int SeamlibModule::TakeSatinFailures() {
  const int failures = satinFailures_;
  satinFailures_ = 0;
  return failures;
}

}  // namespace seamlib
