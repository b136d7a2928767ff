#include "digitizer/auto_register.h"

#include <algorithm>
#include <cstdio>

#include "platform/message_box.h"

namespace digitizer {

AutoRegisterRun::AutoRegisterRun(int width, int height)
    : outline_(width, height),
      binMap_(outline_.Mask().MapBytes(), 0),
      packed_(outline_.Mask().PackedBytes(), 0),
      packedOutline_(outline_.Mask().PackedBytes(), 0xFF) {}

AutoRegisterResult AutoRegisterRun::Run(PixelImage& fill, PixelImage& line, AutoRegisterDesign& design,
                                        const AutoRegisterSettings& settings, const std::atomic<bool>& cancel,
                                        const ProgressCallback& progress) {
  const CBitMask& mask = outline_.Mask();
  int counter = 0;
  int colours = 0;
  auto report = [&] {
    ++counter;
    if (progress) progress(counter, colours);
  };
  auto cancelled = [&] { return cancel.load(std::memory_order_relaxed); };
  auto stage = [&](int done, int of, int base) {
    if (stage_ && of > 0) stage_(base + static_cast<int>(static_cast<long>(done) * 50 / of));
  };

  colours = QuantizeAndCount(fill, fill, settings.outline.sensitivity, kAutoRegisterBinThreshold, counts_);
  report();
  if (cancelled()) return AutoRegisterResult::kCancelled;

  std::vector<uint8_t>& accumulated = outline_.Accumulated();
  std::fill(accumulated.begin(), accumulated.end(), uint8_t{0});
  design.DeleteAllParts();

  const int bound = SensitivityLevelFor(settings.outline.sensitivity).binBound;
  // The outline part, when asked for, keeps its place within the limit.
  const int colourParts = kMaxParts - (settings.addOutlinePart ? 1 : 0);
  bool overLimit = false;
  for (int round = 0; round < colours; ++round) {
    stage(round, colours, 0);
    const TakenBin taken = TakeLargestBin(counts_, bound);
    if (taken.count <= 0) break;
    const long firstPixel = BinMask(fill, taken.bin, mask, packed_);
    if (cancelled()) return AutoRegisterResult::kCancelled;
    // The colour sample is the quantised picture's own pixel, so the thread matches what the
    // user saw in the sensitivity preview.
    const platform::PaletteColour sample =
        firstPixel < 0 ? BinColour(taken.bin)
                       : fill.At(static_cast<int>(firstPixel % mask.Width()), static_cast<int>(firstPixel / mask.Width()));
    const int threadCode = NearestThreadColor(sample);

    mask.MarkThinRuns(LineThicknessFor(taken.bin, settings.outline.darkLinesOnly, settings.outline.lineThickness),
                      packed_.data(), accumulated.data());
    mask.Unpack(packed_.data(), binMap_.data());
    mask.CloseGaps(binMap_.data(), false);
    // Twice: the first pass leaves pixels whose neighbours it removed.
    mask.CountAndClean(binMap_.data());
    if (mask.CountAndClean(binMap_.data()) >= kMinPartPixels) {
      // A colour past the limit (or one the design takes no more) still gets its edges in
      // the outline.
      if (design.PartCount() >= colourParts) {
        overLimit = true;
        continue;
      }
      std::fill(packed_.begin(), packed_.end(), uint8_t{0});
      mask.PackPadded(binMap_.data(), packed_.data());
      if (!design.AddPart(threadCode, kHorizontalWeaveStitchType, packed_)) overLimit = true;
      report();
    }
  }
  if (overLimit) {
    platform::MessageBox(nullptr, kOverPartsText, kOverPartsCaption, platform::kMbOk | platform::kMbIconError);
  }

  stage(1, 1, 0);
  mask.Thin(accumulated.data());
  if (settings.addOutlinePart && design.PartCount() < kMaxParts) {
    std::fill(packed_.begin(), packed_.end(), uint8_t{0});
    mask.PackPadded(accumulated.data(), packed_.data());
    design.AddPart(kOutlineThreadCode, kOutlineStraightStitchType, packed_);
  }

  const int parts = design.PartCount();
  bool stitchFailed = false;
  for (int part = 0; part < parts; ++part) {
    // A part that fails keeps the design as far as it got; the outline is still stored, and
    // the run says it failed.
    if (design.GenerateStitches(part) < 0) {
      stitchFailed = true;
      break;
    }
    report();
    stage(part + 1, parts, 50);
    if (cancelled()) return AutoRegisterResult::kCancelled;
  }

  std::fill(packedOutline_.begin(), packedOutline_.end(), uint8_t{0xFF});
  mask.Pack(accumulated.data(), packedOutline_.data());
  PaintMonochrome(mask, packedOutline_, fill);
  PaintMonochrome(mask, packedOutline_, line);
  if (cancelled()) return AutoRegisterResult::kCancelled;

  design.StoreOutline(packedOutline_, mask.Width(), mask.Height());
  if (stage_) stage_(100);
  return stitchFailed ? AutoRegisterResult::kStitchFailed : AutoRegisterResult::kOk;
}

AutoRegisterProgressText FormatAutoRegisterProgress(int counter, int colours) {
  AutoRegisterProgressText progress;
  // Until the colours are counted there is nothing to divide by.
  if (colours <= 0) return progress;
  char text[32];
  std::snprintf(text, sizeof text, "%d / %d", counter / 2, colours);
  progress.text = text;
  progress.percent = static_cast<int>(static_cast<long>(counter) * 50 / colours);
  return progress;
}

}  // namespace digitizer
