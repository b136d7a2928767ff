#include "digitizer/auto_register.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "design/thread_colors.h"
#include "testing/recording_message_box.h"

namespace digitizer {
namespace {

using platform::PaletteRgb;

constexpr int kWidth = 64;
constexpr int kHeight = 48;

struct AddedPart {
  int threadCode = 0;
  int stitchType = 0;
  std::vector<uint8_t> mask;
};

class FakeDesign : public AutoRegisterDesign {
 public:
  void DeleteAllParts() override {
    ++deletes;
    parts.clear();
  }
  bool AddPart(int threadCode, int stitchTypeCode, std::span<const uint8_t> regionMask) override {
    if (static_cast<int>(parts.size()) >= capacity) return false;
    parts.push_back({threadCode, stitchTypeCode, {regionMask.begin(), regionMask.end()}});
    return true;
  }
  int PartCount() const override { return static_cast<int>(parts.size()); }
  int GenerateStitches(int partIndex) override {
    generated.push_back(partIndex);
    return partIndex == failingPart ? -1 : 100;
  }
  void StoreOutline(std::span<const uint8_t> packedOutline, int width, int height) override {
    outline.assign(packedOutline.begin(), packedOutline.end());
    outlineWidth = width;
    outlineHeight = height;
  }

  std::vector<AddedPart> parts;
  std::vector<int> generated;
  std::vector<uint8_t> outline;
  int outlineWidth = 0;
  int outlineHeight = 0;
  int deletes = 0;
  int capacity = 100;
  int failingPart = -1;
};

int BitsSet(const std::vector<uint8_t>& packed) {
  int count = 0;
  for (uint8_t byte : packed) count += __builtin_popcount(byte);
  return count;
}

struct RunFixture {
  PixelImage fill;
  PixelImage line{kWidth, kHeight, platform::kPaletteWhite};
  FakeDesign design;
  AutoRegisterRun run{kWidth, kHeight};
  std::atomic<bool> cancel{false};
  std::vector<int> counters;
  std::vector<int> colours;

  explicit RunFixture(PixelImage picture) : fill(std::move(picture)) {}

  AutoRegisterResult Go(const AutoRegisterSettings& settings, int cancelAtReport = 0) {
    return run.Run(fill, line, design, settings, cancel, [&](int counter, int found) {
      counters.push_back(counter);
      colours.push_back(found);
      if (counter == cancelAtReport) cancel = true;
    });
  }
};

PixelImage FlatSquare() {
  PixelImage picture(kWidth, kHeight, platform::kPaletteWhite);
  picture.FillRect(10, 8, 40, 38, PaletteRgb(0, 0, 0));
  return picture;
}

TEST(AutoRegister, OneFlatColourOnWhiteMakesOnePartAndTheOutline) {
  RunFixture run(FlatSquare());
  EXPECT_EQ(run.Go(AutoRegisterSettings{}), AutoRegisterResult::kOk);
  ASSERT_EQ(run.design.parts.size(), 1u);
  EXPECT_EQ(run.design.deletes, 1);
  EXPECT_EQ(run.design.parts[0].threadCode, design::ThreadColorTable()[0].code);  // black thread
  EXPECT_EQ(run.design.parts[0].stitchType, kHorizontalWeaveStitchType);
  // The region mask holds the square (packed, bit 1 inside), edges filled by the cleaning.
  EXPECT_GE(BitsSet(run.design.parts[0].mask), 28 * 28);
  EXPECT_LE(BitsSet(run.design.parts[0].mask), 30 * 30);
  EXPECT_EQ(run.design.generated, std::vector<int>{0});

  // The outline is stored at the work size and painted into both pictures.
  EXPECT_EQ(run.design.outlineWidth, kWidth);
  EXPECT_EQ(run.design.outlineHeight, kHeight);
  EXPECT_EQ(run.design.outline, run.run.PackedOutline());
  EXPECT_EQ(run.fill.At(25, 25), platform::kPaletteWhite);
  EXPECT_EQ(run.fill.At(10, 20), platform::kPaletteBlack);
  EXPECT_EQ(run.line.At(10, 20), platform::kPaletteBlack);

  // Progress: the colour count (black and white), one step per part, one per stitched part.
  EXPECT_EQ(run.counters, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(run.colours.back(), 2);
}

TEST(AutoRegister, TheOutlineOptionAddsAStraightStitchPartInThreadOne) {
  RunFixture run(FlatSquare());
  AutoRegisterSettings settings;
  settings.addOutlinePart = true;
  EXPECT_EQ(run.Go(settings), AutoRegisterResult::kOk);
  ASSERT_EQ(run.design.parts.size(), 2u);
  EXPECT_EQ(run.design.parts[1].threadCode, kOutlineThreadCode);
  EXPECT_EQ(run.design.parts[1].stitchType, 0x1409);
  // The part's mask is the outline itself, without the inversion of the drawing.
  EXPECT_EQ(BitsSet(run.design.parts[1].mask), kWidth * kHeight - BitsSet(run.design.outline) -
                                                   (CBitMask::PackedRowBytes(kWidth) * 8 - kWidth) * kHeight);
  EXPECT_EQ(run.design.generated, (std::vector<int>{0, 1}));
}

bool AnyBlack(const PixelImage& picture, int left, int top, int right, int bottom) {
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (picture.At(x, y) == platform::kPaletteBlack) return true;
    }
  }
  return false;
}

TEST(AutoRegister, AColourThatCleansBelowFiftyPixelsMakesNoPartButKeepsItsEdges) {
  PixelImage picture = FlatSquare();
  // 60 pixels: a frequent colour, but the cleaning eats its right-hand columns down to 48.
  picture.FillRect(50, 10, 60, 16, PaletteRgb(0xE0, 0, 0));
  // 144 pixels: cleaned to 120, a part.
  picture.FillRect(48, 24, 60, 36, PaletteRgb(0, 0xE0, 0));
  // The colour count includes white, which is never taken: so one round more than there are
  // frequent colours, and the largest rare colour (12 pixels) is taken too; a smaller one is not.
  picture.FillRect(44, 40, 46, 46, PaletteRgb(0, 0, 0xE0));
  picture.FillRect(2, 40, 4, 44, PaletteRgb(0xE0, 0xE0, 0));
  RunFixture run(std::move(picture));
  EXPECT_EQ(run.Go(AutoRegisterSettings{}), AutoRegisterResult::kOk);
  ASSERT_EQ(run.design.parts.size(), 2u);
  EXPECT_EQ(BitsSet(run.design.parts[1].mask), 120);
  EXPECT_TRUE(AnyBlack(run.line, 50, 10, 61, 17));   // the red patch's edges
  EXPECT_TRUE(AnyBlack(run.line, 43, 39, 47, 47));
  EXPECT_FALSE(AnyBlack(run.line, 1, 39, 5, 45));
  // At the bound: the cleaning takes two columns, so 12 x 5 keeps exactly 50 pixels and is a
  // part, while 9 x 7 keeps 49 and is not.
  for (const auto& [width, height, parts] : {std::tuple{12, 5, 2u}, std::tuple{9, 7, 1u}}) {
    PixelImage patch = FlatSquare();
    patch.FillRect(48, 24, 48 + width, 24 + height, PaletteRgb(0, 0xE0, 0));
    RunFixture bound(std::move(patch));
    EXPECT_EQ(bound.Go(AutoRegisterSettings{}), AutoRegisterResult::kOk);
    ASSERT_EQ(bound.design.parts.size(), parts) << width << " x " << height;
    if (parts == 2u) EXPECT_EQ(BitsSet(bound.design.parts[1].mask), 50);
  }
}

TEST(AutoRegister, AFailedPartEndsTheStitchingButStillStoresTheOutline) {
  PixelImage picture = FlatSquare();
  picture.FillRect(44, 8, 60, 38, PaletteRgb(0xE0, 0, 0));
  RunFixture run(std::move(picture));
  run.design.failingPart = 0;
  const AutoRegisterResult result = run.Go(AutoRegisterSettings{});
  EXPECT_EQ(result, AutoRegisterResult::kStitchFailed);
  EXPECT_EQ(run.design.parts.size(), 2u);
  EXPECT_EQ(run.design.generated, std::vector<int>{0});
  EXPECT_FALSE(run.design.outline.empty());
}

TEST(AutoRegister, ColoursPastSeventyEightPartsMakeNoPartAndTheOutlinePartKeepsItsPlace) {
  // 90 squares of distinct colours, each well over the part threshold after cleaning.
  constexpr int kCell = 16;
  PixelImage picture(10 * kCell + 8, 9 * kCell + 8, platform::kPaletteWhite);
  int drawn = 0;
  for (int r = 0; r < 7 && drawn < 90; ++r) {
    for (int g = 0; g < 7 && drawn < 90; ++g) {
      for (int b = 0; b < 7 && drawn < 90; ++b, ++drawn) {
        const int x = 4 + (drawn % 10) * kCell;
        const int y = 4 + (drawn / 10) * kCell;
        picture.FillRect(x, y, x + kCell - 2, y + kCell - 2, PaletteRgb(r * 0x20, g * 0x20, b * 0x20));
      }
    }
  }
  for (const bool outlinePart : {false, true}) {
    vtest::RecordingMessageBox boxes;
    PixelImage fill = picture;
    PixelImage line(fill.Width(), fill.Height(), platform::kPaletteWhite);
    FakeDesign design;
    AutoRegisterRun run(fill.Width(), fill.Height());
    std::atomic<bool> cancel{false};
    AutoRegisterSettings settings;
    settings.addOutlinePart = outlinePart;
    EXPECT_EQ(run.Run(fill, line, design, settings, cancel, nullptr), AutoRegisterResult::kOk);
    ASSERT_EQ(design.parts.size(), 78u);
    EXPECT_EQ(design.parts.back().stitchType, outlinePart ? kOutlineStraightStitchType : kHorizontalWeaveStitchType);
    EXPECT_EQ(design.generated.size(), 78u);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Over seventy-eight parts.\nCannot be registered.");
    EXPECT_EQ(boxes.Shown()[0].caption, "Attention");
  }
}

TEST(AutoRegister, ADesignThatTakesNoMorePartsStillGetsTheOutline) {
  vtest::RecordingMessageBox boxes;
  RunFixture run(FlatSquare());
  run.design.capacity = 0;
  AutoRegisterSettings settings;
  settings.addOutlinePart = true;
  EXPECT_EQ(run.Go(settings), AutoRegisterResult::kOk);
  EXPECT_TRUE(run.design.parts.empty());
  EXPECT_EQ(run.fill.At(10, 20), platform::kPaletteBlack);
}

TEST(AutoRegister, CancelStopsAtTheNextCancelPointAndStoresNothing) {
  // Cancelled before the run looked at anything but the colours: the design is untouched.
  {
    RunFixture run(FlatSquare());
    run.cancel = true;
    EXPECT_EQ(run.Go(AutoRegisterSettings{}), AutoRegisterResult::kCancelled);
    EXPECT_EQ(run.design.deletes, 0);
    EXPECT_TRUE(run.design.outline.empty());
    EXPECT_EQ(run.counters, std::vector<int>{1});
  }
  // Cancelled after the part was added (report 2): no outline is stored.
  {
    RunFixture run(FlatSquare());
    EXPECT_EQ(run.Go(AutoRegisterSettings{}, 2), AutoRegisterResult::kCancelled);
    EXPECT_EQ(run.design.parts.size(), 1u);
    EXPECT_TRUE(run.design.outline.empty());
  }
}

// Grain: eight colours in 4 x 4 checks, each keeping too few pixels after cleaning to make a
// part. The reports alone would not move; the stage still goes round by round to the end.
TEST(AutoRegister, TheStageMovesEveryRoundWhenNoColourMakesAPart) {
  PixelImage picture(kWidth, kHeight, platform::kPaletteWhite);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int check = (x / 2 + y / 2 * 3) % 8;
      picture.Set(x, y, PaletteRgb(static_cast<uint8_t>(check * 32), static_cast<uint8_t>(255 - check * 32), 64));
    }
  }
  RunFixture run(picture);
  std::vector<int> stages;
  run.run.SetStageProgress([&](int percent) { stages.push_back(percent); });
  EXPECT_EQ(run.Go(AutoRegisterSettings{}), AutoRegisterResult::kOk);
  EXPECT_TRUE(run.design.parts.empty());
  EXPECT_EQ(run.counters, std::vector<int>{1});
  const int colours = run.colours.back();
  ASSERT_GE(colours, 8);
  ASSERT_GE(stages.size(), static_cast<std::size_t>(colours));
  EXPECT_TRUE(std::is_sorted(stages.begin(), stages.end()));
  EXPECT_EQ(stages.front(), 0);
  EXPECT_EQ(stages[colours - 1], (colours - 1) * 50 / colours);
  EXPECT_EQ(stages.back(), 100);
}

TEST(AutoRegister, ProgressShowsHalfTheCounterOverTheColours) {
  EXPECT_EQ(FormatAutoRegisterProgress(1, 0).text, "");  // colours not known: nothing to divide by
  EXPECT_EQ(FormatAutoRegisterProgress(1, 0).percent, 0);
  const AutoRegisterProgressText progress = FormatAutoRegisterProgress(5, 4);
  EXPECT_EQ(progress.text, "2 / 4");
  EXPECT_EQ(progress.percent, 62);
}

}  // namespace
}  // namespace digitizer
