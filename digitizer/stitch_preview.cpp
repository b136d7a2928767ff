#include "digitizer/stitch_preview.h"

#include <algorithm>
#include <vector>

#include "design/hoop.h"
#include "design/qnf_file.h"
#include "design/sew_file.h"
#include "design/thread_colors.h"
#include "platform/le_bytes.h"

namespace digitizer {
namespace {

constexpr uint8_t kControlByte = 0x80;
constexpr uint8_t kColourChangeCode = 0x01;
constexpr uint8_t kJumpCode = 0x02;
constexpr uint8_t kEndCode = 0x10;

constexpr int kMaxDesignColours = 78;
constexpr HoopFrame kSmallHoopFrame{500, 500};
constexpr HoopFrame kNormalHoopFrame{1100, 1100};
// The large hoop's 1400 x 2000 and a strip of 200 beside it that the preview shows too.
constexpr HoopFrame kLargeHoopPreviewFrame{1600, 2000};

constexpr HoopFrame kSewStandardFrame{1100, 1100};
constexpr HoopFrame kSewLargeFrame{1400, 2000};
// A SEW design starts 9 mm above the hoop centre and 10 mm (standard hoop) or 15 mm (large hoop)
// left of it: 350 below the top of an 880-high field centred in the hoop (0.1 mm, y downwards).
constexpr int kSewStartXStandard = 450;
constexpr int kSewStartXLarge = 550;
constexpr int kSewFieldHeight = 880;
constexpr int kSewStartYFromField = 350;
// The walk's word budget counts the head's 25 words too, though the stitches start later.
constexpr int kSewHeaderWords = 25;

int ScaleTo(int value, int target, int frame) { return static_cast<int>(static_cast<long>(value) * target / frame); }

}  // namespace

PreviewExtents WalkPreviewStitches(const StitchWalk& walk, platform::Canvas* canvas) {
  int x = walk.startX;
  int y = walk.startY;
  PreviewExtents extents{x, y, x, y};
  if (walk.threadCodes.empty() || walk.frame.width <= 0 || walk.frame.height <= 0) return extents;
  auto plot = [&](int& px, int& py) {
    px = ScaleTo(x, walk.targetWidth, walk.frame.width);
    py = ScaleTo(y, walk.targetHeight, walk.frame.height);
  };
  auto reach = [&] {
    extents.left = std::min(extents.left, x);
    extents.top = std::min(extents.top, y);
    extents.right = std::max(extents.right, x);
    extents.bottom = std::max(extents.bottom, y);
  };
  std::size_t colourIndex = 0;
  platform::PaletteColour colour = design::GetThreadColor(walk.threadCodes[0]);
  int px = 0, py = 0;
  if (canvas) {
    canvas->SetPen(colour, 0, platform::PenStyle::kSolid);
    plot(px, py);
    canvas->MoveTo(px, py);
  }
  bool penUp = true;
  // Words past what was read are never walked, whatever the header promised.
  const std::size_t wordCount = std::min<std::size_t>(walk.words.size() / 2, static_cast<std::size_t>(std::max(walk.maxWords, 0)));
  auto move = [&](std::size_t at) {
    x += static_cast<int8_t>(walk.words[2 * at]);
    y -= static_cast<int8_t>(walk.words[2 * at + 1]);
    reach();
  };
  for (std::size_t at = 0; at < wordCount; ++at) {
    const uint8_t low = walk.words[2 * at];
    const uint8_t high = walk.words[2 * at + 1];
    if (low != kControlByte) {
      move(at);
      penUp = false;
      if (canvas) {
        plot(px, py);
        canvas->LineTo(px, py);
      }
      continue;
    }
    if (high == kEndCode) break;
    if (high != kColourChangeCode && high != kJumpCode) continue;  // a marker without a move
    if (++at >= wordCount) break;
    move(at);
    if (high == kColourChangeCode) {
      if (++colourIndex >= walk.threadCodes.size()) break;
      colour = design::GetThreadColor(walk.threadCodes[colourIndex]);
      penUp = true;
      if (canvas) {
        canvas->SetPen(colour, 0, platform::PenStyle::kSolid);
        plot(px, py);
        canvas->MoveTo(px, py);
      }
      continue;
    }
    if (!canvas) continue;
    plot(px, py);
    if (penUp) {
      canvas->MoveTo(px, py);
    } else {
      canvas->SetPen(colour, 0, platform::PenStyle::kDotted);
      canvas->LineTo(px, py);
      canvas->SetPen(colour, 0, platform::PenStyle::kSolid);
    }
  }
  return extents;
}

int DesignHoopCode(std::span<const uint8_t> design) {
  if (design.size() < design::kQnfHeaderSize) return 0;
  return platform::ReadI32(design.data() + design::qnf_offset::kHoopCode);
}

std::string DrawDesignPreview(std::span<const uint8_t> design, platform::Canvas& canvas, int previewWidth,
                              int previewHeight) {
  canvas.FillRect({0, 0, previewWidth, previewHeight}, kEmptyPreviewGrey);
  const int hoopCode = DesignHoopCode(design);
  HoopFrame frame = kNormalHoopFrame;
  std::string label = "Normal Hoop";
  if (hoopCode == design::kSmallHoop) {
    frame = kSmallHoopFrame;
    label = "Small Hoop";
  } else if (hoopCode == design::kLargeHoop) {
    frame = kLargeHoopPreviewFrame;
    label = "Large Hoop";
  }
  // Only the large hoop is taller than wide; every other hoop is a square of the preview's width.
  const int targetHeight = hoopCode == design::kLargeHoop ? previewHeight : previewWidth;
  canvas.FillRect({0, 0, previewWidth, targetHeight}, platform::kPaletteWhite);
  if (design.size() < design::kQnfHeaderSize) return label;

  const int colourCount = platform::ReadI32(design.data() + design::qnf_offset::kColourCount);
  if (colourCount < 1 || colourCount > kMaxDesignColours) return label;
  const std::size_t codesEnd = design::qnf_offset::kColourTables + 4 * static_cast<std::size_t>(colourCount);
  if (design.size() < codesEnd) return label;
  std::vector<int32_t> codes(static_cast<std::size_t>(colourCount));
  for (int i = 0; i < colourCount; ++i) {
    codes[static_cast<std::size_t>(i)] =
        platform::ReadI32(design.data() + design::qnf_offset::kColourTables + 4 * static_cast<std::size_t>(i));
  }
  const int32_t stitchOffset = platform::ReadI32(design.data() + design::qnf_offset::kStitchDataOffset);
  const int32_t pairCount = platform::ReadI32(design.data() + design::qnf_offset::kPairCount);
  // An offset that points outside what was read draws nothing rather than reading past it.
  if (stitchOffset < 0 || static_cast<std::size_t>(stitchOffset) >= design.size() || pairCount <= 0) return label;

  StitchWalk walk;
  walk.words = design.subspan(static_cast<std::size_t>(stitchOffset));
  walk.maxWords = std::min(pairCount, kMaxPreviewWords);
  walk.threadCodes = codes;
  walk.frame = frame;
  walk.startX = frame.width / 2;
  walk.startY = frame.height / 2;
  walk.targetWidth = previewWidth;
  walk.targetHeight = targetHeight;
  WalkPreviewStitches(walk, &canvas);
  return label;
}

SewLayout ReadSewLayout(std::span<const uint8_t> sew) {
  SewLayout layout;
  if (sew.size() < 2) return layout;
  layout.colourCount = platform::ReadU16(sew.data() + design::sew_offset::kColourCount);
  if (layout.colourCount < 1 || layout.colourCount > design::kMaxSewColours) return layout;
  const std::size_t countsEnd = 2 * static_cast<std::size_t>(kSewStitchCountsWord + layout.colourCount);
  if (sew.size() < countsEnd) return layout;
  long total = kSewHeaderWords;
  for (int i = 0; i < layout.colourCount; ++i) {
    total += platform::ReadU16(sew.data() + 2 * static_cast<std::size_t>(kSewStitchCountsWord + i));
  }
  if (total > kMaxPreviewWords) return layout;
  layout.totalWords = static_cast<int>(total);
  layout.valid = true;
  return layout;
}

PreviewExtents SewWalk(std::span<const uint8_t> sew, bool largeHoop, platform::Canvas* canvas, int previewWidth,
                       int previewHeight) {
  const HoopFrame frame = largeHoop ? kSewLargeFrame : kSewStandardFrame;
  if (canvas) {
    canvas->FillRect({0, 0, previewWidth, previewHeight}, kEmptyPreviewGrey);
    canvas->FillRect({0, 0, previewWidth, previewHeight}, platform::kPaletteWhite);
  }
  StitchWalk walk;
  walk.frame = frame;
  walk.startX = largeHoop ? kSewStartXLarge : kSewStartXStandard;
  walk.startY = (frame.height - kSewFieldHeight) / 2 + kSewStartYFromField;
  walk.targetWidth = previewWidth;
  walk.targetHeight = previewHeight;

  const SewLayout layout = ReadSewLayout(sew);
  std::vector<int32_t> codes;
  if (layout.valid && sew.size() > design::sew_offset::kStitches) {
    for (int i = 0; i < layout.colourCount; ++i) {
      codes.push_back(platform::ReadU16(sew.data() + design::sew_offset::kThreadCodes + 2 * static_cast<std::size_t>(i)));
    }
    walk.words = sew.subspan(design::sew_offset::kStitches);
    walk.maxWords = layout.totalWords;
    walk.threadCodes = codes;
  }
  PreviewExtents extents = WalkPreviewStitches(walk, canvas);
  const int centreX = frame.width / 2;
  const int centreY = frame.height / 2;
  extents.left -= centreX;
  extents.right -= centreX;
  extents.top -= centreY;
  extents.bottom -= centreY;
  return extents;
}

}  // namespace digitizer
